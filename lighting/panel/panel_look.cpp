#include "lighting/panel/panel_look.h"

#include <algorithm>
#include <array>

#include "lighting/lighting_layout.h"
#include "lighting/mode_capabilities.h"
#include "skin/skin_files.h"

namespace qx::lighting::panel {
namespace {

namespace files = skin::files;

// These types sit their direction controls at the skin's alternative places.
constexpr std::array<int, 3> kAlternativePlaceTypes{1, 2, 3};

struct DirectionPlaces {
    std::string_view label;
    std::string_view first;
    std::string_view second;
};
constexpr DirectionPlaces kUsualPlaces{"CONTROL_BLFXStatic", "CONTROL_BLFXLStaPic",
                                       "CONTROL_BLFXRStaPic"};
constexpr DirectionPlaces kAlternativePlaces{"CONTROL_BLFXStatic2", "CONTROL_BLFXLStaPic2",
                                             "CONTROL_BLFXRStaPic2"};

// The four pictures of a direction pair: each control released and pressed.
struct DirectionPictures {
    std::string_view firstReleased;
    std::string_view firstPressed;
    std::string_view secondReleased;
    std::string_view secondPressed;
};
constexpr DirectionPictures kLeftRight{files::kLeftReleased, files::kLeftPressed,
                                       files::kRightReleased, files::kRightPressed};
constexpr DirectionPictures kSpreadConverge{files::kSpreadReleased, files::kSpreadPressed,
                                            files::kConvergeReleased, files::kConvergePressed};
constexpr DirectionPictures kUpDown{files::kUpReleased, files::kUpPressed, files::kDownReleased,
                                    files::kDownPressed};

const DirectionPictures& PicturesOfPair(DirectionPair pair) {
    switch (pair) {
        case DirectionPair::kSpreadConverge:
            return kSpreadConverge;
        case DirectionPair::kUpDown:
            return kUpDown;
        case DirectionPair::kLeftRight:
        case DirectionPair::kNone:
            break;
    }
    return kLeftRight;
}

int ClampedPosition(int position) {
    return std::clamp(position, 0, kMaxSliderPosition);
}

}  // namespace

PanelVisibility VisibilityFor(bool switchOn, int type) {
    if (!switchOn) {
        return {};
    }
    const auto capabilities = CapabilitiesOfMode(type);
    if (!capabilities) {
        return PanelVisibility{.modeList = true};
    }
    return PanelVisibility{.modeList = true,
                           .brightness = capabilities->brightness,
                           .speed = capabilities->speed,
                           .direction = capabilities->direction != DirectionPair::kNone,
                           .perKey = capabilities->perKeyTools};
}

bool IsGroupShown(PanelGroup group, const PanelVisibility& visibility, bool progressShown) {
    switch (group) {
        case PanelGroup::kAlways:
            return true;
        case PanelGroup::kModeList:
            return visibility.modeList;
        case PanelGroup::kBrightness:
            return visibility.brightness;
        case PanelGroup::kSpeed:
            return visibility.speed;
        case PanelGroup::kDirection:
            return visibility.direction;
        case PanelGroup::kPerKey:
            return visibility.perKey;
        case PanelGroup::kProgress:
            return progressShown;
        case PanelGroup::kHidden:
            break;
    }
    return false;
}

DirectionLook DirectionLookFor(int type, uint8_t direction) {
    const bool alternative =
        std::ranges::find(kAlternativePlaceTypes, type) != kAlternativePlaceTypes.end();
    const DirectionPlaces& places = alternative ? kAlternativePlaces : kUsualPlaces;
    const auto capabilities = CapabilitiesOfMode(type);
    const DirectionPictures& pictures =
        PicturesOfPair(capabilities ? capabilities->direction : DirectionPair::kNone);
    const bool firstPressed = direction == kDirectionFirst;
    return DirectionLook{
        .labelKey = places.label,
        .firstKey = places.first,
        .secondKey = places.second,
        .firstPicture = firstPressed ? pictures.firstPressed : pictures.firstReleased,
        .secondPicture = firstPressed ? pictures.secondReleased : pictures.secondPressed};
}

std::array<std::string_view, 6> DirectionPlaceKeys() {
    return {kUsualPlaces.label,       kUsualPlaces.first,       kUsualPlaces.second,
            kAlternativePlaces.label, kAlternativePlaces.first, kAlternativePlaces.second};
}

std::string_view LampPicture(bool on) {
    return on ? files::kLampOn : files::kLampOff;
}

std::string_view CheckPicture(bool on) {
    return on ? files::kCheckOn : files::kCheckOff;
}

std::pair<std::string_view, std::string_view> ToolPictures(int tool) {
    const bool erase = tool == kToolErase;
    return {erase ? files::kPaintReleased : files::kPaintPressed,
            erase ? files::kErasePressed : files::kEraseReleased};
}

std::pair<std::string_view, std::string_view> LayerFillPictures(LayerFill fill) {
    return {CheckPicture(fill == LayerFill::kAllOff), CheckPicture(fill == LayerFill::kAllOn)};
}

std::string NumberedPicture(std::string_view prefix, int number) {
    std::string name(prefix);
    name += std::to_string(number);
    name += files::kBitmapSuffix;
    return name;
}

std::string SliderChannelPicture(SliderChannel channel, int position) {
    const int first = channel == SliderChannel::kBrightness ? files::kBrightnessChannelFirst
                                                            : files::kSpeedChannelFirst;
    return NumberedPicture("", first + ClampedPosition(position));
}

std::string ProgressFramePicture(int frame) {
    const int inCycle =
        ((frame % files::kProgressFrames) + files::kProgressFrames) % files::kProgressFrames;
    return NumberedPicture(files::kProgressFramePrefix, inCycle + 1);
}

std::vector<std::string> PanelBitmapNames() {
    std::vector<std::string> names(files::kLightingBitmaps.begin(), files::kLightingBitmaps.end());
    for (int frame = 0; frame < files::kProgressFrames; ++frame) {
        names.push_back(ProgressFramePicture(frame));
    }
    for (int number = 0; number < files::kSliderChannelPictures; ++number) {
        names.push_back(NumberedPicture("", number));
    }
    return names;
}

}  // namespace qx::lighting::panel
