// How the device connection tells whoever shows it (the main window, qx480ctl, tests) what
// happened. The connection runs on the transport's delivery threads and on workers of its own;
// the main window implements this interface over its window messages, tests with a recording
// host.
//
// The calls marked "waits" may block until the user-interface thread has handled them, and so
// may ShowMessage. A host that is closing must stop blocking: once the main window's message
// target is closed, every call returns at once. The main window closes it before it stops the
// connection.
#pragma once

#include <array>
#include <string>

#include "keyboard/key_buttons.h"

namespace qx::device {

// What the tray shows for the connection: the keyboard's presence, or the keyboard's short
// activity indicator over it.
enum class TrayState {
    kNoKeyboard,    // no keyboard attached
    kKeyboard,      // a keyboard attached
    kIndicatorOn,   // the keyboard lit its indicator
    kIndicatorOff,  // the indicator went out: the presence picture again
};

// The captions of the G-key buttons, in the order of keyboard::kGKeyButtonIds.
using GKeyCaptions = std::array<std::string, keyboard::kGKeyButtonCount>;

class ConnectionHost {
  public:
    virtual ~ConnectionHost() = default;

    // A keyboard was attached and read (default layout, macro capacity). Waits.
    virtual void KeyboardRead() = 0;
    // The last keyboard left; the current profile is forgotten already. Waits.
    virtual void LastKeyboardLeft() = 0;
    // The first keyboard since a start without "/Start": the window opens. Returns at once.
    virtual void FirstAttach() = 0;
    // The keyboard switched its G-key bank and the status report went out. Waits.
    virtual void GKeyBankSwitched() = 0;
    // Shows bank 0 or 1 on the bank indicator and the G-key buttons' captions.
    virtual void ShowGKeyBank(int bank, const GKeyCaptions& captions) = 0;
    // The keyboard changed its lighting with its own keys: the lighting is read again.
    virtual void LightingChanged() = 0;
    virtual void ShowTrayState(TrayState state) = 0;
    // A message the user must see (OK button, no title). May wait.
    virtual void ShowMessage(const std::string& text) = 0;
    // True once the main window has finished its initialisation.
    virtual bool IsInitDone() = 0;
};

}  // namespace qx::device
