// What the lighting panel needs of the main window it sits in: the window's image buttons (the
// keyboard view it frames and the report-rate buttons it marks), the key-assignment marks it
// hands the keyboard view back to, and the window's message target for the sliders.
#pragma once

#include <memory>

#include "platform/window_message.h"

namespace qx::skin {
class CPngButton;
}

namespace qx::lighting::panel {

class LightingPanelHost {
  public:
    virtual ~LightingPanelHost() = default;

    // The main window's image button with this control id: every key, G-key and Fn button of the
    // keyboard view (lighting::FramedButtons lists their ids) and the report-rate buttons
    // (kReportRateButtonIds). Null when the window has no such button.
    virtual skin::CPngButton* ImageButton(int controlId) = 0;

    // Shows the keyboard view's key-assignment marks (and captions) from the configuration image
    // again; called when the lighting panel switch goes off and the lighting frames are gone.
    virtual void RefreshKeyButtons() = 0;

    // The main window's message target: the sliders post the slider message there. Asked at each
    // post; null when the window has none (yet).
    virtual std::shared_ptr<platform::MessageTarget> WindowTarget() = 0;
};

}  // namespace qx::lighting::panel
