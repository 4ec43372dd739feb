// The byte tables the keyboard leaves the factory with: its default key layout, the default
// lighting record, the default key-light layers and the lighting modes it announces.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace qx::sim {

inline constexpr size_t kKeyActionSize = 3;
inline constexpr size_t kLayoutPositions = 108;
inline constexpr size_t kLayoutSize = kLayoutPositions * kKeyActionSize;  // 324

inline constexpr size_t kDefaultLightingRecordSize = 35;
inline constexpr size_t kKeyLightLayerCount = 10;
inline constexpr size_t kKeyLightLayerSize = 18;
inline constexpr size_t kDefaultKeyLightSize = kKeyLightLayerCount * kKeyLightLayerSize;  // 180

inline constexpr size_t kModeSlotCount = 32;

// 108 key actions {kind, sub-kind, value}, positions in the keyboard's own order.
extern const std::array<uint8_t, kLayoutSize> kFactoryKeyLayout;
// The start of a lighting record after a lighting reset (the rest of the record is zero).
extern const std::array<uint8_t, kDefaultLightingRecordSize> kDefaultLightingRecord;
// Layers 0..9 of a key-light page, 18 bytes each (the rest of the page is zero).
extern const std::array<uint8_t, kDefaultKeyLightSize> kDefaultKeyLightLayers;
// The supported-mode slots of the state block: types 1..28, the per-key mode 254, then empty.
extern const std::array<uint8_t, kModeSlotCount> kFactoryModeSlots;

}  // namespace qx::sim
