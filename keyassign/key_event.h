// The key code of a keyboard event, shared by the single-key capture and the macro recording,
// and what their keyboard filters do with an event.
#pragma once

#include <cstdint>

#include "keyboard/key_code.h"
#include "platform/keystroke.h"

namespace qx::keyassign {

// What a keyboard filter does with an event: hand it on to the window or take it.
enum class KeyEventVerdict : uint8_t { PassOn, Swallow };

// The key code of a virtual key and its keystroke flags (platform/keystroke.h), 0 when none.
// With v the virtual key's low byte, s the flags' bits 16..24 (scan code plus the extended bit)
// and b the key of v (keyboard::KeyCodeOfVirtualKey):
//   1. s = 0x36 gives Right Shift, which shares its virtual key with Left Shift;
//   2. a symbol without a virtual key (0xFF) gives s;
//   3. without a scan code (low byte of s 0) b is given;
//   4. s is given when its key-table row has v as first or second virtual key, or when b is the
//      same key as s; otherwise b, the key the layout put on that place.
keyboard::KeyCode KeyCodeOfEvent(uint32_t virtualKey, uint32_t keystrokeFlags);

inline keyboard::KeyCode KeyCodeOfEvent(const platform::Keystroke& keystroke) {
    return KeyCodeOfEvent(keystroke.virtualKey, keystroke.flags);
}

// Events that give code 0, or one of the 18 keys of the multimedia list, are left to the window
// and the desktop by both filters.
bool IsLeftToSystem(keyboard::KeyCode code);

}  // namespace qx::keyassign
