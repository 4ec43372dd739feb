#include "keyboard/text_format.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace qx::keyboard {
namespace {

constexpr int kMaxFieldWidth = 64;
constexpr std::string_view kFlagChars = "-+ #0";
constexpr std::string_view kLengthChars = "hlLqjztwI3264";
constexpr std::string_view kIntegerConversions = "diuxXo";

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Reads a run of digits at `pos`, capped at kMaxFieldWidth.
int ReadNumber(std::string_view s, std::size_t& pos) {
    int number = 0;
    while (pos < s.size() && IsDigit(s[pos])) {
        number = std::min(kMaxFieldWidth, number * 10 + (s[pos] - '0'));
        ++pos;
    }
    return number;
}

struct Conversion {
    std::string flags;
    int width = -1;
    int precision = -1;
    char conversion = '\0';
    std::size_t end = 0;  // position after the conversion character
};

// Parses the conversion that starts with the '%' at `start`.
Conversion ParseConversion(std::string_view format, std::size_t start) {
    Conversion c;
    std::size_t pos = start + 1;
    while (pos < format.size() && kFlagChars.find(format[pos]) != std::string_view::npos) {
        if (c.flags.find(format[pos]) == std::string::npos) {
            c.flags += format[pos];
        }
        ++pos;
    }
    if (pos < format.size() && IsDigit(format[pos])) {
        c.width = ReadNumber(format, pos);
    }
    if (pos < format.size() && format[pos] == '.') {
        ++pos;
        c.precision = ReadNumber(format, pos);
    }
    while (pos < format.size() && kLengthChars.find(format[pos]) != std::string_view::npos) {
        ++pos;
    }
    if (pos < format.size()) {
        c.conversion = format[pos];
        ++pos;
    }
    c.end = pos;
    return c;
}

std::string FormatInteger(const Conversion& c, unsigned value) {
    std::string flags = c.flags;
    if (c.conversion == 'd' || c.conversion == 'i' || c.conversion == 'u') {
        std::erase(flags, '#');  // the alternate form exists only for o, x and X
    }
    std::string spec = "%" + flags;
    if (c.width >= 0) {
        spec += std::to_string(c.width);
    }
    if (c.precision >= 0) {
        spec += "." + std::to_string(c.precision);
    }
    spec += c.conversion;
    std::array<char, 2 * kMaxFieldWidth + 32> buffer{};
    // The specification was rebuilt above from checked flags, numbers and one integer conversion.
    const int written = std::snprintf(buffer.data(), buffer.size(), spec.c_str(), value);
    if (written <= 0) {
        return {};
    }
    return std::string(buffer.data(), std::min<std::size_t>(written, buffer.size() - 1));
}

}  // namespace

std::string FormatWithNumber(std::string_view format, unsigned value) {
    std::string out;
    bool valueUsed = false;
    std::size_t pos = 0;
    while (pos < format.size()) {
        const std::size_t percent = format.find('%', pos);
        if (percent == std::string_view::npos) {
            out.append(format.substr(pos));
            break;
        }
        out.append(format.substr(pos, percent - pos));
        if (percent + 1 < format.size() && format[percent + 1] == '%') {
            out += '%';
            pos = percent + 2;
            continue;
        }
        const Conversion c = ParseConversion(format, percent);
        const bool isInteger = c.conversion != '\0' &&
                               kIntegerConversions.find(c.conversion) != std::string_view::npos;
        if (isInteger && !valueUsed) {
            out += FormatInteger(c, value);
            valueUsed = true;
        } else {
            out.append(format.substr(percent, c.end - percent));
        }
        pos = c.end;
    }
    return out;
}

std::string CutToUnits(std::string_view text, std::size_t maxUnits) {
    std::size_t units = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const auto lead = static_cast<unsigned char>(text[pos]);
        std::size_t bytes = 1;
        if (lead >= 0xF0) {
            bytes = 4;
        } else if (lead >= 0xE0) {
            bytes = 3;
        } else if (lead >= 0xC0) {
            bytes = 2;
        }
        const std::size_t charUnits = bytes == 4 ? 2 : 1;
        if (units + charUnits > maxUnits || pos + bytes > text.size()) {
            break;
        }
        units += charUnits;
        pos += bytes;
    }
    return std::string(text.substr(0, pos));
}

}  // namespace qx::keyboard
