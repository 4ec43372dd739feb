#include "settings/app_profile.h"

#include <array>
#include <climits>
#include <cstdio>

#include "lang/language.h"
#include "lang/language_keys.h"
#include "platform/settings_store.h"

namespace qx::settings {
namespace {

std::string ReadProfileValue(std::string_view name) {
    return platform::CurrentSettings()
        .ReadProfileString(kProfileSection, name)
        .value_or(kProfileValueDefault);
}

// 0 or 1 as given; any other number becomes 0.
int ZeroOrOne(int value) {
    return value == 1 ? 1 : 0;
}

}  // namespace

int DecimalValue(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size() && (text[pos] == ' ' || (text[pos] >= '\t' && text[pos] <= '\r'))) {
        ++pos;
    }
    bool negative = false;
    if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) {
        negative = text[pos] == '-';
        ++pos;
    }
    long long value = 0;
    for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos) {
        value = value * 10 + (text[pos] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1) {
            value = static_cast<long long>(INT_MAX) + 1;
        }
    }
    if (negative) {
        value = -value;
    }
    if (value > INT_MAX) {
        return INT_MAX;
    }
    return static_cast<int>(value);
}

std::string ReadFlipSetting() {
    return ReadProfileValue(kFlipValueName);
}

std::string WriteFlipSetting(int value) {
    std::string text = std::to_string(ZeroOrOne(value));
    platform::CurrentSettings().WriteProfileString(kProfileSection, kFlipValueName, text);
    return text;
}

std::string RecordDelayValueName() {
    return lang::LangText(lang::kMacroActionRecordDelay);
}

int ReadRecordDelay() {
    return DecimalValue(ReadProfileValue(RecordDelayValueName()));
}

int StoreRecordDelay(int value) {
    const int stored = ZeroOrOne(value);
    platform::CurrentSettings().WriteProfileString(kProfileSection, RecordDelayValueName(),
                                                   std::to_string(stored));
    return stored;
}

std::string ProfileListValueName(int number) {
    std::array<char, 32> name{};
    std::snprintf(name.data(), name.size(), "%s%02d", kProfileListPrefix, number);
    return name.data();
}

bool WriteProfileListValue(int number, std::string_view text) {
    return platform::CurrentSettings().WriteProfileString(kProfileSection,
                                                          ProfileListValueName(number), text);
}

}  // namespace qx::settings
