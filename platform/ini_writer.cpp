#include <string>

#include "platform/file_bytes.h"
#include "platform/file_replace.h"
#include "platform/ini_file.h"
#include "platform/ini_read_cache.h"
#include "platform/ini_scanner.h"

namespace qx::platform {
namespace {

using ini_detail::FileEncoding;

bool HasLineBreak(std::string_view text) {
    return text.find_first_of("\r\n") != text.npos;
}

// A name that would read back differently once the reader trims its blanks.
bool IsPadded(std::string_view name) {
    return ini_detail::IsBlank(static_cast<unsigned char>(name.front())) ||
           ini_detail::IsBlank(static_cast<unsigned char>(name.back()));
}

bool IsWritableSection(std::string_view section) {
    return !section.empty() && !IsPadded(section) && !HasLineBreak(section) &&
           section.find(']') == section.npos;
}

bool IsWritableKey(std::string_view key) {
    return !key.empty() && !IsPadded(key) && !HasLineBreak(key) && key.find('=') == key.npos &&
           key.front() != ';' && key.front() != '[';
}

bool NeedsQuotes(std::string_view value) {
    if (value.empty()) {
        return false;
    }
    const bool padded = ini_detail::IsBlank(static_cast<unsigned char>(value.front())) ||
                        ini_detail::IsBlank(static_cast<unsigned char>(value.back()));
    const bool quoted = value.size() >= 2 && value.front() == '"' && value.back() == '"';
    return padded || quoted;
}

std::string FormatValue(std::string_view value) {
    if (NeedsQuotes(value)) {
        return '"' + std::string(value) + '"';
    }
    return std::string(value);
}

// The file's text as UTF-8 (BOM removed) and whether a UTF-8 BOM is to be written back.
bool LoadExisting(const std::string& path, std::string& text, bool& keepBom) {
    std::string bytes;
    const ReadResult read = ReadFileBytes(path, bytes);
    if (read == ReadResult::Missing) {
        return true;
    }
    if (read == ReadResult::Failed) {
        return false;  // never replace a file that exists but cannot be read
    }
    std::size_t bom = 0;
    const FileEncoding encoding = ini_detail::DetectEncoding(bytes, bom);
    std::string_view body(bytes);
    body.remove_prefix(bom);
    if (encoding == FileEncoding::Utf8) {
        keepBom = bom != 0;
        text.assign(body);
        return true;
    }
    const ini_detail::Utf16Units units(body, encoding == FileEncoding::Utf16BE);
    text = ini_detail::ExtractUtf8(units, 0, units.size(), units.size() * 2);
    return true;
}

std::string LineEndOf(std::string_view text) {
    const auto newline = text.find('\n');
    if (newline != text.npos && newline > 0 && text[newline - 1] == '\r') {
        return "\r\n";
    }
    return "\n";
}

std::string WithValue(std::string text, std::string_view section, std::string_view key,
                      std::string_view value) {
    const std::string eol = LineEndOf(text);
    const ini_detail::Utf8Units units(text);
    const ini_detail::IniMatch match = ini_detail::ScanIni(units, section, key);
    if (match.keyFound) {
        // Keep the key as the file spells it and whatever surrounds the line.
        std::string line = text.substr(match.keyBegin, match.keyEnd - match.keyBegin);
        line += '=';
        line += FormatValue(value);
        text.replace(match.lineBegin, match.lineEnd - match.lineBegin, line);
        return text;
    }
    std::string line = std::string(key) + '=' + FormatValue(value) + eol;
    if (match.sectionFound) {
        if (match.insertNeedsNewline) {
            line.insert(0, eol);
        }
        text.insert(match.insertAt, line);
        return text;
    }
    if (!text.empty() && text.back() != '\n') {
        text += eol;
    }
    text += '[';
    text += section;
    text += ']';
    text += eol;
    text += line;
    return text;
}

}  // namespace

bool WriteIniString(const std::string& path, std::string_view section, std::string_view key,
                    std::string_view value) {
    if (!IsWritableSection(section) || !IsWritableKey(key) || HasLineBreak(value)) {
        return false;
    }
    std::string text;
    bool keepBom = false;
    if (!LoadExisting(path, text, keepBom)) {
        return false;
    }
    std::string content = WithValue(std::move(text), section, key, value);
    if (keepBom) {
        content.insert(0, "\xEF\xBB\xBF");
    }
    ini_detail::ForgetCachedIniFile(path);
    return static_cast<bool>(ReplaceFile(path, content));
}

}  // namespace qx::platform
