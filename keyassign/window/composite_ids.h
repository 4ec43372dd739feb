// The controls of the key assignment window by their dialog ids, and its pages. Skins, tests and
// the macro page name the controls by these ids.
#pragma once

#include <array>

namespace qx::keyassign::window {

inline constexpr int kCompositeTemplateId = 134;

// Always shown.
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;
inline constexpr int kIdApply = 1015;
inline constexpr int kIdPageKey = 1028;
inline constexpr int kIdPageMacro = 1029;
inline constexpr int kIdPageMedia = 1030;
inline constexpr int kIdPageFunction = 1031;
inline constexpr int kIdClear = 1032;
inline constexpr int kIdMask = 1033;     // the page's background, no command
inline constexpr int kIdTitle = 1131;    // no command
inline constexpr int kIdOsk = 1132;      // the on-screen keyboard
inline constexpr int kIdHeading = 1199;  // the page heading
inline constexpr int kIdCountLabel = 1130;

// Single-key page.
inline constexpr int kIdSingleLabel = 1201;
inline constexpr int kIdKeyBox = 1127;  // the captured key's name, read-only
inline constexpr int kIdKeyboardChoice = 1185;
inline constexpr int kIdMouseChoice = 1186;
inline constexpr int kIdKeyboardChoiceLabel = 1134;
inline constexpr int kIdMouseChoiceLabel = 1135;
inline constexpr int kIdMouseList = 1187;  // the five mouse codes, shown with the mouse choice

// Macro page (the macro page component makes these).
inline constexpr int kIdMacroNameLabel = 1200;
inline constexpr int kIdMacroSelector = 1126;
inline constexpr int kIdAddMacro = 1017;
inline constexpr int kIdDeleteMacro = 1018;
inline constexpr int kIdActionList = 1019;
inline constexpr int kIdCountBox = 1125;
inline constexpr int kIdRecord = 1020;
inline constexpr int kIdDeleteAction = 1021;
inline constexpr int kIdClearActions = 1022;
inline constexpr int kIdActionTop = 1023;
inline constexpr int kIdActionUp = 1024;
inline constexpr int kIdActionDown = 1025;
inline constexpr int kIdActionBottom = 1026;
inline constexpr int kIdRecordDelay = 1027;
inline constexpr int kIdRecordDelayLabel = 1133;

// Multimedia and function pages.
inline constexpr int kIdMediaLabel = 1202;
inline constexpr int kIdMediaList = 1128;
inline constexpr int kIdFunctionLabel = 1203;
inline constexpr int kIdFunctionList = 1129;

// The four pages; each page button shows one.
enum class Page { SingleKey, Macro, Media, Function };

inline constexpr std::array<int, 4> kPageButtonIds{kIdPageKey, kIdPageMacro, kIdPageMedia,
                                                   kIdPageFunction};

}  // namespace qx::keyassign::window
