// The per-user data folder ("Varkon QX480 Driver" in the user's data location) and the settings
// file "zadi.ini" in it. The folder is the one QStandardPaths::GenericDataLocation names on this
// system ($XDG_DATA_HOME, by default ~/.local/share), computed here without Qt so that the
// driver and the Qt-free tools agree on it.
#pragma once

#include <string>

namespace qx::platform {

inline constexpr const char* kDataFolderName = "Varkon QX480 Driver";
inline constexpr const char* kSettingsFileName = "zadi.ini";

// The lighting panel switch in the settings file: "1" on, anything else off.
inline constexpr const char* kLightingSwitchSection = "KEYCOLOR";
inline constexpr const char* kLightingSwitchKey = "DengCheck";
inline constexpr const char* kLightingSwitchOn = "1";
inline constexpr const char* kLightingSwitchOff = "0";

// The user's generic data location, exactly as QStandardPaths::GenericDataLocation gives it.
std::string UserDataLocation();

// The data folder: UserDataLocation() + "/Varkon QX480 Driver" (no trailing '/').
std::string DataFolderPath();

// Creates the data folder (and the data location above it) when missing. Errors are ignored:
// later writes into the folder then fail and are not reported either.
void EnsureDataFolder();

// DataFolderPath() + "/zadi.ini".
std::string GetSettingsFilePath();

// The lighting panel switch as stored; off when the file or value is missing.
bool ReadLightingPanelSwitch();
// Stores the switch ("1" or "0"); false when the file could not be written.
bool WriteLightingPanelSwitch(bool on);

}  // namespace qx::platform
