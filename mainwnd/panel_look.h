// What the lighting panel shows for a mode type: which control groups are visible, where the
// direction controls sit and which two direction pictures they show. The panel switch hides
// everything but the lamp, its label, the progress picture and the report-rate label. Qt-free.
#pragma once

#include <cstdint>
#include <string_view>

namespace qx::mainwnd {

struct PanelLook {
    bool modeList = false;
    bool brightness = false;        // label and slider
    bool speed = false;             // label and slider
    bool direction = false;         // label and both pictures
    bool perKey = false;            // tool label, both tools, layer list, both check pictures
    bool alternativePlace = false;  // the direction controls at their "...2" skin places
    std::string_view firstPicture;
    std::string_view secondPicture;
    friend bool operator==(const PanelLook&, const PanelLook&) = default;
};

// `type` -1: no mode selected. `direction` is the record's direction byte (255: the first).
PanelLook PanelLookFor(bool switchOn, int type, uint8_t direction);

}  // namespace qx::mainwnd
