#include "lighting/panel_switch.h"

#include "platform/data_folder.h"
#include "platform/ini_file.h"

namespace qx::lighting {

PanelSwitchFile::PanelSwitchFile() : path_(platform::GetSettingsFilePath()) {}

bool PanelSwitchFile::Read() const {
    return platform::ReadIniString(path_, platform::kLightingSwitchSection,
                                   platform::kLightingSwitchKey, platform::kLightingSwitchOff,
                                   platform::kPathBuffer) == platform::kLightingSwitchOn;
}

bool PanelSwitchFile::Write(bool on) const {
    return platform::WriteIniString(
        path_, platform::kLightingSwitchSection, platform::kLightingSwitchKey,
        on ? platform::kLightingSwitchOn : platform::kLightingSwitchOff);
}

}  // namespace qx::lighting
