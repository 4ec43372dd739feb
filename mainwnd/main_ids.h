// The numbers of the main window: control ids of its template, private messages with their
// four-character codes, command ids of its menus and its timers. Other windows and the shell
// name the main window's messages through these constants.
#pragma once

#include <array>
#include <cstdint>

#include "app/main_window_port.h"
#include "keyassign/key_location.h"
#include "keyboard/key_buttons.h"
#include "lang/language.h"
#include "lighting/panel/panel_controls.h"
#include "mainwnd/busy_indicator.h"
#include "platform/window_message.h"
#include "widgets/tray_state.h"

namespace qx::mainwnd {

// ---- Private messages (wParam: the four-character code the handler expects) ---------------
// The shell and the language switch define theirs; the main window names them here. The device
// connection's calls become the window's messages in main_connection_host.cpp.
inline constexpr uint32_t kInitMessage = app::kInitMessage;                     // 0x4d4e
inline constexpr uint32_t kInitCode = app::kInitCode;                           // 'INIT' 0x494e4954
inline constexpr uint32_t kKillMessage = app::kKillMessage;                     // 0x4d4b
inline constexpr uint32_t kKillCode = app::kKillCode;                           // 0x4c4c494b
// 0x5350 'OPEN': another instance's show request, and the device connection's first attach.
inline constexpr uint32_t kOpenMessage = app::kOpenMessage;  // 0x5350
inline constexpr uint32_t kOpenCode = app::kOpenCode;        // 'OPEN'
// Sent after a keyboard was read: the window reads the keyboard's profile.
inline constexpr uint32_t kProfileReadMessage = 0x5452;
inline constexpr uint32_t kProfileReadCode = platform::FourCharCode("PROF");
// Sent after the keyboard switched its G-key bank; the code is the status report's tag.
inline constexpr uint32_t kBankMessage = 0x5045;
inline constexpr uint32_t kBankCode = 0x004C4544;  // "\0LED"
inline constexpr uint32_t kLanguageMessage = lang::kLanguageMessage;   // 0x5041
inline constexpr uint32_t kLanguageCode = lang::kLanguageMessageCode;  // 'LANG'
// Sent after the last keyboard left.
inline constexpr uint32_t kKeyboardLeftMessage = 0x4753;
inline constexpr uint32_t kKeyboardLeftCode = 0;
// The lighting sliders' 0x28d1 is lighting::panel::kSliderMessage (lighting/panel/bitmap_slider.h).

static_assert(kKillCode == 0x4c4c494b && kOpenCode == 0x4f50454e && kInitCode == 0x494e4954);
static_assert(kProfileReadCode == 0x50524f46 && kBankCode == 0x004C4544);

// The window's tag, which other instances look for ('MAIN', 0x4d41494e).
inline constexpr uint32_t kMainWindowTag = app::kMainWindowTag;

// ---- Timers --------------------------------------------------------------------------------
// The busy animation's timer 1050 is the busy indicator's (mainwnd/busy_indicator.h).
// Started when the keyboard changed its lighting with its own keys: the lighting is read again.
inline constexpr uint32_t kLightingRefreshTimer = 1051;
inline constexpr uint32_t kLightingRefreshPeriod = 0;

// ---- Template and icons --------------------------------------------------------------------
inline constexpr int kMainTemplateId = 102;
inline constexpr int kProgramIconId = widgets::kIconNoKeyboard;  // 128

// ---- Command buttons -----------------------------------------------------------------------
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;
inline constexpr int kIdProfiles = 1005;
inline constexpr int kIdApply = 1006;
inline constexpr int kIdMacro = 1007;
inline constexpr int kIdTest = 1008;
inline constexpr int kIdProfileMenu = 1009;
inline constexpr int kIdWebLink = 1121;
inline constexpr int kIdHelp = 1122;
inline constexpr int kIdMinimize = 1123;
inline constexpr int kIdClose = 1124;
inline constexpr int kIdCapsLock = 1125;
inline constexpr int kIdNumLock = 1126;
inline constexpr int kIdScrollLock = 1127;
inline constexpr int kIdBankIndicator = 1128;  // "LOCK_AB", the G-key bank
inline constexpr int kIdFlip0 = 1129;
inline constexpr int kIdFlip1 = 1130;
inline constexpr int kIdFlip2 = 1131;
inline constexpr int kIdLeftArrow = 1132;
inline constexpr int kIdRightArrow = 1133;
inline constexpr int kIdVersion = 1134;
inline constexpr std::array<int, 3> kIdProfileButtons{1135, 1136, 1137};
inline constexpr int kIdDefault = 1138;
inline constexpr int kIdMenu = 1139;
using lighting::panel::kReportRateButtonIds;  // report1..report4: 1147, 1168, 1169, 1170
inline constexpr int kIdFacebookLink = 1209;
inline constexpr int kIdTwitterLink = 1210;

// The key view beyond the key table: Fn, and the six D buttons that the flip setting enables
// instead of F1..F4.
inline constexpr int kIdFn = keyboard::kFnButtonId;  // 1174
inline constexpr std::array<int, 4> kIdF1ToF4{1010, 1011, 1012, 1013};
inline constexpr std::array<int, 6> kIdD1ToD6{1016, 1017, 1018, 1019, 1020, 1021};
inline constexpr int kIdF5 = 1014;
// Hovering the Enter key repaints this key (the two share the skin's picture).
inline constexpr int kIdEnterKey = 1070;
inline constexpr int kIdEnterPartner = 1055;
inline constexpr int kIdMacroOnlyGKey = keyassign::kMacroOnlyControlId;  // G9, 1143

// ---- Lighting panel ------------------------------------------------------------------------
// The panel's controls are the panel component's (lighting/panel/panel_controls.h); the ones the
// window itself deals with:
using lighting::panel::kIdAllOff;
using lighting::panel::kIdAllOn;
using lighting::panel::kIdBrightnessSlider;
using lighting::panel::kIdDirectionFirst;
using lighting::panel::kIdDirectionSecond;
using lighting::panel::kIdLamp;
using lighting::panel::kIdLampLabel;
using lighting::panel::kIdLayerList;
using lighting::panel::kIdModeList;
using lighting::panel::kIdProgress;
using lighting::panel::kIdReportRateLabel;
using lighting::panel::kIdSpeedSlider;

// ---- Menu commands -------------------------------------------------------------------------
inline constexpr int kSysCommandMinimize = 0xF020;  // the window menu's Minimize
inline constexpr int kCmdAboutSystem = static_cast<int>(app::kSysCommandAbout);           // 16
inline constexpr int kCmdOpen = static_cast<int>(app::kCommandOpen);                      // 32771
inline constexpr int kCmdAbout = static_cast<int>(app::kCommandAbout);                    // 32773
inline constexpr int kCmdExit = static_cast<int>(app::kCommandExit);                      // 32774
inline constexpr int kCmdRestore = static_cast<int>(app::kCommandRestore);                // 32776
inline constexpr int kCmdBackup = static_cast<int>(app::kCommandBackup);                  // 32777
inline constexpr int kCmdMenuExit = static_cast<int>(app::kCommandMenuExit);              // 32779
inline constexpr int kCmdFirmwareUpdate = static_cast<int>(app::kCommandFirmwareUpdate);  // 32780
inline constexpr int kCmdProfileMenuFirst = 9000;  // the default item
inline constexpr int kCmdProfileMenuLast = 9200;
inline constexpr int kCmdProfileMenuBase = 9001;  // item 9001 + i selects onboard profile i

}  // namespace qx::mainwnd
