// The lighting reset: mode 1, brightness 4, speed 2, direction 0, the default key-light layers
// and the default start of the record, which then gives every working value.
#include <algorithm>

#include "device/link/device_commands.h"
#include "lighting/key_light_page.h"
#include "lighting/lighting_defaults.h"
#include "lighting/lighting_model.h"

namespace qx::lighting {

void LightingModel::ResetLighting() {
    values_.direction = kDirectionSecond;
    const int resetIndex = ModeIndexOfType(kResetModeType);
    view_.SelectModeItem(resetIndex);
    if (resetIndex != kNoMode) {
        RunModeChange(resetIndex);
    } else {
        selectedMode_ = kNoMode;
    }

    values_.brightness = kDefaultBrightness;
    values_.speed = kDefaultSpeed;
    view_.SetSliderPositions(values_.brightness, PositionOfSpeed(values_.speed));

    if (perKey_) {
        values_.layer = 0;
        view_.SelectLayerItem(values_.layer);
        CurrentPage() = DefaultKeyLightPage();
        RepaintFrames();
        WriteDefaultLayers();
    }

    WriteLightingBytes(0, kDefaultLightingRecord);
    // The keyboard now holds the default record: the working values are that record's, so the
    // next refresh shows its report rate and tool rather than the ones from before.
    values_ = WorkingValues{};
    DecodeRecord(CurrentRecord(), DecodeScope::kAll, values_);
    view_.ShowTool(values_.tool);
    view_.ClearFrames();
}

// Ten layers, ten packets, one transaction.
void LightingModel::WriteDefaultLayers() {
    commands_.BeginWrite();
    for (int layer = 0; layer < kLayerCount; ++layer) {
        const auto bytes =
            std::span<const uint8_t>(CurrentPage()).subspan(LayerOffset(layer), kLayerSize);
        NoteWrite(commands_.WritePagedMemory(bytes, static_cast<int>(kLayerSize),
                                             static_cast<uint8_t>(LayerOffset(layer)), profile_));
    }
    commands_.EndWrite();
}

}  // namespace qx::lighting
