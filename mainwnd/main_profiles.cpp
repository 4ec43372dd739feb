// The configuration image read back from the keyboard, and the profile menu with the profile
// button that names the active profile.
#include <optional>

#include "device/connection/current_profile.h"
#include "device/connection/device_connection.h"
#include "device/connection/device_session.h"
#include "device/transfer/image_transfer.h"
#include "device/transfer/read_back.h"
#include "keyboard/image_holders.h"
#include "lang/language.h"
#include "lang/language_keys.h"
#include "lighting/lighting_model.h"
#include "mainwnd/main_ids.h"
#include "mainwnd/profile_menu_model.h"
#include "mainwnd/quilvane_dlg.h"
#include "profiles/profile_file.h"
#include "skin/png_button.h"
#include "widgets/profile_menu.h"

namespace qx::mainwnd {
namespace {

bool IsOnboardProfile(int profile) {
    return profile >= 0 && profile < keyboard::kProfileCount;
}

}  // namespace

// The keyboard's content becomes the profile store, and the store the live image; a keyboard
// that cannot be read leaves the last good store (or, without one, a default image).
void CQuilvaneDlg::ReloadImageFromKeyboard(bool keepPending) {
    profiles::EnsureDataFolder();
    const int profile = device::GetCurrentProfile();
    std::optional<device::TransferLink> link;
    if (IsOnboardProfile(profile) && session_ != nullptr) {
        link.emplace(device::TransferLinkOf(*session_));
    }
    device::ReloadImageFromKeyboard(profiles::GetStorePath(profile), link ? &*link : nullptr, [&] {
        keyView_.RefreshKeyButtons(keyassign::BlockSelection{profile, device::GetGKeyBank()});
    });
    if (!keepPending) {
        SetApplyEnabled(false);
    }
}

// Lighting and profile buttons follow a switch the keyboard took; after one it did not take
// (or the default item, -1) they stay as the path left them. The key buttons show the block of
// the profile the keyboard has now, and the menu checks it.
void CQuilvaneDlg::RefreshAfterProfileSwitch(int profile) {
    const bool taken = IsOnboardProfile(profile) && device::CurrentProfile().Cached() == profile;
    if (taken) {
        if (lighting_) {
            lighting_->SetLightingProfile(profile);
            lighting_->ReadLightingState();
        }
        RefreshLightingPanel();
        MarkProfileButton(profile);
    }
    {
        const keyboard::ImageGuard guard = keyboard::Images().LockImage();
        keyView_.RefreshKeyButtons(keyassign::CurrentBlockSelection());
    }
    RebuildProfileMenu(false);
}

void CQuilvaneDlg::MarkProfileButton(int profile) {
    for (std::size_t i = 0; i < kIdProfileButtons.size(); ++i) {
        Button(kIdProfileButtons[i])->SetMarked(static_cast<int>(i) == profile);
    }
}

// Made at 'INIT', while the connection may still be reading the keyboard: the menu then checks the
// profile as far as it is known (asking the keyboard would wait for that read), and the 'PROF'
// that follows the read rebuilds it.
void CQuilvaneDlg::RebuildProfileMenu(bool create) {
    if (create || !profileMenu_) {
        profileMenu_ = std::make_unique<widgets::CProfileMenu>(this);
        profileMenu_->SetCommandTarget(Target());
    } else {
        profileMenu_->RemoveAll();
    }
    const int profile = create ? device::CurrentProfile().Cached() : device::GetCurrentProfile();
    const ProfileMenuModel model = BuildProfileMenuModel(
        profile, lang::LangText(lang::kDefaultProfileName), ProfileStoreItemText);
    for (const ProfileMenuItem& item : model.items) {
        if (item.separator) {
            profileMenu_->AppendSeparator();
        } else {
            profileMenu_->AppendItem(static_cast<uint32_t>(item.command), item.text);
        }
    }
    profileMenu_->CheckItemByPosition(model.checkedPosition);
    const std::string text = profileMenu_->ItemText(model.checkedPosition);
    skin::CPngButton* button = Button(kIdProfiles);
    button->setText(QString::fromStdString(text));
    button->SetTooltip(
        QString::fromStdString(ProfileButtonTooltip(lang::LangText(lang::kProfileTip), text)),
        true);
}

}  // namespace qx::mainwnd
