#include "platform/unicode_text.h"

#include <array>
#include <cstdint>

namespace qx::platform {
namespace {

constexpr char32_t kMaxCodePoint = 0x10FFFF;
constexpr char32_t kSurrogateFirst = 0xD800;
constexpr char32_t kLowSurrogateFirst = 0xDC00;
constexpr char32_t kSurrogateLast = 0xDFFF;

bool IsSurrogate(char32_t c) {
    return c >= kSurrogateFirst && c <= kSurrogateLast;
}
bool IsContinuation(unsigned char b) {
    return (b & 0xC0) == 0x80;
}

// One block of case mappings: every code point in [first, last] maps to itself + delta
// (stride 1), or only every second one starting at `first` maps (stride 2, upper/lower pairs).
struct FoldRange {
    char32_t first;
    char32_t last;
    int32_t delta;
    int stride;
};

constexpr std::array<FoldRange, 39> kFoldRanges{{
    {0x00B5, 0x00B5, 0x03BC - 0x00B5, 1},  // micro sign -> Greek mu
    {0x00C0, 0x00D6, 32, 1},
    {0x00D8, 0x00DE, 32, 1},
    {0x0100, 0x012F, 1, 2},
    {0x0132, 0x0137, 1, 2},
    {0x0139, 0x0148, 1, 2},
    {0x014A, 0x0177, 1, 2},
    {0x0178, 0x0178, 0x00FF - 0x0178, 1},
    {0x0179, 0x017E, 1, 2},
    {0x017F, 0x017F, 0x0073 - 0x017F, 1},  // long s -> s
    {0x0386, 0x0386, 38, 1},
    {0x0388, 0x038A, 37, 1},
    {0x038C, 0x038C, 64, 1},
    {0x038E, 0x038F, 63, 1},
    {0x0391, 0x03A1, 32, 1},
    {0x03A3, 0x03AB, 32, 1},
    {0x03C2, 0x03C2, 1, 1},  // final sigma -> sigma
    {0x0400, 0x040F, 80, 1},
    {0x0410, 0x042F, 32, 1},
    {0x0460, 0x0481, 1, 2},
    {0x048A, 0x04BF, 1, 2},
    {0x04C0, 0x04C0, 15, 1},
    {0x04C1, 0x04CE, 1, 2},
    {0x04D0, 0x052F, 1, 2},
    {0x0531, 0x0556, 48, 1},
    {0x1E00, 0x1E95, 1, 2},
    {0x1E9E, 0x1E9E, 0x00DF - 0x1E9E, 1},  // capital sharp s -> sharp s
    {0x1EA0, 0x1EFF, 1, 2},
    {0x1F08, 0x1F0F, -8, 1},
    {0x1F18, 0x1F1D, -8, 1},
    {0x1F28, 0x1F2F, -8, 1},
    {0x1F38, 0x1F3F, -8, 1},
    {0x1F48, 0x1F4D, -8, 1},
    {0x1F68, 0x1F6F, -8, 1},
    {0x2160, 0x216F, 16, 1},    // Roman numerals
    {0x24B6, 0x24CF, 26, 1},    // circled letters
    {0x2C00, 0x2C2F, 48, 1},    // Glagolitic
    {0xFF21, 0xFF3A, 32, 1},    // full-width Latin
    {0x10400, 0x10427, 40, 1},  // Deseret
}};

}  // namespace

char32_t DecodeUtf8(std::string_view text, std::size_t& pos) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    if (lead < 0x80) {
        ++pos;
        return lead;
    }
    std::size_t length = 0;
    char32_t c = 0;
    char32_t minimum = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        c = lead & 0x1Fu;
        minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        c = lead & 0x0Fu;
        minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        c = lead & 0x07u;
        minimum = 0x10000;
    } else {
        ++pos;
        return kReplacementCharacter;
    }
    if (text.size() - pos < length) {
        ++pos;
        return kReplacementCharacter;
    }
    for (std::size_t i = 1; i < length; ++i) {
        const auto b = static_cast<unsigned char>(text[pos + i]);
        if (!IsContinuation(b)) {
            ++pos;
            return kReplacementCharacter;
        }
        c = (c << 6) | (b & 0x3Fu);
    }
    if (c < minimum || c > kMaxCodePoint || IsSurrogate(c)) {
        ++pos;
        return kReplacementCharacter;
    }
    pos += length;
    return c;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c > kMaxCodePoint || IsSurrogate(c)) {
        c = kReplacementCharacter;
    }
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

std::size_t Utf16Length(std::string_view utf8) {
    std::size_t units = 0;
    for (std::size_t pos = 0; pos < utf8.size();) {
        units += Utf16UnitsOf(DecodeUtf8(utf8, pos));
    }
    return units;
}

std::string CutToUtf16Units(std::string_view utf8, std::size_t maxUnits) {
    std::string out;
    out.reserve(utf8.size() < maxUnits * 3 ? utf8.size() : maxUnits * 3);
    std::size_t units = 0;
    for (std::size_t pos = 0; pos < utf8.size();) {
        const char32_t c = DecodeUtf8(utf8, pos);
        units += Utf16UnitsOf(c);
        if (units > maxUnits) {
            break;
        }
        AppendUtf8(out, c);
    }
    return out;
}

std::string Utf16ToUtf8(std::u16string_view utf16) {
    std::string out;
    out.reserve(utf16.size());
    for (std::size_t i = 0; i < utf16.size(); ++i) {
        char32_t c = utf16[i];
        if (c >= kSurrogateFirst && c < kLowSurrogateFirst && i + 1 < utf16.size() &&
            utf16[i + 1] >= kLowSurrogateFirst && utf16[i + 1] <= kSurrogateLast) {
            c = 0x10000 + ((c - kSurrogateFirst) << 10) + (utf16[i + 1] - kLowSurrogateFirst);
            ++i;
        }
        AppendUtf8(out, c);  // a lone surrogate becomes U+FFFD
    }
    return out;
}

std::u16string Utf8ToUtf16(std::string_view utf8) {
    std::u16string out;
    out.reserve(utf8.size());
    for (std::size_t pos = 0; pos < utf8.size();) {
        const char32_t c = DecodeUtf8(utf8, pos);
        if (c > 0xFFFF) {
            const char32_t v = c - 0x10000;
            out.push_back(static_cast<char16_t>(kSurrogateFirst + (v >> 10)));
            out.push_back(static_cast<char16_t>(kLowSurrogateFirst + (v & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(c));
        }
    }
    return out;
}

char32_t FoldCase(char32_t c) {
    if (c < 0x80) {
        return (c >= 'A' && c <= 'Z') ? c + 32 : c;
    }
    for (const FoldRange& range : kFoldRanges) {
        if (c < range.first) {
            break;  // the table is sorted
        }
        if (c <= range.last) {
            if (range.stride == 2 && (c - range.first) % 2 != 0) {
                return c;
            }
            return static_cast<char32_t>(static_cast<int32_t>(c) + range.delta);
        }
    }
    return c;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        if (FoldCase(DecodeUtf8(a, i)) != FoldCase(DecodeUtf8(b, j))) {
            return false;
        }
    }
    return i == a.size() && j == b.size();
}

}  // namespace qx::platform
