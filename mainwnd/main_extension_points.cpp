// The places where the main window's remaining features attach: the profile manager, the
// firmware update dialog and the key assignment window. Each is one method; until its window
// exists it does nothing beyond what is said here.
#include <QPointer>
#include <QTimer>

#include "device/connection/device_session.h"
#include "keyassign/window/quilvane_dlg_composite.h"
#include "mainwnd/main_ids.h"
#include "mainwnd/quilvane_dlg.h"
#include "platform/program_paths.h"
#include "skin/png_button.h"
#include "update/quilvane_dlg_update.h"

namespace qx::mainwnd {

// At the end of 'INIT': the key assignment window is made once what is due then has run (the
// messages held during start-up), so that its pictures are decoded while the user has not clicked
// yet and nothing waits for it.
void CQuilvaneDlg::PrepareKeyAssignment() {
    auto* timer = new QTimer(this);
    timer->setSingleShot(true);
    connect(timer, &QTimer::timeout, this, [this, timer] {
        timer->deleteLater();
        MakeKeyAssignmentWindow();
    });
    timer->start(0);
}

// The window is one of the sub-windows: a profile switch is refused while it is open, and the
// exit sequence and the keyboard's departure close it.
void CQuilvaneDlg::MakeKeyAssignmentWindow() {
    if (composite_ || ended_) {
        return;
    }
    keyassign::window::CompositeHost host;
    host.keyButtons = &keyView_;
    host.setPendingChanges = [this] { SetApplyEnabled(true); };
    host.keyButtonRect = [this](int controlId) {
        const skin::CPngButton* button = Button(controlId);
        return button == nullptr ? QRect()
                                 : QRect(button->mapToGlobal(QPoint(0, 0)), button->size());
    };
    host.openHelp = options_.openHelp;
    const platform::ProgramPaths& paths = platform::GetProgramPaths();
    composite_ = std::make_unique<keyassign::window::Quilvane_DlgComposite>(
        paths.compositeSkinFile, paths.compositeSkinFolder, std::move(host));
    composite_->Prepare();
    SubWindowHooks hooks;
    hooks.close = [this] { return composite_->CloseIfOpen() == 1; };
    hooks.language = [this](int languageIndex) {
        if (composite_->IsOpen()) {
            composite_->ApplyLanguage(languageIndex);
        }
    };
    hooks.isOpen = [this] { return composite_->IsOpen(); };
    subWindows_.Register(kKeyAssignmentName, std::move(hooks));
}

// A key of the keyboard view opens its assignment. The key stays highlighted (over, over,
// down, normal, over) while the key assignment window is open, and gets its own sheets back
// when it closes.
void CQuilvaneDlg::OpenKeyAssignment(int controlId) {
    const std::optional<keyassign::KeyEntryLocation> location =
        keyassign::LocateKeyEntry(controlId);
    skin::CPngButton* button = Button(controlId);
    if (!location || button == nullptr || ended_) {
        return;
    }
    MakeKeyAssignmentWindow();
    button->SetSheetsOnly(sheets_.Set(kKeyOpenPattern));
    composite_->OpenForKey(controlId);
    if (!ended_) {
        layout_.RestoreKeySheets(controlId);
    }
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
