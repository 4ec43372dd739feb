// Small Unicode helpers for the Qt-free layers: UTF-8 and UTF-16 conversion, the length of a text
// in UTF-16 units (the unit every Windows-born limit of the file formats counts in), cutting a
// text at such a limit without splitting a character, and case folding for matching names.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace qx::platform {

inline constexpr char32_t kReplacementCharacter = 0xFFFD;

// Decodes one code point of UTF-8 at text[pos] and advances pos. An invalid or truncated
// sequence yields U+FFFD and advances by one byte, so every input makes progress.
char32_t DecodeUtf8(std::string_view text, std::size_t& pos);

// Appends the UTF-8 form of `c` (a surrogate or a value above U+10FFFF becomes U+FFFD).
void AppendUtf8(std::string& out, char32_t c);

// Number of UTF-16 units of `c`: 2 above U+FFFF, else 1.
constexpr std::size_t Utf16UnitsOf(char32_t c) {
    return c > 0xFFFF ? 2 : 1;
}

// Length of a UTF-8 text in UTF-16 units.
std::size_t Utf16Length(std::string_view utf8);

// The longest prefix of `utf8` that takes at most `maxUnits` UTF-16 units; never ends inside a
// character. Invalid bytes are replaced by U+FFFD, so the result is always valid UTF-8.
std::string CutToUtf16Units(std::string_view utf8, std::size_t maxUnits);

std::string Utf16ToUtf8(std::u16string_view utf16);
std::u16string Utf8ToUtf16(std::string_view utf8);

// Simple case folding (the one-to-one mappings) for ASCII, Latin-1, Latin Extended-A, Greek,
// Cyrillic, Armenian and the full-width Latin letters; other characters fold to themselves.
char32_t FoldCase(char32_t c);

// True when both UTF-8 texts are equal after case folding.
bool EqualsIgnoringCase(std::string_view a, std::string_view b);

}  // namespace qx::platform
