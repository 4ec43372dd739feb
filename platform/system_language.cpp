#include "platform/system_language.h"

#include <array>
#include <cstdlib>

namespace qx::platform {
namespace {

struct LocaleLanguage {
    std::string_view locale;
    uint16_t languageId;
};

constexpr LocaleLanguage kLocaleLanguages[] = {
#include "platform/locale_language_ids.inc"
};

constexpr std::array<const char*, 3> kLocaleVariables = {"LC_ALL", "LC_MESSAGES", "LANG"};

// "pt_BR.UTF-8@euro" -> "pt_BR"
std::string_view LanguageAndTerritory(std::string_view name) {
    return name.substr(0, name.find_first_of(".@"));
}

std::string_view LanguageOf(std::string_view languageAndTerritory) {
    return languageAndTerritory.substr(0, languageAndTerritory.find('_'));
}

}  // namespace

uint16_t LanguageIdOfLocale(std::string_view localeName) {
    const std::string_view wanted = LanguageAndTerritory(localeName);
    for (const LocaleLanguage& entry : kLocaleLanguages) {
        if (entry.locale == wanted) {
            return entry.languageId;
        }
    }
    const std::string_view language = LanguageOf(wanted);
    for (const LocaleLanguage& entry : kLocaleLanguages) {
        if (LanguageOf(entry.locale) == language) {
            return entry.languageId;
        }
    }
    return kDefaultLanguageId;
}

uint16_t SystemDefaultLanguageId() {
    for (const char* variable : kLocaleVariables) {
        const char* value = std::getenv(variable);  // NOLINT(concurrency-mt-unsafe): read only
        if (value != nullptr && *value != '\0') {
            return LanguageIdOfLocale(value);
        }
    }
    return kDefaultLanguageId;
}

}  // namespace qx::platform
