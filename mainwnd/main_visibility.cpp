// When the main window is on screen. It starts hidden and stays so until a show request; OK and
// Cancel only hide it (the program lives on in the notification area); Enter and Esc never
// close it, and the arrow keys never change the lighting mode.
#include <QComboBox>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <utility>

#include "device/connection/device_connection.h"
#include "lang/language.h"
#include "lang/language_keys.h"
#include "lighting/panel/lighting_panel.h"
#include "mainwnd/main_ids.h"
#include "mainwnd/quilvane_dlg.h"
#include "platform/prompt.h"

namespace qx::mainwnd {
namespace {

// The window menu's item that opens the about window.
constexpr const char* kAboutMenuText = "&About...";

bool IsEnterOrEscape(int key) {
    return key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape;
}

bool IsArrow(int key) {
    return key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down;
}

}  // namespace

// Until a show request has shown it, the window refuses the first two attempts to show it (the
// dialog machinery's own showing at start), so it never appears by itself.
void CQuilvaneDlg::setVisible(bool visible) {
    if (visible && !inShowRequest_ && startHidden_ > 0) {
        --startHidden_;
        EnsureInitialised();
        return;
    }
    if (visible && inShowRequest_) {
        startHidden_ = 0;
    }
    CBaseDialog::setVisible(visible);
}

// 'OPEN' and the tray's Open: with a keyboard the window comes forward as an application window
// with a taskbar entry; without one only the no-keyboard message appears.
void CQuilvaneDlg::OnShowRequest() {
    if (ended_) {
        return;
    }
    if (!device::IsKeyboardAttached()) {
        // One box however many requests come while it is open (a click and a double click on
        // the tray icon, several second starts).
        if (!std::exchange(noDeviceBoxOpen_, true)) {
            platform::CurrentPrompt().ShowMessage(lang::LangText(lang::kMainNoDevicePrompt), {},
                                                  false);
            noDeviceBoxOpen_ = false;
        }
        return;
    }
    ApplyWindowStyle(true);
    inShowRequest_ = true;
    show();
    inShowRequest_ = false;
    raise();
    activateWindow();
}

void CQuilvaneDlg::HideToTray() {
    hide();
}

void CQuilvaneDlg::OnOK() {
    OnApply();
    HideToTray();
}

void CQuilvaneDlg::OnCancel() {
    HideToTray();
}

bool CQuilvaneDlg::IsFilteredKey(QObject* watched, const QKeyEvent& key) const {
    const auto* widget = qobject_cast<const QWidget*>(watched);
    if (widget == nullptr || widget->window() != this) {
        return false;
    }
    if (IsEnterOrEscape(key.key())) {
        return true;
    }
    const QWidget* modeList = lighting_->Panel().ModeList();
    return IsArrow(key.key()) && (focusWidget() == modeList || widget == modeList);
}

// Every event of the window and its controls passes here first: input is refused while the
// window is busy with a transfer; F1 asks for help. The filter is the application's, so it also
// sees the messages worker threads post to the window's message target; those are not read
// here, since only their receiver orders the reads after the poster's writes.
bool CQuilvaneDlg::eventFilter(QObject* watched, QEvent* event) {
    if (!watched->isWidgetType()) {
        return CBaseDialog::eventFilter(watched, event);
    }
    if (busy_.IsRefusedInput(watched, *event)) {
        return true;
    }
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease) {
        return CBaseDialog::eventFilter(watched, event);
    }
    const auto& key = static_cast<const QKeyEvent&>(*event);
    if (IsFilteredKey(watched, key)) {
        return true;
    }
    const auto* widget = qobject_cast<const QWidget*>(watched);
    if (key.key() == Qt::Key_F1 && widget != nullptr && widget->window() == this) {
        if (type == QEvent::KeyPress && !key.isAutoRepeat()) {
            options_.openHelp();
        }
        return true;
    }
    return CBaseDialog::eventFilter(watched, event);
}

// A frameless window has no window menu; a right click on the background offers the one entry
// the program adds to it, "&About...".
void CQuilvaneDlg::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    QAction* about = menu.addAction(QString::fromUtf8(kAboutMenuText));
    if (menu.exec(event->globalPos()) == about) {
        OnSysCommand(kCmdAboutSystem);
    }
}

}  // namespace qx::mainwnd
