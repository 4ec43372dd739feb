#include "keyassign/window/window_placement.h"

#include <optional>

namespace qx::keyassign::window {
namespace {

// Below the key when the screen has room there, else above it when there is room above.
std::optional<ScreenPoint> BelowOrAbove(const PlacementInput& in, int x) {
    if (in.screenHeight - in.key.bottom >= in.windowHeight) {
        return ScreenPoint{x, in.key.bottom};
    }
    if (in.key.top >= in.windowHeight) {
        return ScreenPoint{x, in.key.top - in.windowHeight};
    }
    return std::nullopt;
}

}  // namespace

ScreenPoint PlaceCompositeWindow(const PlacementInput& in) {
    if (in.macroOnly) {
        return {(in.screenWidth - in.windowWidth) / 2, (in.screenHeight - in.windowHeight) / 2};
    }
    if (in.screenWidth - in.key.right >= in.windowWidth) {
        if (const std::optional<ScreenPoint> place = BelowOrAbove(in, in.key.right)) {
            return *place;
        }
    }
    if (in.key.left >= in.windowWidth) {
        if (const std::optional<ScreenPoint> place =
                BelowOrAbove(in, in.key.left - in.windowWidth)) {
            return *place;
        }
    }
    return {in.key.right, in.key.bottom};
}

}  // namespace qx::keyassign::window
