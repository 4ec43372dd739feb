// The configuration image read back from the keyboard, and the profile menu with the profile
// button that names the active profile.
#include "app/language.h"
#include "app/language_keys.h"
#include "device/connection_host.h"
#include "device/device_connection.h"
#include "device/device_session.h"
#include "device/image_transfer.h"
#include "device/read_back.h"
#include "keyboard/current_profile.h"
#include "keyboard/image_holders.h"
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

// Frees the live image's texts, macros and record, then installs a default image.
void InstallDefaultImage(const keyboard::ImageGuard& guard) {
    guard->texts.ClearAll();
    guard->macros.clear();
    guard->image.reset();
    profiles::WriteDefaultProfileFile(std::nullopt, 0, true);
}

}  // namespace

// The keyboard's content becomes the profile store, and the store the live image. A store that
// cannot be loaded after a successful read-back leaves a default image rather than none.
void CQuilvaneDlg::ReloadImageFromKeyboard(bool keepPending) {
    profiles::EnsureDataFolder();
    const int profile = keyboard::GetCurrentProfile();
    std::string store;
    bool readBack = false;
    if (IsOnboardProfile(profile) && session_ != nullptr) {
        store = profiles::GetStorePath(profile);
        readBack = device::ReadBackToFile(store, device::TransferLinkOf(*session_)) == 1;
    }
    {
        const keyboard::ImageGuard guard = keyboard::Images().LockImage();
        if (!readBack || profiles::LoadImageFromFile(store) != 1) {
            InstallDefaultImage(guard);
        }
        keyView_.RefreshKeyButtons(keyassign::BlockSelection{profile, device::GetGKeyBank()});
    }
    if (!keepPending) {
        SetApplyEnabled(false);
    }
}

// The block shown is the one of the profile the keyboard has now: the asked-for one after a
// switch it took, the one it reports otherwise.
void CQuilvaneDlg::RefreshAfterProfileSwitch(int /*profile*/) {
    const keyboard::ImageGuard guard = keyboard::Images().LockImage();
    keyView_.RefreshKeyButtons(keyassign::CurrentBlockSelection());
}

void CQuilvaneDlg::RebuildProfileMenu(bool create) {
    if (create || !profileMenu_) {
        profileMenu_ = std::make_unique<widgets::CProfileMenu>(this);
        profileMenu_->SetCommandTarget(Target());
    } else {
        profileMenu_->RemoveAll();
    }
    const ProfileMenuModel model =
        BuildProfileMenuModel(keyboard::GetCurrentProfile(),
                              app::LangText(app::lang::kDefaultProfileName), ProfileStoreItemText);
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
        QString::fromStdString(ProfileButtonTooltip(app::LangText(app::lang::kProfileTip), text)),
        true);
}

}  // namespace qx::mainwnd
