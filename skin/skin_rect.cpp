#include "skin/skin_rect.h"

#include <array>
#include <climits>
#include <cstdint>

namespace qx::skin {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Reads one optionally signed decimal number at `pos`; false when there is none.
bool ReadNumber(std::string_view text, std::size_t& pos, int& out) {
    while (pos < text.size() && IsBlank(text[pos])) {
        ++pos;
    }
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    if (pos >= text.size() || !IsDigit(text[pos])) {
        return false;
    }
    constexpr std::int64_t kLimit = static_cast<std::int64_t>(INT_MAX) + 1;
    std::int64_t value = 0;
    while (pos < text.size() && IsDigit(text[pos])) {
        if (value < kLimit) {
            value = value * 10 + (text[pos] - '0');
        }
        ++pos;
    }
    if (negative) {
        value = -value;
    }
    if (value > INT_MAX) {
        value = INT_MAX;
    }
    if (value < INT_MIN) {
        value = INT_MIN;
    }
    out = static_cast<int>(value);
    return true;
}

}  // namespace

SkinRect ParseSkinRect(std::string_view text) {
    std::array<int, 4> numbers{kMissingNumber, kMissingNumber, kMissingNumber, kMissingNumber};
    std::size_t pos = 0;
    int parsed = 0;
    for (int& number : numbers) {
        if (parsed > 0) {
            if (pos >= text.size() || text[pos] != ',') {
                break;
            }
            ++pos;
        }
        if (!ReadNumber(text, pos, number)) {
            break;
        }
        ++parsed;
    }
    SkinRect rect{numbers[0], numbers[1], numbers[2], numbers[3], parsed};
    return rect;
}

std::string FormatSkinRect(int x, int y, int w, int h) {
    return std::to_string(x) + "," + std::to_string(y) + "," + std::to_string(w) + "," +
           std::to_string(h);
}

}  // namespace qx::skin
