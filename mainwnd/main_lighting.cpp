// The lighting panel in the main window: the panel component made with the window's skin and the
// window as its host, fed by the window's messages (the sliders' 0x28d1, language, profile
// read, keyboard-made lighting changes).
#include "lighting/lighting_model.h"
#include "lighting/panel/lighting_panel.h"
#include "mainwnd/main_ids.h"
#include "mainwnd/quilvane_dlg.h"

namespace qx::mainwnd {

// The panel's controls go on top of the keyboard view; the lighting model that drives them is
// made with the device session at start-up (StartDevice).
void CQuilvaneDlg::MakeLightingPanel() {
    panel_ = std::make_unique<lighting::panel::LightingPanel>(
        *this, lighting::panel::PanelSkin{IniPath(), SkinFolder()},
        static_cast<lighting::panel::LightingPanelHost&>(*this));
}

// After every lighting read, a profile change and timer 1051: the panel shows the model's state.
void CQuilvaneDlg::RefreshLightingPanel() {
    panel_->Refresh();
}

void CQuilvaneDlg::ApplyLightingLabels(int languageIndex) {
    panel_->ApplyLanguage(languageIndex);
}

// 0x28d1 from the brightness (1178) or speed (1179) slider with the position 0..4.
void CQuilvaneDlg::OnLightingSlider(platform::MessageWParam sliderId,
                                    platform::MessageLParam position) {
    panel_->HandleSliderMessage(sliderId, position);
}

skin::CPngButton* CQuilvaneDlg::ImageButton(int controlId) {
    return Button(controlId);
}

std::shared_ptr<platform::MessageTarget> CQuilvaneDlg::WindowTarget() {
    return messages_ ? messages_->Target() : nullptr;
}

}  // namespace qx::mainwnd
