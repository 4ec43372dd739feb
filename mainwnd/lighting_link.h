// The lighting panel wired into the main window: the panel component of lighting/panel/ made
// over the window's skin with this link as its host, and the lighting model that drives it once
// the device session exists. The window hands the panel its messages (the sliders' 0x28d1, the
// language, a profile switch, the keyboard's own lighting changes); the panel reaches the
// window's image buttons, key-assignment marks and message target through the link.
#pragma once

#include <functional>
#include <memory>

#include "lighting/panel/lighting_panel.h"
#include "lighting/panel/lighting_panel_host.h"

class QWidget;

namespace qx::device {
class DeviceCommands;
}
namespace qx::lighting {
class LightingModel;
}

namespace qx::mainwnd {

class KeyView;
class MainControls;

class LightingLink final : private lighting::panel::LightingPanelHost {
  public:
    using TargetOfWindow = std::function<std::shared_ptr<platform::MessageTarget>()>;

    // The panel's controls go on top of the window's buttons, so it is made after them.
    LightingLink(QWidget& window, lighting::panel::PanelSkin skin, const MainControls& controls,
                 KeyView& keyView, TargetOfWindow windowTarget);
    ~LightingLink() override;
    LightingLink(const LightingLink&) = delete;
    LightingLink& operator=(const LightingLink&) = delete;

    // The lighting model over the session's commands, with the panel as its view.
    void Connect(device::DeviceCommands& commands);
    // The connection stops: the model goes, and the panel's controls change nothing any more.
    void Disconnect();
    // The lighting of `profile` read from the keyboard and shown (the panel shows its model's
    // state even without a model).
    void ShowLightingOf(int profile);
    // The default button: the lighting goes back to its defaults while the panel's switch is on.
    void ResetWhileSwitchOn();

    [[nodiscard]] lighting::panel::LightingPanel& Panel() { return *panel_; }
    [[nodiscard]] lighting::LightingModel* Model() { return model_.get(); }

  private:
    // lighting::panel::LightingPanelHost
    skin::CPngButton* ImageButton(int controlId) override;
    void RefreshKeyButtons() override;
    std::shared_ptr<platform::MessageTarget> WindowTarget() override;

    const MainControls& controls_;
    KeyView& keyView_;
    TargetOfWindow windowTarget_;
    std::unique_ptr<lighting::panel::LightingPanel> panel_;
    // Destroyed before the panel that is its view.
    std::unique_ptr<lighting::LightingModel> model_;
};

}  // namespace qx::mainwnd
