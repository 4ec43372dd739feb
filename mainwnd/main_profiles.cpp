// The profile menu with the profile button that names the active profile.
#include "device/connection/current_profile.h"
#include "lang/language.h"
#include "lang/language_keys.h"
#include "mainwnd/main_ids.h"
#include "mainwnd/profile_menu_model.h"
#include "mainwnd/quilvane_dlg.h"
#include "skin/png_button.h"
#include "widgets/profile_menu.h"

namespace qx::mainwnd {

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
