// The language tables: which language the program speaks and the texts of its language files.
// Every text shown to the user is looked up by key here; a missing text reads "#Error".
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qx::app {

inline constexpr uint32_t kLanguageMessage = 0x5041;      // the language message
inline constexpr uint32_t kLanguageMessageCode = 0x4C414E47;  // 'LANG'
inline constexpr const char* kMissingText = "#Error";

// The stored language identifier; chooses and stores one on first use.
uint32_t GetLanguageId();
// Position of GetLanguageId() among the supported languages (0 when not supported).
int GetLanguageIndex();

// The text of `key` in section "TEXT" / "LIGHT" / "MODE" of the language file of `index`.
std::string LoadLangText(std::string_view key, int index);
std::string LoadLightText(std::string_view key, int index);
std::string LoadModeText(std::string_view key, int index);

// LoadLangText(key, GetLanguageIndex()): the text in the current language.
std::string LangText(std::string_view key);

}  // namespace qx::app
