// What the lighting panel offers for each mode type the keyboard defines: brightness, speed, a
// pair of direction buttons (and which pair), and the per-key tools. The panel's visibility rules
// read this table; nothing else decides what a mode shows.
#pragma once

#include <optional>
#include <span>

namespace qx::lighting {

enum class DirectionPair {
    kNone,
    kLeftRight,       // first = left, second = right
    kSpreadConverge,  // first = spread, second = converge
    kUpDown,          // first = up, second = down
};

struct ModeCapabilities {
    bool brightness = false;
    bool speed = false;
    DirectionPair direction = DirectionPair::kNone;
    bool perKeyTools = false;  // layers, paint and erase, all on, all off
};

struct ModeDescription {
    int type = 0;
    ModeCapabilities capabilities;
};

// Every mode type the keyboard defines (1..28 and the per-key mode 254), in type order.
std::span<const ModeDescription> DefinedModes();

// The capabilities of a defined type; nothing for any other type.
std::optional<ModeCapabilities> CapabilitiesOfMode(int type);

bool IsDefinedModeType(int type);

}  // namespace qx::lighting
