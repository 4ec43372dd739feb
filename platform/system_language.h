// The system's language as a Windows language identifier (the number the language files are
// named after, Lang0409.ini), taken from the locale the C library would use for messages.
#pragma once

#include <cstdint>
#include <string_view>

namespace qx::platform {

// Windows' own default language, used for the C and POSIX locales and unknown languages.
inline constexpr uint16_t kDefaultLanguageId = 0x0409;

// The identifier of a locale name such as "pt_BR.UTF-8" or "de_AT@euro": the table's line for
// language and territory, else the first line of the language, else kDefaultLanguageId.
uint16_t LanguageIdOfLocale(std::string_view localeName);

// The identifier of the first non-empty of LC_ALL, LC_MESSAGES and LANG (the order in which the
// C library resolves the message locale); kDefaultLanguageId when all are empty.
uint16_t SystemDefaultLanguageId();

}  // namespace qx::platform
