// The device macro table: every applied macro in the keyboard's own format, shared by the three
// onboard profiles (little-endian).
//
//   0  magic 0x55AA   2  total size in bytes   4  macro count N   6  names flag (1 with names)
//   8  reserved (zero)   16  N offsets of the macros from the table's start
// A macro: action count E (16-bit), repeat count (8-bit), name length L in UTF-16 units (8-bit,
// 0 without names), E actions of 4 bytes, then L name units without terminator (with names).
// An action: a 16-bit word (bits 0..11 delay in units of 10 ms, bits 12..14 the key action's
// kind, bit 15 set for a press) and the key action's two bytes.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "device/transfer/key_action.h"
#include "keyboard/macro_record.h"

namespace qx::device {

inline constexpr uint16_t kMacroTableMagic = 0x55AA;
inline constexpr std::size_t kTableMagicOffset = 0;
inline constexpr std::size_t kTableSizeOffset = 2;
inline constexpr std::size_t kTableCountOffset = 4;
inline constexpr std::size_t kTableNamesFlagOffset = 6;
inline constexpr std::size_t kTableHeaderSize = 16;  // bytes 8..15 are reserved and left zero
inline constexpr std::size_t kTableOffsetSize = 2;
inline constexpr uint16_t kNamesIncluded = 1;
inline constexpr uint16_t kNamesOmitted = 0;
inline constexpr std::size_t kMaxMacroTableSize = 0xFFFF;  // the size field is 16-bit

inline constexpr std::size_t kMacroHeadSize = 4;
inline constexpr std::size_t kMacroRepeatOffset = 2;
inline constexpr std::size_t kMacroNameLengthOffset = 3;
inline constexpr std::size_t kDeviceActionSize = 4;
inline constexpr std::size_t kNameUnitSize = 2;

inline constexpr uint16_t kActionDelayMask = 0x0FFF;
inline constexpr int kActionKindShift = 12;
inline constexpr uint16_t kActionKindMask = 0x7;
inline constexpr uint16_t kActionPressBit = 0x8000;
inline constexpr int32_t kDelayUnitMs = 10;

using DeviceMacroAction = std::array<uint8_t, kDeviceActionSize>;

// 16 + 2N + Σ(4 + 4E + 2L) with names, 16 + 2N + Σ(4 + 4E) without.
std::size_t MacroTableSize(std::span<const keyboard::MacroRecord> macros, bool withNames);

// Writes the table of `macros` in list order into `table`, which must be exactly
// MacroTableSize bytes (at most 0xFFFF). False, with nothing written, otherwise.
bool EncodeMacroTable(std::span<const keyboard::MacroRecord> macros, std::span<uint8_t> table,
                      bool withNames);

// One macro action in the keyboard's format: the delay rounded down to 10 ms (a negative delay
// is taken as 0) and cut to 12 bits; the key by its device class (keyboard: modifier bit or
// device code; system: its usage; mouse: its mouse action; anything else kind 0 with 00 00).
DeviceMacroAction EncodeMacroAction(const keyboard::MacroAction& action);
keyboard::MacroAction DecodeMacroAction(std::span<const uint8_t, kDeviceActionSize> bytes);

// The macro records of a table read from the keyboard: record i gets id i + 1, the repeat
// count, cleared flags, the actions and the name, or when the table carries none, `namePrefix`
// followed by i + 1. The table is outside data: the count, offsets, action counts and name
// lengths are cut to what the table (as long as the smaller of its buffer and its size field)
// holds and to the record limits (100 macros, 2000 actions, 249 name units).
std::vector<keyboard::MacroRecord> DecodeMacroTable(std::span<const uint8_t> table,
                                                    std::u16string_view namePrefix);

// The same with the current language's "MACRO_NEW_PREFIX" as the prefix.
std::vector<keyboard::MacroRecord> DecodeMacroTable(std::span<const uint8_t> table);

}  // namespace qx::device
