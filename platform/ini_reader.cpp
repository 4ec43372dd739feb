#include <optional>
#include <string>
#include <utility>

#include "platform/file_bytes.h"
#include "platform/ini_file.h"
#include "platform/ini_read_cache.h"
#include "platform/ini_scanner.h"

namespace qx::platform {
namespace ini_detail {

FileEncoding DetectEncoding(std::string_view bytes, std::size_t& bomLength) {
    if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") {
        bomLength = 3;
        return FileEncoding::Utf8;
    }
    if (bytes.size() >= 2 && bytes.substr(0, 2) == "\xFF\xFE") {
        bomLength = 2;
        return FileEncoding::Utf16LE;
    }
    if (bytes.size() >= 2 && bytes.substr(0, 2) == "\xFE\xFF") {
        bomLength = 2;
        return FileEncoding::Utf16BE;
    }
    bomLength = 0;
    return FileEncoding::Utf8;
}

}  // namespace ini_detail

namespace {

using ini_detail::FileEncoding;

// A reading thread keeps a buffer up to this size between calls; larger ones are given back.
constexpr std::size_t kRetainedBufferBytes = std::size_t{1024} * 1024;

template <class Units>
std::optional<std::string> Lookup(const Units& units, std::string_view section,
                                  std::string_view key, std::size_t maxUnits) {
    const ini_detail::IniMatch match = ini_detail::ScanIni(units, section, key);
    if (!match.keyFound) {
        return std::nullopt;
    }
    return ini_detail::ExtractUtf8(units, match.valueBegin, match.valueEnd, maxUnits);
}

}  // namespace

std::optional<std::string> FindIniValue(std::string_view fileBytes, std::string_view section,
                                        std::string_view key, std::size_t bufferChars) {
    if (key.empty()) {
        return std::nullopt;
    }
    const std::size_t maxUnits = bufferChars == 0 ? 0 : bufferChars - 1;
    std::size_t bom = 0;
    const FileEncoding encoding = ini_detail::DetectEncoding(fileBytes, bom);
    fileBytes.remove_prefix(bom);
    if (encoding == FileEncoding::Utf8) {
        return Lookup(ini_detail::Utf8Units(fileBytes), section, key, maxUnits);
    }
    return Lookup(ini_detail::Utf16Units(fileBytes, encoding == FileEncoding::Utf16BE), section,
                  key, maxUnits);
}

namespace {

std::optional<std::string> ReadFromFile(const std::string& path, std::string_view section,
                                        std::string_view key, std::size_t bufferChars) {
    // Outside a read scope the file is read again for every text, so each thread keeps its
    // buffer.
    thread_local std::string fileBytes;
    std::optional<std::string> value;
    if (ReadFileBytes(path, fileBytes) == ReadResult::Ok) {
        value = FindIniValue(fileBytes, section, key, bufferChars);
    }
    if (fileBytes.capacity() > kRetainedBufferBytes) {
        std::string().swap(fileBytes);
    }
    return value;
}

}  // namespace

std::string ReadIniString(const std::string& path, std::string_view section, std::string_view key,
                          std::string_view defaultValue, std::size_t bufferChars) {
    std::optional<std::string> value;
    if (const std::optional<const ini_detail::IniIndex*> cached =
            ini_detail::CachedIniIndex(path)) {
        if (*cached != nullptr) {
            value = (*cached)->Find(section, key, bufferChars);
        }
    } else {
        value = ReadFromFile(path, section, key, bufferChars);
    }
    if (value) {
        return std::move(*value);
    }
    return CutToUtf16Units(defaultValue, bufferChars == 0 ? 0 : bufferChars - 1);
}

}  // namespace qx::platform
