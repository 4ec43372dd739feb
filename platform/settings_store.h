// The user's settings outside files: the application profile (section "PROFILES" of
// "Quilvane_Ostrand" / "Varkon QX480 Driver") and the per-user key "Software\Varkon QX480 Driver".
// The program uses a QSettings-backed store; tests use an in-memory one.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qx::platform {

class SettingsStore {
  public:
    virtual ~SettingsStore() = default;
    // String values of the application profile, by section and value name.
    virtual std::optional<std::string> ReadProfileString(std::string_view section,
                                                         std::string_view name) = 0;
    virtual bool WriteProfileString(std::string_view section, std::string_view name,
                                    std::string_view value) = 0;
    // 32-bit values of the per-user key ("dwLanguageId"). Nothing when missing or not a number.
    virtual std::optional<uint32_t> ReadUserDword(std::string_view name) = 0;
    virtual bool WriteUserDword(std::string_view name, uint32_t value) = 0;
};

// The store the program uses; set once at start or by a test. Until set (or after setting
// nullptr), an in-memory store. The store set must outlive its use; the caller keeps ownership.
SettingsStore& CurrentSettings();
void SetCurrentSettings(SettingsStore* store);

}  // namespace qx::platform
