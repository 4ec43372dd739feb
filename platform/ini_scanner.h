// The one-pass INI scanner shared by the reader and the writer. It walks the file's code units
// once, line by line, without building a map and without allocating, and reports where the
// wanted section and key are. Works on UTF-8 bytes and on UTF-16 units (either byte order):
// every character that gives an INI line its shape ('[', ']', '=', ';', blanks, line ends) is
// ASCII, so lines are split on code units and only names and values are decoded.
#pragma once

#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

#include "platform/unicode_text.h"

namespace qx::platform::ini_detail {

inline constexpr char32_t kNewline = '\n';

// The code units of a UTF-8 file.
class Utf8Units {
  public:
    explicit Utf8Units(std::string_view bytes) : bytes_(bytes) {}
    std::size_t size() const { return bytes_.size(); }
    char32_t Unit(std::size_t i) const { return static_cast<unsigned char>(bytes_[i]); }
    std::size_t FindNewline(std::size_t from) const {
        const void* hit = std::memchr(bytes_.data() + from, '\n', bytes_.size() - from);
        return hit == nullptr
                   ? bytes_.size()
                   : static_cast<std::size_t>(static_cast<const char*>(hit) - bytes_.data());
    }
    char32_t Decode(std::size_t& i, std::size_t end) const {
        return DecodeUtf8(bytes_.substr(0, end), i);
    }

  private:
    std::string_view bytes_;
};

// The code units of a UTF-16 file (without its byte-order mark).
class Utf16Units {
  public:
    Utf16Units(std::string_view bytes, bool bigEndian)
        : data_(reinterpret_cast<const unsigned char*>(bytes.data())),
          units_(bytes.size() / 2),
          high_(bigEndian ? 0 : 1) {}
    std::size_t size() const { return units_; }
    char32_t Unit(std::size_t i) const {
        return static_cast<char32_t>(data_[2 * i + high_] << 8 | data_[2 * i + (1 - high_)]);
    }
    std::size_t FindNewline(std::size_t from) const {
        while (from < units_ && Unit(from) != kNewline) {
            ++from;
        }
        return from;
    }
    char32_t Decode(std::size_t& i, std::size_t end) const {
        const char32_t c = Unit(i++);
        if (c >= 0xD800 && c < 0xDC00 && i < end) {
            const char32_t low = Unit(i);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                ++i;
                return 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
            }
        }
        return (c >= 0xD800 && c <= 0xDFFF) ? kReplacementCharacter : c;
    }

  private:
    const unsigned char* data_;
    std::size_t units_;
    std::size_t high_;  // offset of the high byte within a unit
};

inline bool IsBlank(char32_t c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

// Where the scan found things, in code units of the scanned text.
struct IniMatch {
    bool sectionFound = false;
    bool keyFound = false;
    std::size_t lineBegin = 0;  // the key's line, without its line end
    std::size_t lineEnd = 0;
    std::size_t valueBegin = 0;  // the value, blanks trimmed and surrounding quotes removed
    std::size_t valueEnd = 0;
    std::size_t keyBegin = 0;  // the key as the file spells it
    std::size_t keyEnd = 0;
    // Just after the last non-blank line of the found section: where a new key goes.
    std::size_t insertAt = 0;
    bool insertNeedsNewline = false;  // that line is the file's last and has no line end
};

constexpr char32_t AsciiLower(char32_t c) {
    return (c >= 'A' && c <= 'Z') ? c + 32 : c;
}

template <class Units>
bool NameMatches(const Units& units, std::size_t begin, std::size_t end, std::string_view name) {
    std::size_t j = 0;
    while (begin < end && j < name.size()) {
        const char32_t unit = units.Unit(begin);
        const auto nameByte = static_cast<unsigned char>(name[j]);
        if (unit < 0x80 && nameByte < 0x80) {  // the usual case: ASCII names
            if (AsciiLower(unit) != AsciiLower(nameByte)) {
                return false;
            }
            ++begin;
            ++j;
            continue;
        }
        const char32_t fileChar = units.Decode(begin, end);
        const char32_t nameChar = DecodeUtf8(name, j);
        if (fileChar != nameChar && FoldCase(fileChar) != FoldCase(nameChar)) {
            return false;
        }
    }
    return begin == end && j == name.size();
}

template <class Units>
void Trim(const Units& units, std::size_t& begin, std::size_t& end) {
    while (begin < end && IsBlank(units.Unit(begin))) {
        ++begin;
    }
    while (end > begin && IsBlank(units.Unit(end - 1))) {
        --end;
    }
}

// Looks at a "[name]" line (begin points at '['); true when it names `section`. A line without
// a closing bracket is not a section header.
template <class Units>
bool IsHeaderOf(const Units& units, std::size_t begin, std::size_t end, std::string_view section,
                bool& wellFormed) {
    std::size_t close = end;
    while (close > begin + 1 && units.Unit(close - 1) != ']') {
        --close;
    }
    wellFormed = close > begin + 1;
    if (!wellFormed) {
        return false;
    }
    std::size_t nameBegin = begin + 1;
    std::size_t nameEnd = close - 1;
    Trim(units, nameBegin, nameEnd);
    return NameMatches(units, nameBegin, nameEnd, section);
}

// Records the key line [begin, end) with its '=' at `equals` into `match`.
template <class Units>
void TakeKeyLine(const Units& units, std::size_t begin, std::size_t equals, std::size_t end,
                 IniMatch& match) {
    match.keyFound = true;
    match.lineBegin = begin;
    match.lineEnd = end;
    match.keyBegin = begin;
    match.keyEnd = equals;
    Trim(units, match.keyBegin, match.keyEnd);
    std::size_t valueBegin = equals + 1;
    std::size_t valueEnd = end;
    Trim(units, valueBegin, valueEnd);
    if (valueEnd - valueBegin >= 2 && units.Unit(valueBegin) == '"' &&
        units.Unit(valueEnd - 1) == '"') {
        ++valueBegin;
        --valueEnd;
    }
    match.valueBegin = valueBegin;
    match.valueEnd = valueEnd;
}

// One pass over the text. Only the first section whose name matches is searched, and within it
// the first key whose name matches, both without regard to case. Comment lines start with ';';
// lines that are neither a header nor "key = value" are skipped.
template <class Units>
IniMatch ScanIni(const Units& units, std::string_view section, std::string_view key) {
    IniMatch match;
    bool inSection = false;
    const std::size_t size = units.size();
    std::size_t pos = 0;
    while (pos < size) {
        const std::size_t newline = units.FindNewline(pos);
        const std::size_t next = newline < size ? newline + 1 : size;
        std::size_t begin = pos;
        std::size_t end = newline;
        Trim(units, begin, end);
        pos = next;
        if (begin == end) {
            continue;
        }
        const char32_t first = units.Unit(begin);
        if (first == '[') {
            bool wellFormed = false;
            const bool matches = IsHeaderOf(units, begin, end, section, wellFormed);
            if (inSection && wellFormed) {
                break;  // the found section ended without the key
            }
            if (matches) {
                inSection = true;
                match.sectionFound = true;
                match.insertAt = next;
                match.insertNeedsNewline = newline == size;
            }
            continue;
        }
        if (!inSection) {
            continue;
        }
        match.insertAt = next;
        match.insertNeedsNewline = newline == size;
        if (first == ';') {
            continue;
        }
        std::size_t equals = begin;
        while (equals < end && units.Unit(equals) != '=') {
            ++equals;
        }
        if (equals == end) {
            continue;  // not a key line
        }
        std::size_t keyEnd = equals;
        Trim(units, begin, keyEnd);
        if (!key.empty() && NameMatches(units, begin, keyEnd, key)) {
            TakeKeyLine(units, begin, equals, end, match);
            return match;
        }
    }
    return match;
}

// The text [begin, end) as UTF-8, at most maxUnits UTF-16 units, never cut inside a character.
template <class Units>
std::string ExtractUtf8(const Units& units, std::size_t begin, std::size_t end,
                        std::size_t maxUnits) {
    std::string out;
    std::size_t taken = 0;
    while (begin < end) {
        const char32_t c = units.Decode(begin, end);
        taken += Utf16UnitsOf(c);
        if (taken > maxUnits) {
            break;
        }
        AppendUtf8(out, c);
    }
    return out;
}

enum class FileEncoding { Utf8, Utf16LE, Utf16BE };

// The encoding a byte-order mark announces (UTF-8 without one) and the mark's length.
FileEncoding DetectEncoding(std::string_view bytes, std::size_t& bomLength);

}  // namespace qx::platform::ini_detail
