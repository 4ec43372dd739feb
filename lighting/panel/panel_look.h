// What the lighting panel shows, decided apart from the widgets: which groups of controls are
// visible for the panel switch and the selected mode type, where the direction controls sit and
// which picture every picture control and slider shows. Qt-free.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "lighting/lighting_view.h"
#include "lighting/panel/panel_controls.h"

namespace qx::lighting::panel {

// ---- Visibility ---------------------------------------------------------------------------------
struct PanelVisibility {
    bool modeList = false;
    bool brightness = false;
    bool speed = false;
    bool direction = false;
    bool perKey = false;
    friend bool operator==(const PanelVisibility&, const PanelVisibility&) = default;
};

// The groups shown for mode type `type` (-1: no mode selected). With the switch off every group
// is hidden. With the switch on and no known type the mode list alone shows, so that a mode can
// still be chosen when the stored one is not in the keyboard's list.
PanelVisibility VisibilityFor(bool switchOn, int type);

// Whether a control of `group` shows; the progress picture follows the busy indicator instead
// (`progressShown`).
bool IsGroupShown(PanelGroup group, const PanelVisibility& visibility, bool progressShown);

// ---- Direction controls -------------------------------------------------------------------------
struct DirectionLook {
    // The skin keys the label and the two pictures are moved to (their size is kept).
    std::string_view labelKey;
    std::string_view firstKey;
    std::string_view secondKey;
    // The pictures of the first (1149) and the second (1150) direction control.
    std::string_view firstPicture;
    std::string_view secondPicture;
    friend bool operator==(const DirectionLook&, const DirectionLook&) = default;
};

// The places and pictures for mode type `type` and the record's direction byte (255: the first
// direction pressed, anything else the second).
DirectionLook DirectionLookFor(int type, uint8_t direction);

// Every skin key the direction controls are moved to: the usual and the alternative places.
std::array<std::string_view, 6> DirectionPlaceKeys();

// ---- Pictures -----------------------------------------------------------------------------------
std::string_view LampPicture(bool on);
std::string_view CheckPicture(bool on);

// Paint tool (1164) and erase tool (1165) pictures for the stored tool.
std::pair<std::string_view, std::string_view> ToolPictures(int tool);

// "All keys off" (1156) and "all keys on" (1207) pictures.
std::pair<std::string_view, std::string_view> LayerFillPictures(LayerFill fill);

enum class SliderChannel {
    kBrightness,  // "0.bmp".."4.bmp"
    kSpeed,       // "5.bmp".."9.bmp"
};

// The channel picture of a slider position 0..4 (outside that range: the nearest end).
std::string SliderChannelPicture(SliderChannel channel, int position);

// Frame `frame` (0..9, taken in a cycle) of the progress animation: "jdt1.bmp".."jdt10.bmp".
std::string ProgressFramePicture(int frame);

// A numbered bitmap of the skin folder: prefix, number, ".bmp".
std::string NumberedPicture(std::string_view prefix, int number);

// Every bitmap the panel loads from the skin folder at start-up.
std::vector<std::string> PanelBitmapNames();

}  // namespace qx::lighting::panel
