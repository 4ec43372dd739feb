// The single-key page's keyboard filter: which key event names the key the user wants, while the
// page is shown.
//
// Events of no key and of the multimedia keys are handed on; every other event is swallowed, so
// Enter and Escape name keys instead of closing the window. A key is taken on its first press
// (never on an automatic repeat, so a held key is taken once), and only with the keyboard choice
// made. Print Screen is taken on its release: the desktop may act on its press (a screenshot),
// and one key must give one capture. The Super and Menu keys are taken whatever the choice.
#pragma once

#include "keyassign/key_event.h"
#include "keyboard/key_code.h"
#include "platform/keystroke.h"

namespace qx::keyassign {

struct KeyCapture {
    KeyEventVerdict verdict = KeyEventVerdict::PassOn;
    // The key taken: it becomes the captured key, the key box shows its name, the kind becomes 2
    // and the window is modified. kNoKey when the event takes no key.
    keyboard::KeyCode key = keyboard::kNoKey;
};

KeyCapture CaptureKeyEvent(const platform::Keystroke& keystroke, bool keyboardChoice);

}  // namespace qx::keyassign
