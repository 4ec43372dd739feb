// The key buttons of the main window's keyboard view and their lighting positions, and the nine
// G-key buttons with their key entries in the two G-key banks.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "keyboard/key_code.h"

namespace qx::keyboard {

struct KeyButton {
    int controlId;
    std::string_view name;  // the key's short name in the keyboard view
    KeyCode keyCode;
    uint8_t lightingIndex;  // LED column × 8 + row (0..143); kNoLed: the key has no LED
};

inline constexpr uint8_t kNoLed = 255;
inline constexpr int kKeyButtonCount = 107;
inline constexpr int kFnButtonId = 1174;
inline constexpr uint8_t kFnLightingIndex = 45;

// The 107 key buttons in the view's order.
const std::array<KeyButton, kKeyButtonCount>& KeyButtons();

// The key button with that control id; nothing for any other id.
std::optional<KeyButton> KeyButtonOfId(int controlId);

// The lighting index of a key button; kFnLightingIndex for the Fn button; 0 for any other
// control, the G-key buttons included.
uint8_t LightingIndexOfButton(int controlId);

// G-key buttons: button j (0..8) stands for key entry 256 + j in bank 0 and 265 + j in bank 1;
// the default assignment of those entries carries the G code 0x301 + j / 0x1301 + j.
inline constexpr int kGKeyButtonCount = 9;
inline constexpr int kGKeyBanks = 2;
inline constexpr std::array<int, kGKeyButtonCount> kGKeyButtonIds{1000, 1001, 1002, 1003, 1004,
                                                                  1140, 1141, 1142, 1143};
inline constexpr int kFirstGKeyEntry = 256;
inline constexpr int kGKeyEntryCount = kGKeyButtonCount * kGKeyBanks;  // entries 256..273
inline constexpr std::array<uint16_t, kGKeyBanks> kGKeyCodeBase{0x301, 0x1301};

// The button position 0..8 of a G-key button id; nothing for any other id.
std::optional<int> GKeyButtonPosition(int controlId);

// Key entry of G-key button j (0..8) in bank 0 or 1.
constexpr int GKeyEntryIndex(int button, int bank) {
    return kFirstGKeyEntry + bank * kGKeyButtonCount + button;
}

// Default G code of G-key button j (0..8) in bank 0 or 1.
constexpr uint16_t GKeyDefaultCode(int button, int bank) {
    return static_cast<uint16_t>(kGKeyCodeBase[static_cast<std::size_t>(bank)] + button);
}

}  // namespace qx::keyboard
