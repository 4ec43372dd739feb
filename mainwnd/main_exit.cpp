// The end of the main window: the exit sequence (close button, the menus' Exit, 'KILL', the
// signals that end a session), and what the window's destruction does when the sequence never
// ran (tests). The sequence may run inside the event loop of a box, a file dialog or a menu: it
// closes them all, and everything that waited for one of them stops when it returns.
//
// Order matters: the connection's threads may be waiting for this window, so the window's side
// of the connection is closed first (every waiting call returns), then the connection is
// stopped, and only then go the tray icon, the image and the sheets.
#include <QApplication>

#include "app/main_window_port.h"
#include "device/connection/device_session.h"
#include "keyboard/image_holders.h"
#include "lang/language.h"
#include "mainwnd/main_ids.h"
#include "mainwnd/quilvane_dlg.h"
#include "platform/prompt.h"
#include "widgets/about_dlg.h"
#include "widgets/profile_menu.h"
#include "widgets/tray_icon.h"
#include "widgets/tray_state.h"

namespace qx::mainwnd {
namespace {

// Popup menus nest one per level (a submenu over its menu); no more are ever open.
constexpr int kMaxOpenPopups = 16;

}  // namespace

void CQuilvaneDlg::RegisterSubWindows() {
    subWindows_.Register(
        kAboutWindowName, [] { return widgets::CloseAboutWindow(); },
        [](int languageIndex) {
            if (widgets::CAboutDlg* about = widgets::AboutWindow()) {
                about->Target()->SendWindowMessage(kLanguageMessage, kLanguageCode, languageIndex);
            }
        });
}

bool CQuilvaneDlg::RunExitSequence() {
    if (ended_) {
        return true;
    }
    HideToTray();
    if (!subWindows_.CloseAll()) {
        return false;
    }
    // The program ends now, whatever is still open: every box, file dialog and menu closes as
    // if dismissed, and the code that waited for it returns without acting (IsEnding).
    exitStarted_ = true;
    platform::CurrentPrompt().CloseAllForExit();
    ClosePopupMenus();
    app::CloseInstanceMutex();
    busy_.EndIndicator();
    StopConnection();
    if (tray_) {
        tray_->Remove();
    }
    if (trayState_) {
        trayState_->ForgetCurrentIcon();
    }
    SetApplyEnabled(false);
    keyboard::Images().Reset();
    sheets_.Release();
    ended_ = true;
    done(QDialog::Rejected);
    emit Ended();
    if (runLoop_ != nullptr) {
        runLoop_->quit();
    }
    return true;
}

// A menu open at the cursor (the menu button's, the tray's, the profile menu) closes unchosen.
void CQuilvaneDlg::ClosePopupMenus() {
    for (int left = kMaxOpenPopups; left > 0; --left) {
        QWidget* popup = QApplication::activePopupWidget();
        if (popup == nullptr) {
            break;
        }
        popup->close();
    }
}

// Closes the window's side of the connection (nothing waits for the window any more), takes the
// window back from other instances and workers, and stops the connection with its named events.
void CQuilvaneDlg::StopConnection() {
    host_->Close();
    app::PublishInstanceWindow(nullptr, 0);
    platform::SetMainWindowTarget(nullptr);
    if (lighting_) {
        lighting_->Disconnect();
    }
    if (session_ != nullptr) {
        device::StopDeviceConnection();
        session_ = nullptr;
    }
}

// The window's own parts go before Qt deletes its children, so no late event reaches them.
void CQuilvaneDlg::Shutdown() {
    qApp->removeEventFilter(this);
    delete hoverGroups_;
    hoverGroups_ = nullptr;
    busy_.EndIndicator();
    StopConnection();
    tray_.reset();
    profileMenu_.reset();
}

}  // namespace qx::mainwnd
