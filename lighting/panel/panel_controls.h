// The controls of the main window's lighting panel: their ids, what kind of control each is, the
// skin key ("BUTTONINFO") that places it and the group whose rule decides when it shows. Also the
// main-window buttons the panel marks (the report-rate buttons) and the language keys of its
// labels. Qt-free.
#pragma once

#include <array>
#include <span>
#include <string_view>

namespace qx::lighting::panel {

// ---- Controls the user works with ---------------------------------------------------------------
inline constexpr int kIdLamp = 1167;
inline constexpr int kIdLampLabel = 1171;
inline constexpr int kIdModeList = 1146;
inline constexpr int kIdBrightnessLabel = 1172;
inline constexpr int kIdBrightnessSlider = 1178;
inline constexpr int kIdSpeedLabel = 1166;
inline constexpr int kIdSpeedSlider = 1179;
inline constexpr int kIdDirectionLabel = 1148;
inline constexpr int kIdDirectionFirst = 1149;
inline constexpr int kIdDirectionSecond = 1150;
inline constexpr int kIdToolLabel = 1163;
inline constexpr int kIdPaintTool = 1164;
inline constexpr int kIdEraseTool = 1165;
inline constexpr int kIdLayerList = 1198;
inline constexpr int kIdAllOff = 1156;
inline constexpr int kIdAllOffLabel = 1173;
inline constexpr int kIdAllOn = 1207;
inline constexpr int kIdAllOnLabel = 1208;
inline constexpr int kIdProgress = 1177;
inline constexpr int kIdReportRateLabel = 1204;

// ---- Controls laid out from the skin and never shown --------------------------------------------
// Colour buttons and their labels.
inline constexpr int kIdReactionColour = 1152;
inline constexpr int kIdReactionColourLabel = 1151;
inline constexpr int kIdBreathingColour = 1155;
inline constexpr int kIdBreathingColourLabel = 1154;
inline constexpr int kIdStaticColour = 1158;
inline constexpr int kIdStaticColourLabel = 1157;
inline constexpr int kIdUserColour = 1160;
inline constexpr int kIdUserColourLabel = 1159;
inline constexpr int kIdUserBaseColour = 1162;
inline constexpr int kIdUserBaseColourLabel = 1161;
inline constexpr int kIdRippleColour = 1187;
inline constexpr int kIdRippleColourLabel = 1186;
inline constexpr int kIdRibbonColour = 1191;
inline constexpr int kIdRibbonColourLabel = 1190;
// Random colour, triggers, rainbows, colour pictures.
inline constexpr int kIdRandomColour = 1175;
inline constexpr int kIdRandomColourLabel = 1176;
inline constexpr int kIdSingleKeyTrigger = 1183;
inline constexpr int kIdGridTrigger = 1180;
inline constexpr int kIdTriggerLabel = 1182;
inline constexpr int kIdSingleKeyTriggerLabel = 1181;
inline constexpr int kIdGridTriggerLabel = 1184;
inline constexpr int kIdRippleRainbow = 1188;
inline constexpr int kIdRippleRainbowLabel = 1189;
inline constexpr int kIdRibbonRainbow = 1192;
inline constexpr int kIdRibbonRainbowLabel = 1193;
inline constexpr std::array<int, 4> kIdColourPictures{1194, 1195, 1196, 1197};

// ---- Main-window buttons the panel marks --------------------------------------------------------
// Report-rate buttons report1..report4: index k shows report rate k.
inline constexpr std::array<int, 4> kReportRateButtonIds{1147, 1168, 1169, 1170};

enum class ControlKind {
    kPicture,       // a bitmap of the skin folder; clicks reach the panel
    kLabel,         // a text of section "LIGHT", drawn over the skin
    kList,          // a drop-down list
    kSlider,        // a bitmap slider
    kColourButton,  // never shown
};

// Which rule shows a control.
enum class PanelGroup {
    kAlways,      // the lamp, its label and the report-rate label
    kModeList,    // shown while the switch is on
    kBrightness,  // label and slider
    kSpeed,       // label and slider
    kDirection,   // label and both direction pictures
    kPerKey,      // tool label, both tools, layer list, both check pictures and their labels
    kProgress,    // shown by the busy indicator only
    kHidden,      // laid out, never shown
};

struct PanelControl {
    int id = 0;
    ControlKind kind = ControlKind::kPicture;
    std::string_view skinKey;
    PanelGroup group = PanelGroup::kHidden;
};

// Every control of the panel, in creation order (back to front).
std::span<const PanelControl> PanelControls();

// The control with that id; null for any other id.
const PanelControl* FindPanelControl(int id);

// The report-rate index (0..3) of a main-window button id; -1 for any other id.
int ReportRateOfButton(int controlId);

// A label and the key of its text in section "LIGHT".
struct LabelText {
    int id = 0;
    std::string_view lightKey;
};

// The labels that get a text on every language refresh.
std::span<const LabelText> PanelLabelTexts();

}  // namespace qx::lighting::panel
