#include "lang/language.h"

#include <array>
#include <cstdio>

#include "lang/language_keys.h"
#include "platform/ini_file.h"
#include "platform/program_paths.h"
#include "platform/settings_store.h"
#include "platform/system_language.h"

namespace qx::lang {
namespace {

// The languages the program has files for; an index is a position here.
constexpr std::array<uint32_t, 4> kSupportedLanguages = {0x0409, 0x1046, 0, 0};
// Only these first positions are searched when an identifier is mapped to an index.
constexpr std::size_t kSearchedLanguages = 3;
constexpr int kMaxLanguageIndex = 3;
constexpr uint32_t kFallbackLanguage = 0x0409;

struct LanguageMapping {
    uint32_t system;
    uint32_t program;
};

// First-run mapping of system languages to the program's, searched in this order.
constexpr std::array<LanguageMapping, 11> kFirstRunMapping = {{
    {0x0C04, 0x0804},
    {0x0809, 0x0409},
    {0x0C09, 0x0409},
    {0x1009, 0x0409},
    {0x1409, 0x0409},
    {0x1809, 0x0409},
    {0x1C09, 0x0409},
    {0x2009, 0x0409},
    {0x2409, 0x0409},
    {0x2809, 0x0409},
    {0x2C09, 0x0409},
}};

// Position of `id` among the searched supported languages, or -1.
int SupportedPosition(uint32_t id) {
    for (std::size_t i = 0; i < kSearchedLanguages; ++i) {
        if (kSupportedLanguages[i] == id) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

uint32_t ChooseLanguage(uint32_t systemId) {
    uint32_t id = systemId;
    for (const LanguageMapping& mapping : kFirstRunMapping) {
        if (mapping.system == id) {
            id = mapping.program;
            break;
        }
    }
    // Identifier 0 sits in the table's free positions but names no language file.
    return id != 0 && SupportedPosition(id) >= 0 ? id : kFallbackLanguage;
}

std::string LoadText(std::string_view section, std::string_view key, int index) {
    return platform::ReadIniString(LanguageFilePath(index), section, key, kMissingText,
                                   platform::kLanguageTextBuffer);
}

}  // namespace

uint32_t GetLanguageId() {
    platform::SettingsStore& settings = platform::CurrentSettings();
    const std::optional<uint32_t> stored = settings.ReadUserDword(kLanguageIdValue);
    if (!stored) {
        settings.WriteUserDword(kLanguageIdValue, 0);
    } else if (*stored != 0) {
        return *stored;
    }
    const uint32_t chosen = ChooseLanguage(platform::SystemDefaultLanguageId());
    settings.WriteUserDword(kLanguageIdValue, chosen);  // a failed write chooses again next time
    return chosen;
}

int GetLanguageIndex() {
    const int position = SupportedPosition(GetLanguageId());
    return position < 0 ? 0 : position;
}

std::string LanguageFilePath(int index) {
    if (index < 0 || index > kMaxLanguageIndex) {
        index = 0;
    }
    std::array<char, 16> name{};
    std::snprintf(name.data(), name.size(), "Lang%04X.ini",
                  static_cast<unsigned>(kSupportedLanguages[static_cast<std::size_t>(index)]));
    return platform::GetProgramPaths().folder + name.data();
}

std::string LoadLangText(std::string_view key, int index) {
    return LoadText(lang::kTextSection, key, index);
}

std::string LoadLightText(std::string_view key, int index) {
    return LoadText(lang::kLightSection, key, index);
}

std::string LoadModeText(std::string_view key, int index) {
    return LoadText(lang::kModeSection, key, index);
}

std::string LangText(std::string_view key) {
    return LoadLangText(key, GetLanguageIndex());
}

std::string LightText(std::string_view key) {
    return LoadLightText(key, GetLanguageIndex());
}

std::string ModeText(int modeType) {
    return LoadModeText(lang::ModeKey(modeType), GetLanguageIndex());
}

platform::MessageResult BroadcastLanguage(int index) {
    const std::shared_ptr<platform::MessageTarget> mainWindow = platform::MainWindowTarget();
    if (!mainWindow) {
        return 0;
    }
    if (index < 0 || index > kMaxLanguageIndex) {
        index = 0;
    }
    return mainWindow->SendWindowMessage(kLanguageMessage, kLanguageMessageCode, index);
}

platform::MessageHandler MakeLanguageHandler(std::function<void(int index)> apply) {
    return [apply = std::move(apply)](platform::MessageWParam wParam,
                                      platform::MessageLParam lParam) -> platform::MessageResult {
        if (wParam == kLanguageMessageCode) {
            apply(static_cast<int>(lParam));
        }
        return 0;
    };
}

}  // namespace qx::lang
