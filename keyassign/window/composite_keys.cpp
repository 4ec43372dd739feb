// The key assignment window's keyboard filters. One application-wide filter runs while the window
// is open and sees every key event meant for the window before the window does:
//   - during a macro recording the macro page's recording filter has taken every key already;
//   - on the single-key page, the key capture: every key names the key to assign, except the
//     multimedia keys, which are left to the desktop;
//   - then the pre-filter: Enter and Escape never reach the window's controls (neither closes
//     the window) but the action list's cell editor, and F1 opens the help page, except while a
//     recording runs.
// Key events meant for other windows (a message box over this one) are left alone.
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>

#include "keyassign/assignment.h"
#include "keyassign/key_capture.h"
#include "keyassign/window/quilvane_dlg_composite.h"
#include "keyboard/key_names.h"
#include "platform/qt_keystroke.h"
#include "skin/report_ctrl.h"

namespace qx::keyassign::window {
namespace {

bool IsKeyEvent(const QEvent& event) {
    return event.type() == QEvent::KeyPress || event.type() == QEvent::KeyRelease;
}

bool ClosesDialog(int key) {
    return key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape;
}

}  // namespace

void Quilvane_DlgComposite::SetCaptureActive(bool active) {
    captureActive_ = active;
}

bool Quilvane_DlgComposite::eventFilter(QObject* watched, QEvent* event) {
    if (event != nullptr && IsKeyEvent(*event) && FilterKeyEvent(watched, *event)) {
        return true;
    }
    return skin::CBaseDialog::eventFilter(watched, event);
}

bool Quilvane_DlgComposite::FilterKeyEvent(QObject* watched, QEvent& event) {
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!IsOpen() || widget == nullptr || widget->window() != this) {
        return false;
    }
    const auto& key = static_cast<const QKeyEvent&>(event);
    const platform::Keystroke keystroke = platform::KeystrokeOfEvent(key);
    if (page_->IsRecording() && page_->FilterKeyEvent(event)) {
        return true;
    }
    if (captureActive_) {
        const KeyCapture capture = CaptureKeyEvent(keystroke, KeyboardChoice());
        if (capture.key != keyboard::kNoKey) {
            TakeCapturedKey(capture.key);
        }
        if (capture.verdict == KeyEventVerdict::Swallow) {
            return true;
        }
    }
    if (ClosesDialog(key.key())) {
        // In a cell of the action list Enter ends the edit and Escape drops it; the list takes
        // them, so they close nothing.
        return widget != page_->ActionList().CellEditor();
    }
    if (key.key() == Qt::Key_F1 && event.type() == QEvent::KeyPress) {
        if (!page_->IsRecording() && !key.isAutoRepeat() && host_.openHelp) {
            host_.openHelp();
        }
        return true;
    }
    return false;
}

// A key taken on the single-key page: its name shows in the key box, the page assigns it. The
// Super and Menu keys are taken whatever the choice; they make the keyboard choice, so that the
// key shows where the user looks for it.
void Quilvane_DlgComposite::TakeCapturedKey(keyboard::KeyCode key) {
    capturedKey_ = key;
    if (!KeyboardChoice()) {
        MakeKeyboardChoice();
    }
    keyBox_->setText(QString::fromStdString(keyboard::KeyNameOfCode(key)));
    kind_ = kKindKey;
    SetModified(true);
}

}  // namespace qx::keyassign::window
