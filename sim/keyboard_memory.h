// The keyboard's memory: every area the command packets reach, as plain bytes.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "sim/device_tables.h"

namespace qx::sim {

inline constexpr size_t kStateBlockSize = 48;
inline constexpr size_t kStateProfileByte = 10;     // the active onboard profile, 0..2
inline constexpr size_t kStateMacroUnitsByte = 11;  // macro table area in units of 128 bytes
inline constexpr size_t kStateModeSlotsAt = 16;     // 32 supported-mode slots
inline constexpr uint8_t kProfileCount = 3;
inline constexpr uint8_t kFactoryMacroUnits = 32;  // 4096 bytes of macro table
inline constexpr size_t kMacroUnitSize = 128;
inline constexpr size_t kMacroAreaCapacity = 255 * kMacroUnitSize;  // the most byte 11 announces

inline constexpr size_t kProfileLayoutsSize = kProfileCount * kLayoutSize;  // 972
inline constexpr size_t kLightingRecordSize = 42;
inline constexpr size_t kLightingAreaSize = kProfileCount * kLightingRecordSize;  // 126
inline constexpr size_t kKeyLightPageSize = 256;
inline constexpr size_t kKeyLightAreaSize = kProfileCount * kKeyLightPageSize;  // 768

// The empty device macro table: magic 0x55AA, size 16, count 0, names flag 1, reserved 0.
inline constexpr size_t kMacroTableHeaderSize = 16;
inline constexpr uint16_t kMacroTableMagic = 0x55AA;

// The areas of the keyboard's memory.
enum class Area : uint8_t {
    kStateBlock,
    kDefaultLayout,
    kProfileLayouts,
    kLighting,
    kKeyLight,
    kMacroTable,
};

struct KeyboardMemory {
    std::array<uint8_t, kStateBlockSize> stateBlock{};
    std::array<uint8_t, kLayoutSize> defaultLayout{};
    std::array<uint8_t, kProfileLayoutsSize> profileLayouts{};
    std::array<uint8_t, kLightingAreaSize> lighting{};
    std::array<uint8_t, kKeyLightAreaSize> keyLight{};
    std::array<uint8_t, kMacroAreaCapacity> macroTable{};

    // The content the keyboard leaves the factory with.
    static KeyboardMemory Factory();

    // The whole storage of an area (the macro table's full capacity).
    std::span<uint8_t> Bytes(Area area);
    std::span<const uint8_t> Bytes(Area area) const;
    // The part of an area the command packets may reach: the macro table area is what state
    // block byte 11 announces, every other area is its whole storage.
    size_t ReachableSize(Area area) const;

    uint8_t ActiveProfile() const { return stateBlock[kStateProfileByte]; }
    size_t MacroAreaSize() const { return stateBlock[kStateMacroUnitsByte] * kMacroUnitSize; }

    friend bool operator==(const KeyboardMemory&, const KeyboardMemory&) = default;
};

}  // namespace qx::sim
