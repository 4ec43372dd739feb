#include "lighting/mode_capabilities.h"

#include <algorithm>
#include <array>

#include "lighting/lighting_layout.h"

namespace qx::lighting {
namespace {

// The rows below are the table the panel shows; they are data, not rules.
constexpr ModeCapabilities kSweep{true, true, DirectionPair::kLeftRight, false};
constexpr ModeCapabilities kRadial{true, true, DirectionPair::kSpreadConverge, false};
constexpr ModeCapabilities kVertical{true, true, DirectionPair::kUpDown, false};
constexpr ModeCapabilities kAnimated{true, true, DirectionPair::kNone, false};
constexpr ModeCapabilities kSteady{true, false, DirectionPair::kNone, false};
constexpr ModeCapabilities kPerKey{true, false, DirectionPair::kNone, true};

constexpr std::array<ModeDescription, 29> kModes{{
    {1, kSweep},
    {2, kSweep},
    {3, kRadial},
    {4, kSweep},
    {5, kSteady},
    {6, kAnimated},
    {7, kSteady},
    {8, kAnimated},
    {9, kAnimated},
    {10, kAnimated},
    {11, kAnimated},
    {12, kAnimated},
    {13, kAnimated},
    {14, kAnimated},
    {15, kVertical},
    {16, kSweep},
    {17, kAnimated},
    {18, kAnimated},
    {19, kAnimated},
    {20, kAnimated},
    {21, kAnimated},
    {22, kAnimated},
    {23, kAnimated},
    {24, kAnimated},
    {25, kSteady},
    {26, kAnimated},
    {27, kSweep},
    {28, kSweep},
    {kPerKeyModeType, kPerKey},
}};

}  // namespace

std::span<const ModeDescription> DefinedModes() {
    return kModes;
}

std::optional<ModeCapabilities> CapabilitiesOfMode(int type) {
    const auto* found =
        std::ranges::find_if(kModes, [type](const ModeDescription& m) { return m.type == type; });
    if (found == kModes.end()) {
        return std::nullopt;
    }
    return found->capabilities;
}

bool IsDefinedModeType(int type) {
    return CapabilitiesOfMode(type).has_value();
}

}  // namespace qx::lighting
