// What the key assignment window needs of the main window that owns it: the key buttons it shows
// the new assignments on, the pending-changes state, where the clicked key sits on the screen,
// and the desktop services it starts. Tests replace the services.
#pragma once

#include <QRect>
#include <functional>

namespace qx::keyassign {
class KeyButtonView;
}

namespace qx::keyassign::window {

struct CompositeHost {
    // The keyboard view; every apply gives each key button its marked flag and tooltip again.
    KeyButtonView* keyButtons = nullptr;
    // The configuration image holds changes the keyboard does not have: the main window's Apply
    // is enabled.
    std::function<void()> setPendingChanges;
    // The screen rectangle of the main window's button with this id (empty when unknown).
    std::function<QRect(int controlId)> keyButtonRect;
    // The help page (F1); the default is app::OpenHelp.
    std::function<void()> openHelp;
    // Starts the desktop's on-screen keyboard; the default is StartOnScreenKeyboard.
    std::function<bool()> startOnScreenKeyboard;
};

}  // namespace qx::keyassign::window
