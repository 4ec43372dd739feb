// Every lighting change the panel makes, each in a write transaction of its own.
#include <algorithm>

#include "device/link/device_commands.h"
#include "lighting/key_frames.h"
#include "lighting/key_light_page.h"
#include "lighting/lighting_model.h"

namespace qx::lighting {
namespace {

bool IsSliderPosition(int position) {
    return position >= 0 && position <= kMaxSliderPosition;
}

}  // namespace

bool LightingModel::WriteLightingBytes(std::size_t offset, std::span<const uint8_t> bytes) {
    if (bytes.empty() || offset > kRecordSize || bytes.size() > kRecordSize - offset) {
        return false;
    }
    const auto address =
        static_cast<uint16_t>(static_cast<std::size_t>(profile_) * kRecordSize + offset);
    commands_.BeginWrite();
    NoteWrite(commands_.WriteMemory(bytes, static_cast<int>(bytes.size()), address));
    commands_.EndWrite();
    std::ranges::copy(bytes, CurrentRecord().begin() + static_cast<std::ptrdiff_t>(offset));
    return true;
}

bool LightingModel::WriteKeyLightBytes(std::size_t offset, std::span<const uint8_t> bytes) {
    if (bytes.empty() || bytes.size() > device::kDataCapacity || offset > kPageSize ||
        bytes.size() > kPageSize - offset) {
        return false;
    }
    commands_.BeginWrite();
    NoteWrite(commands_.WritePagedMemory(bytes, static_cast<int>(bytes.size()),
                                         static_cast<uint8_t>(offset), profile_));
    commands_.EndWrite();
    std::ranges::copy(bytes, CurrentPage().begin() + static_cast<std::ptrdiff_t>(offset));
    return true;
}

void LightingModel::WriteLightingByte(std::size_t offset, int value) {
    const std::array<uint8_t, 1> byte{static_cast<uint8_t>(value)};
    WriteLightingBytes(offset, byte);
}

void LightingModel::SelectMode(int index) {
    if (ModeTypeAt(index) == kNoMode) {
        return;
    }
    RunModeChange(index);
}

void LightingModel::RunModeChange(int index) {
    const int type = ModeTypeAt(index);
    view_.ClearFrames();
    selectedMode_ = index;
    values_.modeType = type;
    WriteLightingByte(field::kModeType, type);
    if (type == kPerKeyModeType) {
        RepaintFrames();
    }
    ShowModeControls();
}

void LightingModel::SetBrightness(int position) {
    if (!IsSliderPosition(position) || position == values_.brightness) {
        return;
    }
    values_.brightness = position;
    WriteLightingByte(field::kBrightness, position);
}

void LightingModel::SetSpeed(int position) {
    const int speed = SpeedOfPosition(position);
    if (!IsSliderPosition(position) || speed == values_.speed) {
        return;
    }
    values_.speed = speed;
    WriteLightingByte(field::kSpeed, speed);
}

void LightingModel::SetDirection(uint8_t value) {
    values_.direction = value != 0 ? kDirectionFirst : kDirectionSecond;
    values_.randomColour = values_.direction != 0;
    WriteLightingByte(field::kDirection, values_.direction);
    ShowModeControls();
}

void LightingModel::SelectLayer(int layer) {
    view_.ShowLayerFill(LayerFill::kNeither);
    if (IsLayer(layer)) {
        values_.layer = layer;
        if (panelSwitchOn_) {
            WriteLightingByte(field::kLayer, layer);
        }
    }
    RepaintFrames();
}

void LightingModel::SelectTool(int tool) {
    if (tool != kToolPaint && tool != kToolErase) {
        return;
    }
    values_.tool = tool;
    WriteLightingByte(field::kTool, tool);
    view_.ShowTool(tool);
}

void LightingModel::SetReportRate(int rate) {
    if (rate < 0 || rate > kMaxReportRate) {
        return;
    }
    values_.reportRate = rate;
    WriteLightingByte(field::kReportRate, rate);
    view_.ShowReportRate(rate);
}

void LightingModel::ToggleKeyLight(int lightingIndex) {
    SetKeyLight(lightingIndex, values_.tool == kToolPaint);
}

void LightingModel::ToggleKeyLightOfButton(int controlId) {
    if (const auto led = LedOfClickedButton(controlId)) {
        ToggleKeyLight(*led);
    }
}

void LightingModel::SetKeyLight(int lightingIndex, bool lit) {
    if (SelectedModeType() != kPerKeyModeType || !HasLedPosition(lightingIndex)) {
        return;
    }
    const std::size_t at = KeyBitByte(values_.layer, lightingIndex);
    const std::array<uint8_t, 1> byte{WithKeyBit(CurrentPage()[at], lightingIndex, lit)};
    WriteKeyLightBytes(at, byte);
    ShowLedFrames(lightingIndex);
}

void LightingModel::SetLayerAll(bool on) {
    constexpr uint8_t kAllLit = 0xFF;
    constexpr uint8_t kNoneLit = 0x00;
    std::array<uint8_t, kLayerSize> layer{};
    layer.fill(on ? kAllLit : kNoneLit);
    view_.ShowLayerFill(on ? LayerFill::kAllOn : LayerFill::kAllOff);
    WriteKeyLightBytes(LayerOffset(values_.layer), layer);
    RepaintFrames();
}

}  // namespace qx::lighting
