// Macro recording on the page: the record button and the key filter that runs while a recording
// does.
#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QWidget>

#include "keyassign/key_event.h"
#include "keyassign/window/macro_page/macro_page.h"
#include "platform/qt_keystroke.h"

namespace qx::keyassign::window {

bool MacroPage::IsRecording() const {
    return recorder_.IsRecording();
}

void MacroPage::ToggleRecording() {
    if (recorder_.IsRecording()) {
        StopRecording();
        return;
    }
    keysDown_.clear();
    recorder_.ToggleRecording();
}

void MacroPage::StopRecording() {
    FlushRelease();
    keysDown_.clear();
    recorder_.StopRecording();
}

bool MacroPage::FilterKeyEvent(QEvent& event) {
    if (!recorder_.IsRecording()) {
        return false;
    }
    switch (event.type()) {
        case QEvent::KeyPress:
            return FilterKeyPress(static_cast<const QKeyEvent&>(event));
        case QEvent::KeyRelease:
            return FilterKeyRelease(static_cast<const QKeyEvent&>(event));
        case QEvent::ShortcutOverride: {
            // A key the recording takes is no shortcut (F1's help, a button's mnemonic): the
            // override is accepted, so its press comes to the filter as a plain key press.
            const platform::Keystroke keystroke =
                platform::KeystrokeOfEvent(static_cast<QKeyEvent&>(event));
            if (IsLeftToSystem(KeyCodeOfEvent(keystroke))) {
                return false;
            }
            event.accept();
            return true;
        }
        default:
            return false;
    }
}

bool MacroPage::FilterKeyPress(const QKeyEvent& key) {
    const platform::Keystroke keystroke = platform::KeystrokeOfEvent(key);
    const keyboard::KeyCode code = KeyCodeOfEvent(keystroke);
    if (IsLeftToSystem(code)) {
        return false;
    }
    if (heldRelease_ && heldRelease_->code == code && key.timestamp() != 0 &&
        key.timestamp() == heldRelease_->timestamp) {
        heldRelease_.reset();  // the release and this press are one automatic repeat
        releaseTimer_.stop();
        return true;
    }
    FlushRelease();
    if (keysDown_.contains(code)) {
        return true;  // repeated without a release in between
    }
    keysDown_.insert(code);
    return recorder_.HandleKeyEvent(keystroke) == KeyEventVerdict::Swallow;
}

bool MacroPage::FilterKeyRelease(const QKeyEvent& key) {
    const platform::Keystroke keystroke = platform::KeystrokeOfEvent(key);
    const keyboard::KeyCode code = KeyCodeOfEvent(keystroke);
    if (IsLeftToSystem(code)) {
        return false;
    }
    if (keystroke.IsRepeat()) {
        return recorder_.HandleKeyEvent(keystroke) == KeyEventVerdict::Swallow;
    }
    FlushRelease();
    heldRelease_ = HeldRelease{keystroke, code, key.timestamp(), clock_()};
    releaseTimer_.start();
    return true;
}

void MacroPage::FlushRelease() {
    if (!heldRelease_) {
        return;
    }
    const HeldRelease release = *heldRelease_;
    heldRelease_.reset();
    releaseTimer_.stop();
    keysDown_.erase(release.code);
    clockOverride_ = release.arrivedMs;
    recorder_.HandleKeyEvent(release.keystroke);
    clockOverride_.reset();
}

void MacroPage::FilterKeys(bool on) {
    if (on == filtering_ || QCoreApplication::instance() == nullptr) {
        return;
    }
    if (on) {
        QCoreApplication::instance()->installEventFilter(this);
    } else {
        QCoreApplication::instance()->removeEventFilter(this);
    }
    filtering_ = on;
}

// Installed on the application while a recording runs: the key events of the window's widgets,
// before any widget or the window's own filters see them. Installed on the key and action
// columns' drop-down too.
bool MacroPage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == nullptr || event == nullptr || !watched->isWidgetType()) {
        return false;
    }
    if (FilterCellPicker(watched, *event)) {
        return true;
    }
    const auto* widget = static_cast<QWidget*>(watched);
    if (widget->window() != dialog_.window()) {
        return false;
    }
    return FilterKeyEvent(*event);
}

}  // namespace qx::keyassign::window
