// The constant key table: one row per table index (256 rows, 157 of them defined) with the
// names, the virtual-key codes, the key-picker position and the keyboard's own code of a key.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "keyboard/key_code.h"

namespace qx::keyboard {

// Picker numbers: 0..110 are offered in key pickers; kOutsidePicker + n marks a key that is not;
// kNoPicker marks an empty row.
inline constexpr uint16_t kLastPickerNumber = 110;
inline constexpr uint16_t kPickerCount = kLastPickerNumber + 1;
inline constexpr uint16_t kOutsidePicker = 0x8000;
inline constexpr uint16_t kNoPicker = 0xFFFF;

struct KeyRow {
    KeyCode keyCode = kNoKey;  // KeyCodeOfIndex of the row's index; kNoKey for an empty row
    uint8_t vk = 0;            // Windows virtual-key code
    uint16_t picker = kNoPicker;
    std::string_view englishName;
    uint8_t secondVk = 0;          // the keypad digits and point with Num Lock off; else vk
    uint8_t deviceCode = 0;        // the keyboard firmware's code; 0 none
    std::string_view languageKey;  // section "TEXT" of the language file; empty: none

    constexpr bool IsDefined() const { return picker != kNoPicker; }
};

// All 256 rows, indexed by table index.
std::span<const KeyRow, kKeyTableRows> KeyTable();

// The row of a table index; an empty row for an index outside 0..255.
const KeyRow& KeyRowOfIndex(int index);

// The row of a key code's table index (empty when the code has none in the table).
const KeyRow& KeyRowOfCode(KeyCode code);

}  // namespace qx::keyboard
