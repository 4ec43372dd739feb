// Key codes and table indexes.
//
// A key code is the key's make code in scan-code set 1, plus 0x100 when the make code comes with
// the E0 prefix (Home 0x147, Right Ctrl 0x11D). Pseudo-keys 0x110..0x17E name multimedia, mouse,
// system and function actions; 0x200..0x211 name the G keys (0x1FF + n for G key n = 1..18).
// The table index folds the two halves of the code space onto the 256 rows of the key table.
#pragma once

#include <array>
#include <cstdint>

namespace qx::keyboard {

using KeyCode = uint16_t;

inline constexpr KeyCode kNoKey = 0;
inline constexpr KeyCode kExtendedKeyBit = 0x100;  // E0-prefixed make codes
inline constexpr KeyCode kGKeyBase = 0x1FF;        // G key n is kGKeyBase + n
inline constexpr KeyCode kFirstGKeyCode = 0x200;
inline constexpr KeyCode kLastGKeyCode = 0x211;

inline constexpr int kKeyTableRows = 256;
inline constexpr int kDefinedKeyRows = 157;
inline constexpr int kLowIndexLimit = 128;  // indexes below this are the code itself
inline constexpr KeyCode kHighIndexShift = 0x80;
inline constexpr KeyCode kGKeyIndexShift = 0x100;

// The five mouse codes of the mouse list, in list order (also picker numbers 106..110).
inline constexpr KeyCode kMouseLeft = 0x171;
inline constexpr KeyCode kMouseRight = 0x172;
inline constexpr KeyCode kMouseMiddle = 0x173;
inline constexpr KeyCode kWheelUp = 0x161;
inline constexpr KeyCode kWheelDown = 0x162;
inline constexpr std::array<KeyCode, 5> kMouseCodes{kMouseLeft, kMouseRight, kMouseMiddle, kWheelUp,
                                                    kWheelDown};

// The eight modifier keys, in the order of their modifier bits 0x01..0x80.
inline constexpr std::array<KeyCode, 8> kModifierCodes{0x01D, 0x02A, 0x038, 0x15B,
                                                       0x11D, 0x036, 0x138, 0x15C};

// Table index of a key code: the code below 0x100, code − 0x80 up to 0x1FF, code − 0x100 from
// 0x200 on (256..273 for the G keys, used only as key-entry indexes).
constexpr int KeyIndexOfCode(KeyCode code) {
    if (code < kExtendedKeyBit) {
        return code;
    }
    if (code < kFirstGKeyCode) {
        return code - kHighIndexShift;
    }
    return code - kGKeyIndexShift;
}

// Key code of a table index below 256: the index below 128, else index + 0x80. Any other
// index has no key.
constexpr KeyCode KeyCodeOfIndex(int index) {
    if (index < 0 || index >= kKeyTableRows) {
        return kNoKey;
    }
    if (index < kLowIndexLimit) {
        return static_cast<KeyCode>(index);
    }
    return static_cast<KeyCode>(index + kHighIndexShift);
}

// True for the codes the recording hooks treat specially: Sys Req, KL, KR and Print Screen.
constexpr bool IsSpecialKeyCode(KeyCode code) {
    return code == 0x054 || code == 0x071 || code == 0x072 || code == 0x137;
}

}  // namespace qx::keyboard
