#include "mainwnd/flip_state.h"

#include "mainwnd/main_ids.h"
#include "settings/app_profile.h"
#include "skin/skin_keys.h"

namespace qx::mainwnd {

bool IsFlipOn(std::string_view storedText) {
    return settings::DecimalValue(storedText) != 0;
}

bool ReadFlip() {
    return IsFlipOn(settings::ReadFlipSetting());
}

bool ToggleFlip() {
    const bool wasOn = ReadFlip();
    return IsFlipOn(settings::WriteFlipSetting(wasOn ? 0 : 1));
}

std::span<const int> FlipEnabledButtons(bool flipOn) {
    return flipOn ? std::span<const int>(kIdD1ToD6) : std::span<const int>(kIdF1ToF4);
}

std::span<const int> FlipDisabledButtons(bool flipOn) {
    return FlipEnabledButtons(!flipOn);
}

std::string LeftArrowSheetKey(bool flipOn, int frame) {
    return skin::ArrowSheetKey(flipOn ? skin::kArrowUpLeft : skin::kArrowDownLeft, frame);
}

std::string RightArrowSheetKey(bool flipOn, int frame) {
    return skin::ArrowSheetKey(flipOn ? skin::kArrowUpRight : skin::kArrowDownRight, frame);
}

}  // namespace qx::mainwnd
