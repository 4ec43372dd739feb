#include "lighting/panel/panel_controls.h"

#include <algorithm>
#include <array>

#include "lang/language_keys.h"

namespace qx::lighting::panel {
namespace {

using enum ControlKind;
using enum PanelGroup;

// Creation order is stacking order: the lists come last so that their pop-ups are never covered.
constexpr auto kControls = std::to_array<PanelControl>({
    {kIdLamp, kPicture, "CONTROL_DengStaPic", kAlways},
    {kIdLampLabel, kLabel, "CONTROL_DengStatic", kAlways},
    {kIdReportRateLabel, kLabel, "CONTROL_UsbStatic", kAlways},
    {kIdProgress, kPicture, "CONTROL_JDTStatic", kProgress},
    {kIdBrightnessLabel, kLabel, "CONTROL_LightStatic", kBrightness},
    {kIdBrightnessSlider, kSlider, "CONTROL_LightSlider", kBrightness},
    {kIdSpeedLabel, kLabel, "CONTROL_SpeedStatic", kSpeed},
    {kIdSpeedSlider, kSlider, "CONTROL_SpeedSlider", kSpeed},
    {kIdDirectionLabel, kLabel, "CONTROL_BLFXStatic", kDirection},
    {kIdDirectionFirst, kPicture, "CONTROL_BLFXLStaPic", kDirection},
    {kIdDirectionSecond, kPicture, "CONTROL_BLFXRStaPic", kDirection},
    {kIdToolLabel, kLabel, "CONTROL_USERgjStatic", kPerKey},
    {kIdPaintTool, kPicture, "CONTROL_USERgjStaPic1", kPerKey},
    {kIdEraseTool, kPicture, "CONTROL_USERgjStaPic2", kPerKey},
    {kIdAllOff, kPicture, "CONTROL_HXsjsStaPic", kPerKey},
    {kIdAllOffLabel, kLabel, "CONTROL_HXsjsStatic", kPerKey},
    {kIdAllOn, kPicture, "CONTROL_LEDsjsStaPic", kPerKey},
    {kIdAllOnLabel, kLabel, "CONTROL_LEDsjsStatic", kPerKey},
    {kIdReactionColour, kColourButton, "CONTROL_FYYSButton", kHidden},
    {kIdReactionColourLabel, kLabel, "CONTROL_FYYSStatic", kHidden},
    {kIdBreathingColour, kColourButton, "CONTROL_HXysButton", kHidden},
    {kIdBreathingColourLabel, kLabel, "CONTROL_HXysStatic", kHidden},
    {kIdStaticColour, kColourButton, "CONTROL_JTysButton", kHidden},
    {kIdStaticColourLabel, kLabel, "CONTROL_JTysStatic", kHidden},
    {kIdUserColour, kColourButton, "CONTROL_USERysButton", kHidden},
    {kIdUserColourLabel, kLabel, "CONTROL_USERysStatic", kHidden},
    {kIdUserBaseColour, kColourButton, "CONTROL_USERjsButton", kHidden},
    {kIdUserBaseColourLabel, kLabel, "CONTROL_USERjsStatic", kHidden},
    {kIdRippleColour, kColourButton, "CONTROL_TSysButton", kHidden},
    {kIdRippleColourLabel, kLabel, "CONTROL_TSysStatic", kHidden},
    {kIdRibbonColour, kColourButton, "CONTROL_CDysButton", kHidden},
    {kIdRibbonColourLabel, kLabel, "CONTROL_CDysStatic", kHidden},
    {kIdRandomColour, kPicture, "CONTROL_FYSJSStaPic", kHidden},
    {kIdRandomColourLabel, kLabel, "CONTROL_FYSJSStatic", kHidden},
    {kIdSingleKeyTrigger, kPicture, "CONTROL_FYdjcfStaPic", kHidden},
    {kIdGridTrigger, kPicture, "CONTROL_FYggcfStaPic", kHidden},
    {kIdTriggerLabel, kLabel, "CONTROL_FYCFStatic", kHidden},
    {kIdSingleKeyTriggerLabel, kLabel, "CONTROL_FYdjcfStatic", kHidden},
    {kIdGridTriggerLabel, kLabel, "CONTROL_FYggcfStatc", kHidden},
    {kIdRippleRainbow, kPicture, "CONTROL_TSsjsStaPic", kHidden},
    {kIdRippleRainbowLabel, kLabel, "CONTROL_TSsjsStatic", kHidden},
    {kIdRibbonRainbow, kPicture, "CONTROL_CDsjsStaPic", kHidden},
    {kIdRibbonRainbowLabel, kLabel, "CONTROL_CDsjsStatic", kHidden},
    {kIdColourPictures[0], kPicture, "CONTROL_HONGPIC", kHidden},
    {kIdColourPictures[1], kPicture, "CONTROL_HUANGPIC", kHidden},
    {kIdColourPictures[2], kPicture, "CONTROL_LVPIC", kHidden},
    {kIdColourPictures[3], kPicture, "CONTROL_LANPIC", kHidden},
    {kIdModeList, kList, "CONTROL_XGcombox", kModeList},
    {kIdLayerList, kList, "CONTROL_umCombo", kPerKey},
});

constexpr auto kLabelTexts = std::to_array<LabelText>({
    {kIdReportRateLabel, lang::kLightUsb},
    {kIdLampLabel, lang::kLightDeng},
    {kIdBrightnessLabel, lang::kLightLight},
    {kIdDirectionLabel, lang::kLightFX},
    {kIdSpeedLabel, lang::kLightSpeed},
    {kIdReactionColourLabel, lang::kLightColor},
    {kIdBreathingColourLabel, lang::kLightColor},
    {kIdUserColourLabel, lang::kLightColor},
    {kIdUserBaseColourLabel, lang::kLightJColor},
    {kIdAllOffLabel, lang::kLightDC},
    {kIdRandomColourLabel, lang::kLightDC},
    {kIdToolLabel, lang::kLightTool},
    {kIdAllOnLabel, lang::kLightLEDOFF},
});

}  // namespace

std::span<const PanelControl> PanelControls() {
    return kControls;
}

const PanelControl* FindPanelControl(int id) {
    const auto* found =
        std::ranges::find_if(kControls, [id](const PanelControl& c) { return c.id == id; });
    return found == kControls.end() ? nullptr : found;
}

int ReportRateOfButton(int controlId) {
    const auto* found = std::ranges::find(kReportRateButtonIds, controlId);
    if (found == kReportRateButtonIds.end()) {
        return -1;
    }
    return static_cast<int>(found - kReportRateButtonIds.begin());
}

std::span<const LabelText> PanelLabelTexts() {
    return kLabelTexts;
}

}  // namespace qx::lighting::panel
