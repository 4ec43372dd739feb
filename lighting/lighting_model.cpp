#include "lighting/lighting_model.h"

#include "lang/language.h"
#include "lighting/key_frames.h"
#include "lighting/key_light_page.h"

namespace qx::lighting {
namespace {

// Positions shown on a slider stay on the slider even when the keyboard stored something odd.
int SliderPosition(int value) {
    if (value < 0) {
        return 0;
    }
    return value > kMaxSliderPosition ? kMaxSliderPosition : value;
}

bool IsProfile(int profile) {
    return profile >= 0 && profile < kProfileCount;
}

}  // namespace

LightingModel::LightingModel(device::DeviceCommands& commands, LightingView& view,
                             PanelSwitchFile panelSwitch)
    : commands_(commands),
      view_(view),
      panelSwitch_(std::move(panelSwitch)),
      modeName_([](int type) { return lang::ModeText(type); }) {}

bool LightingModel::SetLightingProfile(int profile) {
    if (!IsProfile(profile)) {
        return false;
    }
    profile_ = profile;
    return true;
}

const LightingRecord& LightingModel::Record(int profile) const {
    return records_[static_cast<std::size_t>(IsProfile(profile) ? profile : profile_)];
}

const KeyLightPage& LightingModel::Page(int profile) const {
    return pages_[static_cast<std::size_t>(IsProfile(profile) ? profile : profile_)];
}

bool LightingModel::IsKeyLit(int lightingIndex) const {
    return lighting::IsKeyLit(Page(profile_), values_.layer, lightingIndex);
}

void LightingModel::ClearWriteResult() {
    writeResult_ = device::kOk;
}

void LightingModel::NoteWrite(int result) {
    if (writeResult_ == device::kOk) {
        writeResult_ = result;
    }
}

void LightingModel::RebuildModeTable() {
    modes_.Rebuild(slots_);
    selectedMode_ = modes_.ModeIndexOfType(values_.modeType);
}

void LightingModel::RefreshPanel() {
    view_.ClearModeList();
    RebuildModeTable();
    for (const ModeEntry& entry : modes_.Entries()) {
        view_.AddMode(entry.type, modeName_(entry.type));
    }
    view_.ShowReportRate(values_.reportRate);
    view_.SelectModeItem(selectedMode_);
    view_.SelectLayerItem(values_.layer);
    if (panelSwitchOn_) {
        view_.ClearFrames();
    }
    ShowModeControls();
    if (panelSwitchOn_ && SelectedModeType() == kPerKeyModeType) {
        RepaintFrames();
    }
    view_.SetSliderPositions(SliderPosition(values_.brightness),
                             SliderPosition(PositionOfSpeed(values_.speed)));
    view_.ShowPanelSwitch(panelSwitchOn_);
    view_.ShowTool(values_.tool);
}

void LightingModel::RepaintFrames() {
    for (const FramedButton& button : FramedButtons()) {
        view_.SetKeyFrame(button.controlId, IsKeyLit(button.lightingIndex));
    }
}

void LightingModel::ShowLedFrames(int lightingIndex) {
    const bool lit = IsKeyLit(lightingIndex);
    for (const FramedButton& button : FramedButtons()) {
        if (button.lightingIndex == lightingIndex) {
            view_.SetKeyFrame(button.controlId, lit);
        }
    }
}

void LightingModel::ShowModeControls() {
    view_.ShowModeControls(SelectedModeType(), values_.direction);
}

void LightingModel::SetPanelSwitch(bool on) {
    panelSwitchOn_ = on;
    panelSwitch_.Write(on);
    view_.ShowPanelSwitch(on);
    view_.ClearFrames();
    if (on && SelectedModeType() == kPerKeyModeType) {
        RepaintFrames();
    }
    ShowModeControls();
}

}  // namespace qx::lighting
