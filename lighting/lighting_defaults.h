// What a lighting reset installs: the default key-light layers of the current profile's page and
// the start of its lighting record.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "lighting/lighting_layout.h"

namespace qx::lighting {

// Layers 0..9, 18 bytes each.
extern const std::array<uint8_t, kLayersSize> kDefaultKeyLightLayers;

// The page a reset leaves: the default layers, zeros after them.
KeyLightPage DefaultKeyLightPage();

// Written over the first 35 bytes of the current profile's record: mode 1, brightness 4,
// speed 2, a white ribbon colour, everything else 0.
inline constexpr std::size_t kDefaultRecordSize = 35;
inline constexpr uint8_t kDefaultBrightness = 4;
inline constexpr uint8_t kDefaultSpeed = 2;
inline constexpr uint8_t kDefaultRibbonLevel = 255;  // each of red, green and blue

constexpr std::array<uint8_t, kDefaultRecordSize> MakeDefaultLightingRecord() {
    std::array<uint8_t, kDefaultRecordSize> record{};
    record[field::kModeType] = kResetModeType;
    record[field::kBrightness] = kDefaultBrightness;
    record[field::kSpeed] = kDefaultSpeed;
    for (std::size_t i = 0; i < 3; ++i) {
        record[field::kRibbonColour + i] = kDefaultRibbonLevel;
    }
    return record;
}
inline constexpr std::array<uint8_t, kDefaultRecordSize> kDefaultLightingRecord =
    MakeDefaultLightingRecord();

}  // namespace qx::lighting
