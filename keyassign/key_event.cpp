#include "keyassign/key_event.h"

#include "keyboard/key_lookup.h"
#include "keyboard/key_table.h"
#include "keyboard/media_tables.h"

namespace qx::keyassign {
namespace {

constexpr keyboard::KeyCode kRightShift = 0x036;
constexpr uint16_t kLowByte = 0xFF;

}  // namespace

keyboard::KeyCode KeyCodeOfEvent(uint32_t virtualKey, uint32_t keystrokeFlags) {
    const auto v = static_cast<uint8_t>(virtualKey & kLowByte);
    const keyboard::KeyCode s = platform::Keystroke{v, keystrokeFlags}.ScanCode();
    if (s == kRightShift) {
        return kRightShift;
    }
    if (v == platform::kNoVirtualKey) {
        return s;
    }
    const keyboard::KeyCode b = keyboard::KeyCodeOfVirtualKey(v);
    const int place = s & kLowByte;
    if (place == 0) {
        return b;
    }
    const keyboard::KeyRow& row = keyboard::KeyRowOfCode(s);
    const bool sameKey = row.vk == v || row.secondVk == v || keyboard::KeyIndexOfCode(b) == place;
    return sameKey ? s : b;
}

bool IsLeftToSystem(keyboard::KeyCode code) {
    return code == keyboard::kNoKey || keyboard::MultimediaIndexOfKeyCode(code).has_value();
}

}  // namespace qx::keyassign
