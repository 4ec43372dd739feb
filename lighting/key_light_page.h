// Addressing inside a key-light page: a key with lighting index i is lit in layer L when bit
// (i mod 8) of byte L × 18 + (i div 8) is set. Only indexes 0..143 have a place in the matrix;
// 255 marks a key without an LED.
#pragma once

#include <cstddef>
#include <cstdint>

#include "lighting/lighting_layout.h"

namespace qx::lighting {

constexpr bool IsLayer(int layer) {
    return layer >= 0 && layer < kLayerCount;
}

constexpr bool HasLedPosition(int lightingIndex) {
    return lightingIndex >= 0 && lightingIndex < kLedCount;
}

// Offset of layer L in the page.
constexpr std::size_t LayerOffset(int layer) {
    return static_cast<std::size_t>(layer) * kLayerSize;
}

// The page byte and bit of lighting index i in layer L (both must be valid).
constexpr std::size_t KeyBitByte(int layer, int lightingIndex) {
    return LayerOffset(layer) + static_cast<std::size_t>(lightingIndex / kLedsPerByte);
}
constexpr uint8_t KeyBitMask(int lightingIndex) {
    return static_cast<uint8_t>(1U << (lightingIndex % kLedsPerByte));
}

// False for an invalid layer and for a key without a place in the matrix.
bool IsKeyLit(const KeyLightPage& page, int layer, int lightingIndex);

// The page byte after painting (lit) or erasing (not lit) key i in its byte.
constexpr uint8_t WithKeyBit(uint8_t byte, int lightingIndex, bool lit) {
    const uint8_t mask = KeyBitMask(lightingIndex);
    return lit ? static_cast<uint8_t>(byte | mask) : static_cast<uint8_t>(byte & ~mask);
}

}  // namespace qx::lighting
