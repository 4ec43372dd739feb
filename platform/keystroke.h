// A key event in the form the key assignment window's capture and macro recording read: a
// Windows virtual-key code and 32-bit keystroke flags laid out as a keyboard hook receives them.
//
//   bits  0..15  repeat count (1)
//   bits 16..23  the key's make code in scan-code set 1
//   bit  24      extended key: the make code comes with the E0 prefix
//   bit  30      previous state: the key was already down (an automatic repeat), or a release
//   bit  31      transition: the key is being released
//
// Bits 16..24 together are therefore the key's key code in the key table's keyboard half (Home
// 0x147). Qt-free, so the rules that read the flags are tested without a display.
#pragma once

#include <cstdint>

namespace qx::platform {

// A key symbol with no virtual key: the scan code alone names the key.
inline constexpr uint8_t kNoVirtualKey = 0xFF;

inline constexpr uint32_t kRepeatCountMask = 0x0000FFFF;
inline constexpr int kScanCodeShift = 16;
inline constexpr uint32_t kScanCodeFieldMask = 0x1FF;  // make code and extended bit
inline constexpr uint32_t kExtendedKeyFlag = 1U << 24;
inline constexpr uint32_t kPreviousStateFlag = 1U << 30;
inline constexpr uint32_t kTransitionFlag = 1U << 31;

// A set-1 make code plus this when it comes with the E0 prefix.
inline constexpr uint16_t kExtendedScanCode = 0x100;

// A first press, an automatic repeat (the key is held) or a release.
enum class KeyTransition : uint8_t { Press, Repeat, Release };

struct Keystroke {
    uint8_t virtualKey = kNoVirtualKey;
    uint32_t flags = 0;

    // Bits 16..24: the make code plus kExtendedScanCode for an E0 key; 0 when unknown.
    constexpr uint16_t ScanCode() const {
        return static_cast<uint16_t>((flags >> kScanCodeShift) & kScanCodeFieldMask);
    }
    constexpr bool IsRelease() const { return (flags & kTransitionFlag) != 0; }
    // A press of a key that was already down.
    constexpr bool IsRepeat() const { return !IsRelease() && (flags & kPreviousStateFlag) != 0; }
    constexpr bool IsFirstPress() const {
        return (flags & (kTransitionFlag | kPreviousStateFlag)) == 0;
    }

    friend bool operator==(const Keystroke&, const Keystroke&) = default;
};

// The keystroke of a key with that virtual key and scan code (make code plus kExtendedScanCode
// for an E0 key; only the low nine bits count).
constexpr Keystroke MakeKeystroke(uint8_t virtualKey, uint16_t scanCode, KeyTransition transition) {
    uint32_t flags = 1U | ((uint32_t{scanCode} & kScanCodeFieldMask) << kScanCodeShift);
    if (transition != KeyTransition::Press) {
        flags |= kPreviousStateFlag;
    }
    if (transition == KeyTransition::Release) {
        flags |= kTransitionFlag;
    }
    return Keystroke{virtualKey, flags};
}

}  // namespace qx::platform
