#include "sim/keyboard_memory.h"

#include <algorithm>

namespace qx::sim {
namespace {

constexpr uint8_t kNamesIncluded = 1;

void PutLe16(std::span<uint8_t> at, uint16_t value) {
    at[0] = static_cast<uint8_t>(value & 0xFF);
    at[1] = static_cast<uint8_t>(value >> 8);
}

void WriteEmptyMacroTable(std::span<uint8_t> area) {
    PutLe16(area.subspan(0, 2), kMacroTableMagic);
    PutLe16(area.subspan(2, 2), kMacroTableHeaderSize);
    PutLe16(area.subspan(4, 2), 0);
    PutLe16(area.subspan(6, 2), kNamesIncluded);
}

template <typename Byte, typename Memory>
std::span<Byte> AreaBytes(Memory& m, Area area) {
    switch (area) {
        case Area::kStateBlock:
            return m.stateBlock;
        case Area::kDefaultLayout:
            return m.defaultLayout;
        case Area::kProfileLayouts:
            return m.profileLayouts;
        case Area::kLighting:
            return m.lighting;
        case Area::kKeyLight:
            return m.keyLight;
        case Area::kMacroTable:
            return m.macroTable;
    }
    return {};
}

}  // namespace

KeyboardMemory KeyboardMemory::Factory() {
    KeyboardMemory m;
    m.stateBlock[kStateProfileByte] = 0;
    m.stateBlock[kStateMacroUnitsByte] = kFactoryMacroUnits;
    std::ranges::copy(kFactoryModeSlots, m.stateBlock.begin() + kStateModeSlotsAt);
    m.defaultLayout = kFactoryKeyLayout;
    for (size_t p = 0; p < kProfileCount; ++p) {
        std::ranges::copy(kFactoryKeyLayout, m.profileLayouts.begin() + p * kLayoutSize);
        std::ranges::copy(kDefaultLightingRecord, m.lighting.begin() + p * kLightingRecordSize);
        std::ranges::copy(kDefaultKeyLightLayers, m.keyLight.begin() + p * kKeyLightPageSize);
    }
    WriteEmptyMacroTable(m.macroTable);
    return m;
}

std::span<const uint8_t> KeyboardMemory::Bytes(Area area) const {
    return AreaBytes<const uint8_t>(*this, area);
}

std::span<uint8_t> KeyboardMemory::Bytes(Area area) {
    return AreaBytes<uint8_t>(*this, area);
}

size_t KeyboardMemory::ReachableSize(Area area) const {
    return area == Area::kMacroTable ? MacroAreaSize() : Bytes(area).size();
}

}  // namespace qx::sim
