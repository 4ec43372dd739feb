// Qt key events as keystrokes (platform/keystroke.h): the scan code from the event's native key
// code (platform/native_scan_codes.h), the virtual key from its key symbol, so that a key that
// the layout moved is still named by what it types.
#pragma once

#include <cstdint>

#include "platform/keystroke.h"

class QKeyEvent;

namespace qx::platform {

// The virtual key of a Qt key symbol (Qt::Key); `keypad` for a symbol of the numeric keypad.
// kNoVirtualKey for a symbol without one: shifted symbols, symbols of other layouts, dead keys.
uint8_t VirtualKeyOfQtKey(int key, bool keypad);

// The keystroke of a key press or release. Qt hands on each automatic repeat as a release and a
// press, both flagged; both become a repeat, so that a held key is one press and one release.
Keystroke KeystrokeOfEvent(const QKeyEvent& event);

}  // namespace qx::platform
