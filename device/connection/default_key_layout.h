// The default key layout: which key sits at which of the keyboard's 108 layout positions, as the
// key action the factory puts there. Attach replaces it by the layout the keyboard reports; until
// then, and whenever that read fails, the built-in copy below stands in.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "device/link/command_table.h"

namespace qx::device {

inline constexpr std::size_t kKeyActionSize = 3;
inline constexpr std::size_t kLayoutPositions = kKeyLayoutSize / kKeyActionSize;  // 108

using KeyLayout = std::array<uint8_t, kKeyLayoutSize>;

namespace detail {

// Key actions in hexadecimal, three bytes each, positions in ascending order.
// clang-format off
inline constexpr std::string_view kBuiltInLayoutText =
    "050000 050000 050000 050000 050000 050000 000000 000000 "  // 0..7
    "020229 020235 02022B 020239 020102 020101 000000 000000 "  // 8..15
    "02023A 02021E 020214 020204 02021D 020108 000000 000000 "  // 16..23
    "02023B 02021F 02021A 020216 02021B 020104 000000 000000 "  // 24..31
    "02023C 020220 020208 020207 020206 02022C 020246 000000 "  // 32..39
    "02023D 020221 020215 020209 020219 020140 020247 000000 "  // 40..47
    "02023E 020222 020217 02020A 020205 050202 02022E 000000 "  // 48..55
    "02023F 020223 02021C 02020B 020211 020265 020248 000000 "  // 56..63
    "020240 020224 020218 02020D 020210 020110 020249 000000 "  // 64..71
    "020241 020225 02020C 02020E 020236 020250 02024A 000000 "  // 72..79
    "020242 020226 020212 02020F 020237 020251 02024B 000000 "  // 80..87
    "020243 020227 020213 020233 020238 020252 02024C 000000 "  // 88..95
    "020244 02022D 02022F 020234 020120 02024F 02024D 000000 "  // 96..103
    "020245 02022E 020230 020231";  // 104..107
// clang-format on

constexpr uint8_t HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return static_cast<uint8_t>(c - '0');
    }
    if (c >= 'A' && c <= 'F') {
        return static_cast<uint8_t>(c - 'A' + 10);
    }
    if (c >= 'a' && c <= 'f') {
        return static_cast<uint8_t>(c - 'a' + 10);
    }
    throw "not a hexadecimal digit";  // stops the compilation of a mistyped table
}

constexpr KeyLayout ParseLayout(std::string_view text) {
    constexpr std::size_t kDigitsPerAction = 2 * kKeyActionSize;
    KeyLayout layout{};
    std::size_t filled = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        if (text[pos] == ' ') {
            ++pos;
            continue;
        }
        const std::size_t end = std::min(text.find(' ', pos), text.size());
        if (end - pos != kDigitsPerAction || filled + kKeyActionSize > layout.size()) {
            throw "a key action is six hexadecimal digits, 108 of them";
        }
        for (std::size_t i = 0; i < kKeyActionSize; ++i, pos += 2) {
            layout[filled++] =
                static_cast<uint8_t>(HexDigit(text[pos]) * 16 + HexDigit(text[pos + 1]));
        }
    }
    if (filled != layout.size()) {
        throw "too few key actions";
    }
    return layout;
}

}  // namespace detail

// The built-in default key layout (324 bytes).
inline constexpr KeyLayout kBuiltInDefaultLayout = detail::ParseLayout(detail::kBuiltInLayoutText);

}  // namespace qx::device
