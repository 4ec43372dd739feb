// What the lighting model shows through the panel: the mode list, sliders, pictures, the
// visibility of the control groups, and the frames of the keyboard view.
#include <QComboBox>
#include <QWidget>

#include "keyboard/key_buttons.h"
#include "lighting/key_frames.h"
#include "lighting/key_light_page.h"
#include "lighting/lighting_model.h"
#include "lighting/panel/bitmap_slider.h"
#include "lighting/panel/lighting_panel.h"
#include "lighting/panel/panel_look.h"
#include "lighting/panel/panel_picture.h"
#include "skin/png_button.h"

namespace qx::lighting::panel {

void LightingPanel::ClearModeList() {
    modeList_->clear();
}

void LightingPanel::AddMode(int type, const std::string& name) {
    modeList_->addItem(QString::fromStdString(name), type);
}

void LightingPanel::SelectModeItem(int index) {
    modeList_->setCurrentIndex(index >= 0 && index < modeList_->count() ? index : -1);
}

void LightingPanel::ShowModeControls(int type, uint8_t direction) {
    type_ = type;
    direction_ = direction;
    ApplyLook();
}

void LightingPanel::SetSliderPositions(int brightnessPosition, int speedPosition) {
    sliders_.at(kIdBrightnessSlider)->SetPosition(brightnessPosition);
    sliders_.at(kIdSpeedSlider)->SetPosition(speedPosition);
}

void LightingPanel::SelectLayerItem(int layer) {
    layer_ = layer;
    layerList_->setCurrentIndex(IsLayer(layer) && layer < layerList_->count() ? layer : -1);
}

void LightingPanel::ShowTool(int tool) {
    const auto [paint, erase] = ToolPictures(tool);
    ShowPicture(kIdPaintTool, paint);
    ShowPicture(kIdEraseTool, erase);
}

void LightingPanel::ShowLayerFill(LayerFill fill) {
    const auto [allOff, allOn] = LayerFillPictures(fill);
    ShowPicture(kIdAllOff, allOff);
    ShowPicture(kIdAllOn, allOn);
}

void LightingPanel::ShowReportRate(int rate) {
    for (std::size_t k = 0; k < kReportRateButtonIds.size(); ++k) {
        if (skin::CPngButton* button = host_.ImageButton(kReportRateButtonIds[k])) {
            button->SetMarked(static_cast<int>(k) == rate);
        }
    }
}

void LightingPanel::ShowPanelSwitch(bool on) {
    switchOn_ = on;
    ShowPicture(kIdLamp, LampPicture(on));
    ApplyLook();
}

void LightingPanel::SetKeyFrame(int controlId, bool lit) {
    if (skin::CPngButton* button = host_.ImageButton(controlId)) {
        button->SetFrameMode(lit ? kLitFrameColour : kUnlitFrameColour, kFrameLevel, true);
    }
}

void LightingPanel::ClearFrames() {
    for (const FramedButton& framed : FramedButtons()) {
        if (skin::CPngButton* button = host_.ImageButton(framed.controlId)) {
            button->SetFrameMode(kUnlitFrameColour, kFrameLevel, false);
            button->SetMarked(false);
        }
    }
}

// ---- Look ---------------------------------------------------------------------------------------

void LightingPanel::ApplyLook() {
    const DirectionLook direction = DirectionLookFor(type_, direction_);
    MoveTo(kIdDirectionLabel, direction.labelKey);
    MoveTo(kIdDirectionFirst, direction.firstKey);
    MoveTo(kIdDirectionSecond, direction.secondKey);
    ShowPicture(kIdDirectionFirst, direction.firstPicture);
    ShowPicture(kIdDirectionSecond, direction.secondPicture);

    const PanelVisibility visibility = VisibilityFor(SwitchOn(), type_);
    for (const PanelControl& control : PanelControls()) {
        controls_.at(control.id)
            ->setVisible(IsGroupShown(control.group, visibility, progressShown_));
    }
}

void LightingPanel::MoveTo(int controlId, std::string_view skinKey) {
    const auto place = directionPlaces_.find(skinKey);
    QWidget* control = Control(controlId);
    if (place != directionPlaces_.end() && control->pos() != place->second) {
        control->move(place->second);
    }
}

void LightingPanel::ShowPicture(int controlId, std::string_view name) {
    if (PanelPicture* picture = Picture(controlId)) {
        picture->ShowPicture(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())),
                             bitmaps_.Get(name));
    }
}

// The random-colour and rainbow pictures are never shown, but keep the record's flags in view.
void LightingPanel::ShowHiddenChecks() {
    const WorkingValues values = model_ != nullptr ? model_->Values() : WorkingValues{};
    ShowPicture(kIdRandomColour, CheckPicture(values.randomColour));
    ShowPicture(kIdRippleRainbow, CheckPicture(values.rippleRainbow));
    ShowPicture(kIdRibbonRainbow, CheckPicture(values.ribbonRainbow));
}

}  // namespace qx::lighting::panel
