#include "mainwnd/main_profile_manager.h"

#include <utility>

#include "mainwnd/quilvane_dlg.h"
#include "platform/program_paths.h"
#include "profiles/manager/quilvane_dlg_profile.h"

namespace qx::mainwnd {

// The manager is a window of its own (no parent): the main window may be hidden in the tray
// while it is open.
ProfileManagerLink::ProfileManagerLink(CQuilvaneDlg& window, std::function<void()> openHelp)
    : window_(window),
      openHelp_(std::move(openHelp)),
      dialog_(std::make_unique<profiles::manager::CQuilvane_DlgProfile>(
          static_cast<profiles::manager::ProfileManagerHost&>(*this),
          platform::GetProgramPaths().profileSkinFile,
          platform::GetProgramPaths().profileSkinFolder)) {}

ProfileManagerLink::~ProfileManagerLink() = default;

void ProfileManagerLink::Show() {
    if (dialog_->IsOpen()) {
        dialog_->raise();
        dialog_->activateWindow();
        return;
    }
    dialog_->exec();
}

SubWindowHooks ProfileManagerLink::Hooks() {
    SubWindowHooks hooks;
    hooks.close = [this] {
        dialog_->CloseProfileManagerIfOpen();
        return true;
    };
    hooks.language = [this](int languageIndex) { dialog_->ApplyLanguage(languageIndex); };
    hooks.isOpen = [this] { return dialog_->IsOpen(); };
    hooks.hasChanges = [this] { return dialog_->HasChanges(); };
    hooks.profileSwitched = [this](int profile) { dialog_->OnProfileSwitched(profile); };
    return hooks;
}

void ProfileManagerLink::ReloadImageFromKeyboard(bool keepPending) {
    window_.Profiles().ReloadImageFromKeyboard(keepPending);
}

void ProfileManagerLink::RefreshAfterProfileSwitch(int profile) {
    window_.Profiles().RefreshAfterProfileSwitch(profile);
}

void ProfileManagerLink::SetApplyEnabled(bool enabled) {
    window_.SetApplyEnabled(enabled);
}

void ProfileManagerLink::OpenHelp() {
    openHelp_();
}

}  // namespace qx::mainwnd
