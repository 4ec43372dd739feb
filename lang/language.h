// The language tables: which language the program speaks and the texts of its language files.
// Every text shown to the user is looked up by key here (the keys: lang/language_keys.h); a
// missing text reads "#Error". Each lookup reads the language file again, unless a
// platform::IniReadScope is open on the thread (a window being built).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "platform/window_message.h"

namespace qx::lang {

inline constexpr uint32_t kLanguageMessage = 0x5041;          // the language message
inline constexpr uint32_t kLanguageMessageCode = 0x4C414E47;  // 'LANG'
static_assert(kLanguageMessageCode == platform::FourCharCode("LANG"));
inline constexpr const char* kMissingText = "#Error";
// The per-user value that holds the chosen language identifier.
inline constexpr const char* kLanguageIdValue = "dwLanguageId";

// The stored language identifier; chooses and stores one on first use (0 or missing means none
// chosen yet: the system's language, mapped and limited to the supported ones).
uint32_t GetLanguageId();
// Position of GetLanguageId() among the supported languages (0 when not supported).
int GetLanguageIndex();

// The language file of `index`: "Lang%04X.ini" in the program folder (an index outside 0..3 is
// taken as 0).
std::string LanguageFilePath(int index);

// The text of `key` in section "TEXT" / "LIGHT" / "MODE" of the language file of `index`: at most
// 259 characters; "#Error" for a missing file, section or key; empty for an empty value.
std::string LoadLangText(std::string_view key, int index);
std::string LoadLightText(std::string_view key, int index);
std::string LoadModeText(std::string_view key, int index);

// The same in the current language (GetLanguageIndex()).
std::string LangText(std::string_view key);
std::string LightText(std::string_view key);
std::string ModeText(int modeType);  // the key is the mode type in decimal

// Sends the language message with `index` (outside 0..3: 0) to the main window and returns the
// handler's result; 0 when there is no main window.
platform::MessageResult BroadcastLanguage(int index);

// A handler for the language message: calls `apply` with the index from lParam when wParam is
// 'LANG' and ignores the message otherwise; returns 0 either way.
platform::MessageHandler MakeLanguageHandler(std::function<void(int index)> apply);

}  // namespace qx::lang
