// What the lighting operations show: the lighting panel and the keyboard view implement this,
// the model calls it. Every call states the new look; none asks anything back, and none may call
// into the model again.
#pragma once

#include <cstdint>
#include <string>

namespace qx::lighting {

// The two check pictures of the per-key group ("all keys on", "all keys off").
enum class LayerFill {
    kNeither,  // both pictures released (another layer was chosen)
    kAllOn,
    kAllOff,
};

class LightingView {
  public:
    virtual ~LightingView() = default;

    // ---- Mode list --------------------------------------------------------------------------
    virtual void ClearModeList() = 0;
    // Appends the next item; items are added in mode-table order.
    virtual void AddMode(int type, const std::string& name) = 0;
    // Selects item `index`; -1 clears the selection.
    virtual void SelectModeItem(int index) = 0;
    // The controls, their placement and the direction pictures for the selected mode type and
    // the direction byte (the panel applies its visibility rules, which also consult the panel
    // switch). `type` is -1 when no mode is selected.
    virtual void ShowModeControls(int type, uint8_t direction) = 0;

    // ---- Parameters -------------------------------------------------------------------------
    // Slider positions 0..4 (the speed slider already turned: position = 4 - speed).
    virtual void SetSliderPositions(int brightnessPosition, int speedPosition) = 0;
    virtual void SelectLayerItem(int layer) = 0;
    virtual void ShowTool(int tool) = 0;
    virtual void ShowLayerFill(LayerFill fill) = 0;
    virtual void ShowReportRate(int rate) = 0;
    virtual void ShowPanelSwitch(bool on) = 0;

    // ---- Keyboard view ----------------------------------------------------------------------
    // Frame the button in white (lit) or black (not lit).
    virtual void SetKeyFrame(int controlId, bool lit) = 0;
    // Every button back to its picture, frames off.
    virtual void ClearFrames() = 0;
};

// For callers without a panel (the command-line tool).
class NullLightingView final : public LightingView {
  public:
    void ClearModeList() override {}
    void AddMode(int /*type*/, const std::string& /*name*/) override {}
    void SelectModeItem(int /*index*/) override {}
    void ShowModeControls(int /*type*/, uint8_t /*direction*/) override {}
    void SetSliderPositions(int /*brightnessPosition*/, int /*speedPosition*/) override {}
    void SelectLayerItem(int /*layer*/) override {}
    void ShowTool(int /*tool*/) override {}
    void ShowLayerFill(LayerFill /*fill*/) override {}
    void ShowReportRate(int /*rate*/) override {}
    void ShowPanelSwitch(bool /*on*/) override {}
    void SetKeyFrame(int /*controlId*/, bool /*lit*/) override {}
    void ClearFrames() override {}
};

}  // namespace qx::lighting
