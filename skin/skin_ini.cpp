#include "skin/skin_ini.h"

#include "platform/ini_file.h"

namespace qx::skin {

std::string CutUtf8(std::string_view text, std::size_t maxChars) {
    std::size_t chars = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        if (chars == maxChars) {
            return std::string(text.substr(0, pos));
        }
        ++pos;
        // Continuation bytes (10xxxxxx) belong to the character just started.
        while (pos < text.size() && (static_cast<unsigned char>(text[pos]) & 0xC0U) == 0x80U) {
            ++pos;
        }
        ++chars;
    }
    return std::string(text);
}

void CIniFile::SetPath(std::string_view path) {
    path_ = CutUtf8(path, kIniPathMaxChars);
}

std::optional<std::string> CIniFile::GetString(std::string_view section, std::string_view key,
                                               std::string_view defaultText) const {
    std::string value =
        platform::ReadIniString(path_, section, key, defaultText, platform::kSkinStringBuffer);
    value = CutUtf8(value, kIniStringMaxChars);
    if (value.empty()) {
        return std::nullopt;
    }
    return value;
}

bool CIniFile::WriteString(std::string_view section, std::string_view key,
                           std::string_view value) const {
    return platform::WriteIniString(path_, section, key, value);
}

}  // namespace qx::skin
