#include "platform/qt_keystroke.h"

#include <QKeyEvent>

#include "platform/native_scan_codes.h"

namespace qx::platform {

Keystroke KeystrokeOfEvent(const QKeyEvent& event) {
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    KeyTransition transition = KeyTransition::Press;
    if (event.isAutoRepeat()) {
        transition = KeyTransition::Repeat;
    } else if (event.type() == QEvent::KeyRelease) {
        transition = KeyTransition::Release;
    }
    return KeystrokeOfNativeKey(
        event.nativeScanCode(),
        VirtualKeyOfQtKey(event.key(), modifiers.testFlag(Qt::KeypadModifier)),
        KeyModifiers{modifiers.testFlag(Qt::ControlModifier), modifiers.testFlag(Qt::AltModifier)},
        transition);
}

}  // namespace qx::platform
