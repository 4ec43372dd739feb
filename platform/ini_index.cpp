#include "platform/ini_index.h"

#include <string_view>
#include <utility>

#include "platform/unicode_text.h"

namespace qx::platform::ini_detail {
namespace {

// Beyond the last code point: joins a section name and a key name in one index key.
constexpr char32_t kNameJoint = 0x110000;

template <class Units>
void AppendFolded(const Units& units, std::size_t begin, std::size_t end, std::u32string& out) {
    while (begin < end) {
        out.push_back(FoldCase(units.Decode(begin, end)));
    }
}

void AppendFolded(std::string_view name, std::u32string& out) {
    std::size_t i = 0;
    while (i < name.size()) {
        out.push_back(FoldCase(DecodeUtf8(name, i)));
    }
}

// The section name of a well-formed "[name]" line (begin points at '['), as ScanIni reads it.
template <class Units>
std::optional<std::u32string> HeaderName(const Units& units, std::size_t begin, std::size_t end) {
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
    std::u32string name;
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
    std::unordered_map<std::u32string, bool> sections;
    std::optional<std::u32string> section;  // the section whose keys count, if any
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
            if (std::optional<std::u32string> name = HeaderName(units, begin, end)) {
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
        std::u32string name = *section;
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

std::optional<std::string> IniIndex::Find(std::string_view section, std::string_view key,
                                          std::size_t bufferChars) const {
    if (key.empty()) {
        return std::nullopt;
    }
    std::u32string name;
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
