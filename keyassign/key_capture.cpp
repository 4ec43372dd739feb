#include "keyassign/key_capture.h"

namespace qx::keyassign {
namespace {

constexpr keyboard::KeyCode kPrintScreen = 0x137;
constexpr keyboard::KeyCode kLeftSuper = 0x15B;
constexpr keyboard::KeyCode kRightSuper = 0x15C;
constexpr keyboard::KeyCode kMenu = 0x15D;

bool IsSuperOrMenu(keyboard::KeyCode code) {
    return code == kLeftSuper || code == kRightSuper || code == kMenu;
}

}  // namespace

KeyCapture CaptureKeyEvent(const platform::Keystroke& keystroke, bool keyboardChoice) {
    const keyboard::KeyCode code = KeyCodeOfEvent(keystroke);
    if (IsLeftToSystem(code)) {
        return {};
    }
    const bool takes = code == kPrintScreen ? keystroke.IsRelease() : keystroke.IsFirstPress();
    if (takes && (keyboardChoice || IsSuperOrMenu(code))) {
        return {KeyEventVerdict::Swallow, code};
    }
    return {KeyEventVerdict::Swallow, keyboard::kNoKey};
}

}  // namespace qx::keyassign
