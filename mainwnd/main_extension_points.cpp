// The places where the main window's remaining features attach: the profile manager, the
// firmware update dialog and what the key assignment window reaches of the main window (the
// window itself is KeyAssignmentLink's). Each is one method.
#include <QPointer>

#include "device/connection/device_session.h"
#include "mainwnd/main_ids.h"
#include "mainwnd/quilvane_dlg.h"
#include "platform/program_paths.h"
#include "update/quilvane_dlg_update.h"

namespace qx::mainwnd {

// What the key assignment window reaches of this one: the key buttons it shows new assignments
// on, the pending state and the help page (KeyAssignmentLink adds where each key sits).
keyassign::window::CompositeHost CQuilvaneDlg::MakeCompositeHost() {
    keyassign::window::CompositeHost host;
    host.keyButtons = &keyView_;
    host.setPendingChanges = [this] { SetApplyEnabled(true); };
    // Made with the window, before the defaults fill the options: the help is looked up when asked.
    host.openHelp = [this] { options_.openHelp(); };
    return host;
}

// 1005: the profile manager, shown modally. It joins SubWindows() the first time it opens: the
// exit sequence and the keyboard's departure close it, and a profile switch asks about its
// changes and moves its check.
void CQuilvaneDlg::ShowProfileManager() {
    if (ended_) {
        return;
    }
    if (!profileManager_) {
        profileManager_ = std::make_unique<ProfileManagerLink>(*this, options_.openHelp);
        subWindows_.Register(kProfileManagerName, profileManager_->Hooks());
    }
    profileManager_->Show();
}

// 32780: the firmware update window, shown modally. It is made on first use as a child of this
// window, so it keeps its updater path for the program's life, and registers in SubWindows(),
// so that the exit sequence closes it (a box of its own is closed by the prompt after that).
void CQuilvaneDlg::ShowFirmwareUpdate() {
    if (exitStarted_) {
        return;
    }
    auto* dialog = findChild<update::CQuilvane_DlgUpdate*>(QString(), Qt::FindDirectChildrenOnly);
    if (dialog == nullptr) {
        dialog = new update::CQuilvane_DlgUpdate(
            session_ != nullptr ? &session_->Commands() : nullptr, this);
        const QPointer<update::CQuilvane_DlgUpdate> open(dialog);
        SubWindowHooks hooks;
        hooks.close = [open] {
            if (!open.isNull() && open->isVisible()) {
                open->reject();
            }
            return true;
        };
        hooks.isOpen = [open] { return !open.isNull() && open->isVisible(); };
        subWindows_.Register(kFirmwareUpdateName, std::move(hooks));
    }
    dialog->exec();
}

}  // namespace qx::mainwnd
