#include "mainwnd/profile_menu_model.h"

#include <filesystem>

#include "keyboard/image_layout.h"
#include "mainwnd/main_ids.h"
#include "profiles/profile_file.h"

namespace qx::mainwnd {
namespace {

// The default item and the separator come before the profiles.
constexpr int kFirstProfilePosition = 2;

}  // namespace

ProfileMenuModel BuildProfileMenuModel(int currentProfile, const std::string& defaultName,
                                       const std::function<std::string(int)>& storeName) {
    ProfileMenuModel model;
    model.items.push_back({kCmdProfileMenuFirst, defaultName, false});
    model.items.push_back({0, {}, true});
    for (int profile = 0; profile < keyboard::kProfileCount; ++profile) {
        model.items.push_back({kCmdProfileMenuBase + profile, storeName(profile), false});
    }
    const bool known = currentProfile >= 0 && currentProfile < keyboard::kProfileCount;
    model.checkedPosition = known ? currentProfile + kFirstProfilePosition : 0;
    model.checkedText = model.items[static_cast<std::size_t>(model.checkedPosition)].text;
    return model;
}

std::string ProfileStoreItemText(int profile) {
    return std::filesystem::path(profiles::GetStorePath(profile)).stem().string();
}

std::string ProfileButtonTooltip(const std::string& tipText, const std::string& itemText) {
    return tipText + itemText;
}

}  // namespace qx::mainwnd
