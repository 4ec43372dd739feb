#include "platform/ini_index.h"

#include <algorithm>
#include <string_view>
#include <utility>

#include "platform/unicode_text.h"

namespace qx::platform::ini_detail {
namespace {

// A byte no UTF-8 text holds: joins a section name and a key name in one index key.
constexpr char kNameJoint = '\xFF';

void AppendFoldedChar(char32_t c, std::string& out) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(FoldCase(c)));
    } else {
        AppendUtf8(out, FoldCase(c));
    }
}

template <class Units>
void AppendFolded(const Units& units, std::size_t begin, std::size_t end, std::string& out) {
    while (begin < end) {
        AppendFoldedChar(units.Decode(begin, end), out);
    }
}

void AppendFolded(std::string_view name, std::string& out) {
    std::size_t i = 0;
    while (i < name.size()) {
        AppendFoldedChar(DecodeUtf8(name, i), out);
    }
}

// The section name of a well-formed "[name]" line (begin points at '['), as ScanIni reads it.
template <class Units>
std::optional<std::string> HeaderName(const Units& units, std::size_t begin, std::size_t end) {
    std::size_t close = end;
    while (close > begin + 1 && units.Unit(close - 1) != ']') {
        --close;
    }
    if (close <= begin + 1) {
        return std::nullopt;
    }
    std::size_t nameBegin = begin + 1;
    std::size_t nameEnd = close - 1;
    Trim(units, nameBegin, nameEnd);
    std::string name;
    AppendFolded(units, nameBegin, nameEnd, name);
    return name;
}

}  // namespace

IniIndex::IniIndex(std::string bytes) : bytes_(std::move(bytes)) {
    encoding_ = DetectEncoding(bytes_, bomLength_);
    const std::string_view text = std::string_view(bytes_).substr(bomLength_);
    if (encoding_ == FileEncoding::Utf8) {
        Build(Utf8Units(text));
    } else {
        Build(Utf16Units(text, encoding_ == FileEncoding::Utf16BE));
    }
}

// The lines as ScanIni walks them. A section seen before keeps its first keys: ScanIni stops at
// the end of a section's first occurrence.
template <class Units>
void IniIndex::Build(const Units& units) {
    std::unordered_map<std::string, bool> sections;
    std::optional<std::string> section;  // the section whose keys count, if any
    const std::size_t size = units.size();
    std::size_t pos = 0;
    while (pos < size) {
        const std::size_t newline = units.FindNewline(pos);
        std::size_t begin = pos;
        std::size_t end = newline;
        pos = newline < size ? newline + 1 : size;
        Trim(units, begin, end);
        if (begin == end) {
            continue;
        }
        const char32_t first = units.Unit(begin);
        if (first == '[') {
            if (std::optional<std::string> name = HeaderName(units, begin, end)) {
                const bool firstTime = sections.emplace(*name, true).second;
                section = firstTime ? std::move(name) : std::nullopt;
            }
            continue;
        }
        if (!section || first == ';') {
            continue;
        }
        std::size_t equals = begin;
        while (equals < end && units.Unit(equals) != '=') {
            ++equals;
        }
        if (equals == end) {
            continue;
        }
        IniMatch match;
        TakeKeyLine(units, begin, equals, end, match);
        if (match.keyBegin == match.keyEnd) {
            continue;  // no lookup names an empty key
        }
        std::string name = *section;
        name.push_back(kNameJoint);
        AppendFolded(units, match.keyBegin, match.keyEnd, name);
        values_.emplace(std::move(name), Value{match.valueBegin, match.valueEnd});
    }
}

template <class Units>
std::optional<std::string> IniIndex::Extract(const Units& units, const Value& value,
                                             std::size_t bufferChars) const {
    return ExtractUtf8(units, value.begin, value.end, bufferChars == 0 ? 0 : bufferChars - 1);
}

// Most values are ASCII: one UTF-16 unit per byte, copied as they stand.
template <>
std::optional<std::string> IniIndex::Extract(const Utf8Units& units, const Value& value,
                                             std::size_t bufferChars) const {
    const std::string_view text =
        std::string_view(bytes_).substr(bomLength_ + value.begin, value.end - value.begin);
    const bool ascii = std::all_of(text.begin(), text.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (!ascii) {
        return ExtractUtf8(units, value.begin, value.end, bufferChars == 0 ? 0 : bufferChars - 1);
    }
    return std::string(text.substr(0, bufferChars == 0 ? 0 : bufferChars - 1));
}

std::optional<std::string> IniIndex::Find(std::string_view section, std::string_view key,
                                          std::size_t bufferChars) const {
    if (key.empty()) {
        return std::nullopt;
    }
    // One buffer per thread: a lookup allocates nothing once it has grown.
    thread_local std::string name;
    name.clear();
    AppendFolded(section, name);
    name.push_back(kNameJoint);
    AppendFolded(key, name);
    const auto found = values_.find(name);
    if (found == values_.end()) {
        return std::nullopt;
    }
    const std::string_view text = std::string_view(bytes_).substr(bomLength_);
    if (encoding_ == FileEncoding::Utf8) {
        return Extract(Utf8Units(text), found->second, bufferChars);
    }
    return Extract(Utf16Units(text, encoding_ == FileEncoding::Utf16BE), found->second,
                   bufferChars);
}

}  // namespace qx::platform::ini_detail
