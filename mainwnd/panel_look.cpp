#include "mainwnd/panel_look.h"

#include <algorithm>
#include <array>

#include "lighting/lighting_layout.h"
#include "lighting/mode_capabilities.h"
#include "skin/skin_files.h"

namespace qx::mainwnd {
namespace {

namespace files = skin::files;

// The mode types whose direction controls move to their second skin places.
constexpr std::array<int, 3> kAlternativePlaceTypes{1, 2, 3};

void ChooseDirectionPictures(PanelLook& look, lighting::DirectionPair pair, uint8_t direction) {
    const bool first = direction == lighting::kDirectionFirst;
    switch (pair) {
        case lighting::DirectionPair::kSpreadConverge:
            look.firstPicture = first ? files::kSpreadPressed : files::kSpreadReleased;
            look.secondPicture = first ? files::kConvergeReleased : files::kConvergePressed;
            break;
        case lighting::DirectionPair::kUpDown:
            look.firstPicture = first ? files::kUpPressed : files::kUpReleased;
            look.secondPicture = first ? files::kDownReleased : files::kDownPressed;
            break;
        default:
            look.firstPicture = first ? files::kLeftPressed : files::kLeftReleased;
            look.secondPicture = first ? files::kRightReleased : files::kRightPressed;
            break;
    }
}

}  // namespace

PanelLook PanelLookFor(bool switchOn, int type, uint8_t direction) {
    PanelLook look;
    const auto capabilities = lighting::CapabilitiesOfMode(type);
    const lighting::DirectionPair pair =
        capabilities ? capabilities->direction : lighting::DirectionPair::kNone;
    look.alternativePlace =
        std::ranges::find(kAlternativePlaceTypes, type) != kAlternativePlaceTypes.end();
    ChooseDirectionPictures(look, pair, direction);
    if (!switchOn || !capabilities) {
        return look;
    }
    look.modeList = true;
    look.brightness = capabilities->brightness;
    look.speed = capabilities->speed;
    look.direction = pair != lighting::DirectionPair::kNone;
    look.perKey = capabilities->perKeyTools;
    return look;
}

}  // namespace qx::mainwnd
