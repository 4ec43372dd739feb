// The files of a skin: the four INI files, the whole-window state pictures each window turns into
// skin sheets, and the bitmaps of the main window's lighting panel. All live in the folder
// "Skins/" of the run-time folder; the names here are relative to it.
#pragma once

#include <array>
#include <string_view>

namespace qx::skin::files {

inline constexpr std::string_view kSkinsFolder = "Skins/";

// INI files, one per window.
inline constexpr std::string_view kMainIni = "Main.ini";
inline constexpr std::string_view kProfileIni = "Profile.ini";
inline constexpr std::string_view kUpdateIni = "UpdateDlg.ini";
inline constexpr std::string_view kCompositeIni = "Composite.ini";

// One set of whole-window state pictures. A window that has no picture of its own for a state
// names another state's picture there.
struct StateSheetFiles {
    std::string_view normal;
    std::string_view over;
    std::string_view down;
    std::string_view disable;
};

// Main window.
inline constexpr StateSheetFiles kMainSheets{"main_normal.jpg", "main_over.jpg", "main_down.jpg",
                                             "main_disable.jpg"};
inline constexpr std::string_view kMainArrowSheet = "Arrow.jpg";
inline constexpr std::string_view kMainColour0Sheet = "main_color0.jpg";
inline constexpr std::string_view kMainColour1Sheet = "main_color1.jpg";

// Profile manager: down and disable share a picture.
inline constexpr StateSheetFiles kProfileSheets{"Profile_normal.jpg", "Profile_over.jpg",
                                                "Profile_down.jpg", "Profile_down.jpg"};

// Update dialog: every state but normal shows the over picture.
inline constexpr StateSheetFiles kUpdateSheets{"update_normal.jpg", "update_over.jpg",
                                               "update_over.jpg", "update_over.jpg"};

// Composite key dialog: five sets; the key, media and function sets use their normal picture as
// the disable picture.
inline constexpr StateSheetFiles kKeySheets{"key_normal.jpg", "key_over.jpg", "key_down.jpg",
                                            "key_normal.jpg"};
inline constexpr StateSheetFiles kMacroSheets{"macro_normal.jpg", "macro_over.jpg",
                                              "macro_down.jpg", "macro_disable.jpg"};
inline constexpr StateSheetFiles kMacro2Sheets{"macro2_normal.jpg", "macro2_over.jpg",
                                               "macro2_down.jpg", "macro2_disable.jpg"};
inline constexpr StateSheetFiles kMediaSheets{"media_normal.jpg", "media_over.jpg",
                                              "media_down.jpg", "media_normal.jpg"};
inline constexpr StateSheetFiles kFunctionSheets{"function_normal.jpg", "function_over.jpg",
                                                 "function_down.jpg", "function_normal.jpg"};

// Lighting panel bitmaps (main skin folder).
inline constexpr std::string_view kLampOff = "dengup.bmp";
inline constexpr std::string_view kLampOn = "dengdown.bmp";
inline constexpr std::string_view kLeftReleased = "leftup.bmp";
inline constexpr std::string_view kLeftPressed = "leftdown.bmp";
inline constexpr std::string_view kRightReleased = "rightup.bmp";
inline constexpr std::string_view kRightPressed = "rightdown.bmp";
inline constexpr std::string_view kConvergeReleased = "julong.bmp";
inline constexpr std::string_view kConvergePressed = "julongdown.bmp";
inline constexpr std::string_view kSpreadReleased = "kuosan.bmp";
inline constexpr std::string_view kSpreadPressed = "kuosandown.bmp";
inline constexpr std::string_view kUpReleased = "upup.bmp";
inline constexpr std::string_view kUpPressed = "updown.bmp";
inline constexpr std::string_view kDownReleased = "downup.bmp";
inline constexpr std::string_view kDownPressed = "downdown.bmp";
inline constexpr std::string_view kCheckOff = "sjsup.bmp";
inline constexpr std::string_view kCheckOn = "sjsdown.bmp";
inline constexpr std::string_view kPaintReleased = "user1up.bmp";
inline constexpr std::string_view kPaintPressed = "user1down.bmp";
inline constexpr std::string_view kEraseReleased = "user2up.bmp";
inline constexpr std::string_view kErasePressed = "user2down.bmp";
inline constexpr std::string_view kRed = "hong.bmp";
inline constexpr std::string_view kRedChosen = "hongok.bmp";
inline constexpr std::string_view kYellow = "huang.bmp";
inline constexpr std::string_view kYellowChosen = "huangok.bmp";
inline constexpr std::string_view kGreen = "lv.bmp";
inline constexpr std::string_view kGreenChosen = "lvok.bmp";
inline constexpr std::string_view kBlue = "lan.bmp";
inline constexpr std::string_view kBlueChosen = "lanok.bmp";

// Progress animation frames "jdt1.bmp".."jdt10.bmp" and slider channels "0.bmp".."25.bmp":
// brightness position n shows channel n (0..4), speed position n channel 5 + n (5..9).
inline constexpr int kProgressFrames = 10;
inline constexpr std::string_view kProgressFramePrefix = "jdt";
inline constexpr int kSliderChannelPictures = 26;
inline constexpr int kBrightnessChannelFirst = 0;
inline constexpr int kSpeedChannelFirst = 5;
inline constexpr int kSliderPositions = 5;
inline constexpr std::string_view kBitmapSuffix = ".bmp";

// Every named lighting bitmap (the numbered ones are made from the constants above).
inline constexpr std::array<std::string_view, 28> kLightingBitmaps{kLampOff,
                                                                   kLampOn,
                                                                   kLeftReleased,
                                                                   kLeftPressed,
                                                                   kRightReleased,
                                                                   kRightPressed,
                                                                   kConvergeReleased,
                                                                   kConvergePressed,
                                                                   kSpreadReleased,
                                                                   kSpreadPressed,
                                                                   kUpReleased,
                                                                   kUpPressed,
                                                                   kDownReleased,
                                                                   kDownPressed,
                                                                   kCheckOff,
                                                                   kCheckOn,
                                                                   kPaintReleased,
                                                                   kPaintPressed,
                                                                   kEraseReleased,
                                                                   kErasePressed,
                                                                   kRed,
                                                                   kRedChosen,
                                                                   kYellow,
                                                                   kYellowChosen,
                                                                   kGreen,
                                                                   kGreenChosen,
                                                                   kBlue,
                                                                   kBlueChosen};

}  // namespace qx::skin::files
