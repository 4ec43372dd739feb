// The items of the profile menu: the default profile, a separator, then one item per onboard
// profile named after the profile store's file. The item of the active profile is checked, the
// default item when the active profile is unknown; the main window's profile button shows the
// checked item's text. Qt-free.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace qx::mainwnd {

struct ProfileMenuItem {
    int command = 0;  // 0 for the separator
    std::string text;
    bool separator = false;
    friend bool operator==(const ProfileMenuItem&, const ProfileMenuItem&) = default;
};

struct ProfileMenuModel {
    std::vector<ProfileMenuItem> items;
    int checkedPosition = 0;
    std::string checkedText;
};

// The model for the active profile `currentProfile` (-1 unknown; anything outside 0..2 counts as
// unknown). `defaultName` is the default item's text; `storeName(i)` the item text of onboard
// profile i.
ProfileMenuModel BuildProfileMenuModel(int currentProfile, const std::string& defaultName,
                                       const std::function<std::string(int)>& storeName);

// The item text of onboard profile i: the profile store's file name without folder and
// extension.
std::string ProfileStoreItemText(int profile);

// The tooltip of the profile button: the "PROFILE_TIP" text followed directly by the item text.
std::string ProfileButtonTooltip(const std::string& tipText, const std::string& itemText);

}  // namespace qx::mainwnd
