// The set-1 scan code of a key from the native key code of its event. On X11 and on Wayland the
// native code is the Linux input code + 8. Input codes 1..88 are the set-1 make codes themselves
// (Num Lock aside); the keys that set 1 sends with the E0 prefix, the few that differ and the
// media keys come from one table. Qt-free.
#pragma once

#include <cstdint>

#include "platform/keystroke.h"

namespace qx::platform {

// X11 and Wayland key codes are Linux input codes plus this.
inline constexpr uint32_t kNativeKeyCodeOffset = 8;

// The modifiers that change the code of a key: Alt makes Print Screen Sys Req, Ctrl makes Pause
// Break, as the keyboard's own scan codes do.
struct KeyModifiers {
    bool ctrl = false;
    bool alt = false;
};

// The make code plus kExtendedScanCode for an E0 key of a Linux input code; 0 when the key has
// no set-1 code of the key table.
uint16_t ScanCodeOfInputCode(uint32_t inputCode, KeyModifiers modifiers = {});

// The same for a native key code (input code + 8); 0 for a code below 8.
uint16_t ScanCodeOfNativeKey(uint32_t nativeCode, KeyModifiers modifiers = {});

// The keystroke of a native key event: the scan code from the native code, the virtual key of
// the event's symbol (kNoVirtualKey when it has none). A key that a modifier gave another code
// takes no virtual key: its symbol still names the unmodified key, so the scan code decides.
Keystroke KeystrokeOfNativeKey(uint32_t nativeCode, uint8_t symbolVirtualKey,
                               KeyModifiers modifiers, KeyTransition transition);

}  // namespace qx::platform
