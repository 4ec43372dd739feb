// The settings store of the program, over QSettings in the platform's native format:
//  - the application profile: organization "Quilvane_Ostrand", application "Varkon QX480 Driver",
//    one group per section ("PROFILES"). Windows: HKCU\Software\Quilvane_Ostrand\Varkon QX480
//    Driver\PROFILES. Linux: $XDG_CONFIG_HOME/Quilvane_Ostrand/Varkon QX480 Driver.conf
//    (by default ~/.config/...), group [PROFILES].
//  - the per-user key "Software\Varkon QX480 Driver" with "dwLanguageId" as a 32-bit number.
//    Windows: HKCU\Software\Varkon QX480 Driver, a REG_DWORD. Linux: $XDG_CONFIG_HOME/Varkon
//    QX480 Driver.conf, group [General], the number in decimal.
// Every write is synced at once; on Linux QSettings replaces the file atomically (atomic sync is
// required explicitly), so a failed write leaves the old file.
#pragma once

#include <QSettings>
#include <memory>
#include <mutex>

#include "platform/settings_store.h"

namespace qx::platform {

inline constexpr const char* kSettingsOrganization = "Quilvane_Ostrand";
inline constexpr const char* kSettingsApplication = "Varkon QX480 Driver";
inline constexpr const char* kUserKeyName = "Varkon QX480 Driver";  // under Software

class QtSettingsStore : public SettingsStore {
  public:
    QtSettingsStore();
    ~QtSettingsStore() override;
    QtSettingsStore(const QtSettingsStore&) = delete;
    QtSettingsStore& operator=(const QtSettingsStore&) = delete;

    std::optional<std::string> ReadProfileString(std::string_view section,
                                                 std::string_view name) override;
    bool WriteProfileString(std::string_view section, std::string_view name,
                            std::string_view value) override;
    std::optional<uint32_t> ReadUserDword(std::string_view name) override;
    bool WriteUserDword(std::string_view name, uint32_t value) override;

    // Where the two stores live (file paths on Linux, registry paths on Windows).
    std::string ProfileLocation() const;
    std::string UserKeyLocation() const;

  private:
    mutable std::mutex mutex_;
    std::unique_ptr<QSettings> profile_;
    std::unique_ptr<QSettings> userKey_;
};

// A value name as a QSettings key: '/' and '\' would open groups, so they and '%' are written as
// %2F, %5C and %25.
QString SettingsKeyOfName(std::string_view name);

}  // namespace qx::platform
