#include "mainwnd/lighting_link.h"

#include <utility>

#include "lighting/lighting_model.h"
#include "mainwnd/key_view.h"
#include "mainwnd/main_controls.h"

namespace qx::mainwnd {

LightingLink::LightingLink(QWidget& window, lighting::panel::PanelSkin skin,
                           const MainControls& controls, KeyView& keyView,
                           TargetOfWindow windowTarget)
    : controls_(controls),
      keyView_(keyView),
      windowTarget_(std::move(windowTarget)),
      panel_(std::make_unique<lighting::panel::LightingPanel>(
          window, std::move(skin), static_cast<lighting::panel::LightingPanelHost&>(*this))) {}

LightingLink::~LightingLink() = default;

void LightingLink::Connect(device::DeviceCommands& commands) {
    model_ = std::make_unique<lighting::LightingModel>(commands, *panel_);
    panel_->SetModel(model_.get());
}

void LightingLink::Disconnect() {
    panel_->SetModel(nullptr);
    model_.reset();
}

void LightingLink::ShowLightingOf(int profile) {
    if (model_) {
        model_->SetLightingProfile(profile);
        model_->ReadLightingState();
    }
    panel_->Refresh();
}

void LightingLink::ResetWhileSwitchOn() {
    if (panel_->SwitchOn() && model_) {
        model_->ResetLighting();
    }
}

skin::CPngButton* LightingLink::ImageButton(int controlId) {
    return controls_.Button(controlId);
}

// The lamp went off: the key-assignment marks take the frames' place.
void LightingLink::RefreshKeyButtons() {
    keyView_.RefreshKeyButtons();
}

std::shared_ptr<platform::MessageTarget> LightingLink::WindowTarget() {
    return windowTarget_();
}

}  // namespace qx::mainwnd
