// Every language key the program asks for, in one place: the program looks texts up through
// these constants, and the language-file check walks these lists. Section "TEXT" holds the
// texts of the windows and messages, "LIGHT" the lighting panel's labels and "MODE" the names of
// the lighting modes, keyed by the mode number in decimal.
//
// Some texts are formats (see lang/text_format.h): printf-style, "%d" (or "%u", "%x", "%X" with an
// optional '0' flag and width, e.g. "%04X") for a number and "%s" for a text, "%%" for a percent
// sign. kFormatTexts says which texts are formats and what they take; every other text is shown
// as it is, so a '%' in it needs no escaping.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace qx::lang {

inline constexpr std::string_view kTextSection = "TEXT";
inline constexpr std::string_view kLightSection = "LIGHT";
inline constexpr std::string_view kModeSection = "MODE";

// Keys of section "TEXT" that the windows and messages name directly.
inline constexpr std::string_view kABottom = "A_BOTTOM";
inline constexpr std::string_view kAClear = "A_CLEAR";
inline constexpr std::string_view kADelete = "A_DELETE";
inline constexpr std::string_view kADown = "A_DOWN";
inline constexpr std::string_view kARecord = "A_RECORD";
inline constexpr std::string_view kATop = "A_TOP";
inline constexpr std::string_view kAUp = "A_UP";
inline constexpr std::string_view kCompositePromptClear = "COMPOSITE_PROMPT_CLEAR";
inline constexpr std::string_view kCompositePromptOsk = "COMPOSITE_PROMPT_OSK";
inline constexpr std::string_view kDefaultProfileName = "DEFAULT_PROFILE_NAME";
inline constexpr std::string_view kExtraMacroTooLong = "EXTRA_MACRO_TOO_LONG";
inline constexpr std::string_view kExtraProfileSpaceTight = "EXTRA_PROFILE_SPACE_TIGHT";
inline constexpr std::string_view kFunctionKey = "FUNCTION_KEY";
inline constexpr std::string_view kFunctionTishi = "FUNCTION_TISHI";
inline constexpr std::string_view kGuanyuBanquan = "GUANYU_BANQUAN";
inline constexpr std::string_view kGuanyuJieshao = "GUANYU_JIESHAO";
inline constexpr std::string_view kIdsMacroKbKey = "IDS_MACRO_KB_KEY";
inline constexpr std::string_view kIdsMacroMouKey = "IDS_MACRO_MOU_KEY";
inline constexpr std::string_view kIdsTraytipKeyboard = "IDS_TrayTip_Keyboard";
inline constexpr std::string_view kKeyboardTrayDesc = "KEYBOARD_TRAY_DESC";
inline constexpr std::string_view kKeyPromptFunction = "KEY_PROMPT_FUNCTION";
inline constexpr std::string_view kKeyPromptMacro = "KEY_PROMPT_MACRO";
inline constexpr std::string_view kKeyPromptMedia = "KEY_PROMPT_MEDIA";
inline constexpr std::string_view kKeyPromptSet = "KEY_PROMPT_SET";
inline constexpr std::string_view kKeyPromptSingle = "KEY_PROMPT_SINGLE";
inline constexpr std::string_view kKeySettingTishi = "KEY_SETTING_TISHI";
inline constexpr std::string_view kLangAboutOk = "LANG_ABOUT_OK";
inline constexpr std::string_view kLangAboutTitle = "LANG_ABOUT_TITLE";
inline constexpr std::string_view kMacroActionClearConfirm = "MACRO_ACTION_CLEAR_CONFIRM";
inline constexpr std::string_view kMacroActionErrDelayMax = "MACRO_ACTION_ERR_DELAY_MAX";
inline constexpr std::string_view kMacroActionErrModify = "MACRO_ACTION_ERR_MODIFY";
inline constexpr std::string_view kMacroActionRecord = "MACRO_ACTION_RECORD";
inline constexpr std::string_view kMacroActionRecordDelay = "MACRO_ACTION_RECORD_DELAY";
inline constexpr std::string_view kMacroActionStopRecord = "MACRO_ACTION_STOP_RECORD";
inline constexpr std::string_view kMacroCancle = "MACRO_CANCLE";
inline constexpr std::string_view kMacroCycles = "MACRO_CYCLES";
inline constexpr std::string_view kMacroDeleteConfirmOfKeys = "MACRO_DELETE_CONFIRM_OF_KEYS";
inline constexpr std::string_view kMacroEditTishi = "MACRO_EDIT_TISHI";
inline constexpr std::string_view kMacroErrMax = "MACRO_ERR_MAX";
inline constexpr std::string_view kMacroNameSetting = "MACRO_NAME_SETTING";
inline constexpr std::string_view kMacroNewPrefix = "MACRO_NEW_PREFIX";
inline constexpr std::string_view kMacroOk = "MACRO_OK";
inline constexpr std::string_view kMacroSetting = "MACRO_SETTING";
inline constexpr std::string_view kMainCaption = "MAIN_CAPTION";
inline constexpr std::string_view kMainClosePrompt = "MAIN_CLOSE_PROMPT";
inline constexpr std::string_view kMainDefaultMatrixPrompt = "MAIN_DEFAULT_MATRIX_PROMPT";
inline constexpr std::string_view kMainHelpPrompt = "MAIN_HELP_PROMPT";
inline constexpr std::string_view kMainMenuPrompt = "MAIN_MENU_PROMPT";
inline constexpr std::string_view kMainMinimizePrompt = "MAIN_MINIMIZE_PROMPT";
inline constexpr std::string_view kMainNoDevicePrompt = "MAIN_NO_DEVICE_PROMPT";
inline constexpr std::string_view kMainPromptDefault = "MAIN_PROMPT_DEFAULT";
inline constexpr std::string_view kMainPromptImportNotSent = "MAIN_PROMPT_IMPORT_NOT_SENT";
inline constexpr std::string_view kMainPromptInport = "MAIN_PROMPT_INPORT";
inline constexpr std::string_view kMediaEditTishi = "MEDIA_EDIT_TISHI";
inline constexpr std::string_view kMenu1 = "MENU_1";
inline constexpr std::string_view kMenu2 = "MENU_2";
inline constexpr std::string_view kMenu3 = "MENU_3";
inline constexpr std::string_view kMenu4 = "MENU_4";
inline constexpr std::string_view kMenu5 = "MENU_5";  // the menu button's Firmware update
inline constexpr std::string_view kMenu11 = "MENU_11";
inline constexpr std::string_view kMenu22 = "MENU_22";
inline constexpr std::string_view kMenu33 = "MENU_33";
inline constexpr std::string_view kMultiMedia = "MULTI_MEDIA";
inline constexpr std::string_view kProfile1 = "PROFILE_1";
inline constexpr std::string_view kProfile2 = "PROFILE_2";
inline constexpr std::string_view kProfile3 = "PROFILE_3";
inline constexpr std::string_view kProfileApply = "PROFILE_APPLY";
inline constexpr std::string_view kProfileCancle = "PROFILE_CANCLE";
inline constexpr std::string_view kProfileDefault = "PROFILE_DEFAULT";
inline constexpr std::string_view kProfileFormatError = "PROFILE_FORMAT_ERROR";
inline constexpr std::string_view kProfileMacro = "PROFILE_MACRO";
inline constexpr std::string_view kProfileManagerTitle = "PROFILE_MANAGER_TITLE";
inline constexpr std::string_view kProfileNew = "PROFILE_NEW";
inline constexpr std::string_view kProfileNewError = "PROFILE_NEW_ERROR";
inline constexpr std::string_view kProfileOk = "PROFILE_OK";
inline constexpr std::string_view kProfileSeelctPrompt2 = "PROFILE_SEELCT_PROMPT2";
inline constexpr std::string_view kProfileSelectPrompt = "PROFILE_SELECT_PROMPT";
inline constexpr std::string_view kProfileTip = "PROFILE_TIP";
inline constexpr std::string_view kRecordDelay = "RECORD_DELAY";
inline constexpr std::string_view kSingleKey = "SINGLE_KEY";
inline constexpr std::string_view kSingleStatic = "SINGLE_STATIC";
inline constexpr std::string_view kUnknownKey = "UNKNOWN_KEY";
inline constexpr std::string_view kUpdateTitle = "UPDATE_TITLE";  // the firmware update window
inline constexpr std::string_view kMacroKeysTishi = "MACRO_KEYS_TISHI";
inline constexpr std::string_view kMacroActionTishi = "MACRO_ACTION_TISHI";
inline constexpr std::string_view kMacroDelayMs = "MACRO_DELAY_MS";

inline constexpr std::array<std::string_view, 86> kNamedTextKeys = {
    kABottom,
    kAClear,
    kADelete,
    kADown,
    kARecord,
    kATop,
    kAUp,
    kCompositePromptClear,
    kCompositePromptOsk,
    kDefaultProfileName,
    kExtraMacroTooLong,
    kExtraProfileSpaceTight,
    kFunctionKey,
    kFunctionTishi,
    kGuanyuBanquan,
    kGuanyuJieshao,
    kIdsMacroKbKey,
    kIdsMacroMouKey,
    kIdsTraytipKeyboard,
    kKeyboardTrayDesc,
    kKeyPromptFunction,
    kKeyPromptMacro,
    kKeyPromptMedia,
    kKeyPromptSet,
    kKeyPromptSingle,
    kKeySettingTishi,
    kLangAboutOk,
    kLangAboutTitle,
    kMacroActionClearConfirm,
    kMacroActionErrDelayMax,
    kMacroActionErrModify,
    kMacroActionRecord,
    kMacroActionRecordDelay,
    kMacroActionStopRecord,
    kMacroCancle,
    kMacroCycles,
    kMacroDeleteConfirmOfKeys,
    kMacroEditTishi,
    kMacroErrMax,
    kMacroNameSetting,
    kMacroNewPrefix,
    kMacroOk,
    kMacroSetting,
    kMainCaption,
    kMainClosePrompt,
    kMainDefaultMatrixPrompt,
    kMainHelpPrompt,
    kMainMenuPrompt,
    kMainMinimizePrompt,
    kMainNoDevicePrompt,
    kMainPromptDefault,
    kMainPromptImportNotSent,
    kMainPromptInport,
    kMediaEditTishi,
    kMenu1,
    kMenu2,
    kMenu3,
    kMenu4,
    kMenu5,
    kMenu11,
    kMenu22,
    kMenu33,
    kMultiMedia,
    kProfile1,
    kProfile2,
    kProfile3,
    kProfileApply,
    kProfileCancle,
    kProfileDefault,
    kProfileFormatError,
    kProfileMacro,
    kProfileManagerTitle,
    kProfileNew,
    kProfileNewError,
    kProfileOk,
    kProfileSeelctPrompt2,
    kProfileSelectPrompt,
    kProfileTip,
    kRecordDelay,
    kSingleKey,
    kSingleStatic,
    kUnknownKey,
    kUpdateTitle,
    kMacroKeysTishi,
    kMacroActionTishi,
    kMacroDelayMs,
};

// What a format text takes: exactly one number, or exactly one text.
enum class FormatArgs { Number, Text };

struct FormatTextKey {
    std::string_view key;
    FormatArgs args;
};

inline constexpr std::array<FormatTextKey, 5> kFormatTexts = {{
    {kMacroErrMax, FormatArgs::Number},             // the most macros, 100
    {kMacroActionErrDelayMax, FormatArgs::Number},  // the longest delay in ms, 40000
    {kProfileFormatError, FormatArgs::Text},        // the profile file's full path
    {kProfileNewError, FormatArgs::Text},           // the new profile file's full path
    {kUnknownKey, FormatArgs::Number},              // the key code, 16-bit unsigned
}};

// The names of the keys in the key pickers, by picker number 0..110.
inline constexpr std::array<std::string_view, 111> kPickerKeyNames = {
    "IDS_KEYBOARD_A",          "IDS_KEYBOARD_B",        "IDS_KEYBOARD_C",
    "IDS_KEYBOARD_D",          "IDS_KEYBOARD_E",        "IDS_KEYBOARD_F",
    "IDS_KEYBOARD_G",          "IDS_KEYBOARD_H",        "IDS_KEYBOARD_I",
    "IDS_KEYBOARD_J",          "IDS_KEYBOARD_K",        "IDS_KEYBOARD_L",
    "IDS_KEYBOARD_M",          "IDS_KEYBOARD_N",        "IDS_KEYBOARD_O",
    "IDS_KEYBOARD_P",          "IDS_KEYBOARD_Q",        "IDS_KEYBOARD_R",
    "IDS_KEYBOARD_S",          "IDS_KEYBOARD_T",        "IDS_KEYBOARD_U",
    "IDS_KEYBOARD_V",          "IDS_KEYBOARD_W",        "IDS_KEYBOARD_X",
    "IDS_KEYBOARD_Y",          "IDS_KEYBOARD_Z",        "IDS_KEYBOARD_1",
    "IDS_KEYBOARD_2",          "IDS_KEYBOARD_3",        "IDS_KEYBOARD_4",
    "IDS_KEYBOARD_5",          "IDS_KEYBOARD_6",        "IDS_KEYBOARD_7",
    "IDS_KEYBOARD_8",          "IDS_KEYBOARD_9",        "IDS_KEYBOARD_0",
    "IDS_KEYBOARD_ENTER",      "IDS_KEYBOARD_ESC",      "IDS_KEYBOARD_BS",
    "IDS_KEYBOARD_TAB",        "IDS_KEYBOARD_SPACE",    "IDS_KEYBOARD_MINUS",
    "IDS_KEYBOARD_EQU",        "IDS_KEYBOARD_SB1",      "IDS_KEYBOARD_SB2",
    "IDS_KEYBOARD_AV",         "IDS_KEYBOARD_SEM",      "IDS_KEYBOARD_QUOT",
    "IDS_KEYBOARD_AID1",       "IDS_KEYBOARD_COMMA",    "IDS_KEYBOARD_PER",
    "IDS_KEYBOARD_VIR",        "IDS_KEYBOARD_F1",       "IDS_KEYBOARD_F2",
    "IDS_KEYBOARD_F3",         "IDS_KEYBOARD_F4",       "IDS_KEYBOARD_F5",
    "IDS_KEYBOARD_F6",         "IDS_KEYBOARD_F7",       "IDS_KEYBOARD_F8",
    "IDS_KEYBOARD_F9",         "IDS_KEYBOARD_F10",      "IDS_KEYBOARD_F11",
    "IDS_KEYBOARD_F12",        "IDS_KEYBOARD_PRINT",    "IDS_KEYBOARD_PAUSE",
    "IDS_KEYBOARD_BREAK",      "IDS_KEYBOARD_INSERT",   "IDS_KEYBOARD_DELETE",
    "IDS_KEYBOARD_HOME",       "IDS_KEYBOARD_END",      "IDS_KEYBOARD_PAGE_UP",
    "IDS_KEYBOARD_PAGE_DOWN",  "IDS_KEYBOARD_UP",       "IDS_KEYBOARD_DOWN",
    "IDS_KEYBOARD_LEFT",       "IDS_KEYBOARD_RIGHT",    "IDS_KEYBOARD_SCROLL",
    "IDS_KEYBOARD_CAPS",       "IDS_KEYBOARD_NUM",      "IDS_KEYBOARD_S_VIR",
    "IDS_KEYBOARD_S_AST",      "IDS_KEYBOARD_S_MINUS",  "IDS_KEYBOARD_S_PLUS",
    "IDS_KEYBOARD_S_ENTER",    "IDS_KEYBOARD_S_1",      "IDS_KEYBOARD_S_2",
    "IDS_KEYBOARD_S_3",        "IDS_KEYBOARD_S_4",      "IDS_KEYBOARD_S_5",
    "IDS_KEYBOARD_S_6",        "IDS_KEYBOARD_S_7",      "IDS_KEYBOARD_S_8",
    "IDS_KEYBOARD_S_9",        "IDS_KEYBOARD_S_0",      "IDS_KEYBOARD_S_DEL",
    "IDS_KEYBOARD_K45",        "IDS_KEYBOARD_APP",      "IDS_KEYBOARD_LCTRL",
    "IDS_KEYBOARD_LSHIFT",     "IDS_KEYBOARD_LALT",     "IDS_KEYBOARD_LWIN",
    "IDS_KEYBOARD_RCTRL",      "IDS_KEYBOARD_RSHIFT",   "IDS_KEYBOARD_RALT",
    "IDS_KEYBOARD_RWIN",       "IDS_KEYBOARD_MOU_LEFT", "IDS_KEYBOARD_MOU_RIGHT",
    "IDS_KEYBOARD_MOU_MIDDLE", "IDS_KEYBOARD_ROLL_UP",  "IDS_KEYBOARD_ROLL_DOWN",
};

// The names of the keys outside the pickers, by their number n = 1..26 (index n - 1).
inline constexpr std::array<std::string_view, 26> kOutsidePickerKeyNames = {
    "IDS_KEYBOARD_POWER",
    "IDS_KEYBOARD_SLEEP",
    "IDS_KEYBOARD_WAKE",
    "IDS_KEYBOARD_MOU_DBCLICK",
    "IDS_KEYBOARD_MOU_PANLEFT",
    "IDS_KEYBOARD_MOU_PANRIGHT",
    "IDS_KEYBOARD_FUNC_ZOOMOUT",
    "IDS_KEYBOARD_FUNC_ZOOMIN",
    "IDS_KEYBOARD_FUNC_COPY",
    "IDS_KEYBOARD_FUNC_CUT",
    "IDS_KEYBOARD_FUNC_PASTE",
    "IDS_KEYBOARD_FUNC_MINI",
    "IDS_KEYBOARD_FUNC_MAXI",
    "IDS_KEYBOARD_FUNC_WORD",
    "IDS_KEYBOARD_FUNC_EXCEL",
    "IDS_KEYBOARD_FUNC_POWERPOINT",
    "IDS_KEYBOARD_FUNC_CALENDAR",
    "IDS_KEYBOARD_SYSREQ",
    "IDS_KEYBOARD_K14",
    "IDS_KEYBOARD_K56",
    "IDS_KEYBOARD_K107",
    "IDS_KEYBOARD_N_CHG",
    "IDS_KEYBOARD_CHG",
    "IDS_KEYBOARD_ROMA",
    "IDS_KEYBOARD_KL",
    "IDS_KEYBOARD_KR",
};

// The names of the multimedia list's entries, by index 0..17.
inline constexpr std::array<std::string_view, 18> kMultimediaKeyNames = {
    "MEDIA_PALYER_1",       "MEDIA_PALY_PAUSE_2",    "MEDIA_STOP_PALY_3",   "MEDIA_PREV_TRACK_4",
    "MEDIA_Next_TRACK_5",   "MEDIA_V_LOW_6",         "MEDIA_V_ADD_7",       "MEDIA_MUTE_8",
    "MEDIA_WWW_HOME_9",     "MEDIA_WWW_REFRESH_10",  "MEDIA_WWW_STOP_11",   "MEDIA_WWW_BACK_12",
    "MEDIA_WWW_FORWARD_13", "MEDIA_WWW_FAVORITE_14", "MEDIA_WWW_SEARCH_15", "MEDIA_MY_PC_16",
    "MEDIA_CALC_17",        "MEDIA_MAIL_18",
};

// The keyboard functions of the function list, by function index 0..10.
inline constexpr std::array<std::string_view, 11> kFunctionKeyDescriptions = {
    "FUNC_KEY_DESC1", "FUNC_KEY_DESC2",  "FUNC_KEY_DESC3",  "FUNC_KEY_DESC4",
    "FUNC_KEY_DESC5", "FUNC_KEY_DESC6",  "FUNC_KEY_DESC7",  "FUNC_KEY_DESC8",
    "FUNC_KEY_DESC9", "FUNC_KEY_DESC10", "FUNC_KEY_DESC11",
};

// The items of the per-key lighting layer list, layers 0..9.
inline constexpr std::array<std::string_view, 10> kUserModeNames = {
    "USER_MODE1", "USER_MODE2", "USER_MODE3", "USER_MODE4", "USER_MODE5",
    "USER_MODE6", "USER_MODE7", "USER_MODE8", "USER_MODE9", "USER_MODE10",
};

// Section "LIGHT": the lighting panel's labels.
inline constexpr std::string_view kLightColor = "Color";
inline constexpr std::string_view kLightDC = "DC";
inline constexpr std::string_view kLightDeng = "Deng";
inline constexpr std::string_view kLightFX = "FX";
inline constexpr std::string_view kLightJColor = "JColor";
inline constexpr std::string_view kLightLEDOFF = "LEDOFF";
inline constexpr std::string_view kLightLight = "Light";
inline constexpr std::string_view kLightSpeed = "Speed";
inline constexpr std::string_view kLightTool = "Tool";
inline constexpr std::string_view kLightUsb = "Usb";
inline constexpr std::array<std::string_view, 10> kLightKeys = {
    kLightColor,  kLightDC,    kLightDeng,  kLightFX,   kLightJColor,
    kLightLEDOFF, kLightLight, kLightSpeed, kLightTool, kLightUsb,
};

// Section "MODE": the lighting mode types the keyboard defines (254 is the per-key mode).
inline constexpr std::array<int, 29> kModeTypes = {1,  2,  3,  4,  5,  6,  7,  8,  9,  10,
                                                   11, 12, 13, 14, 15, 16, 17, 18, 19, 20,
                                                   21, 22, 23, 24, 25, 26, 27, 28, 254};

// The key of a lighting mode type in section "MODE": the type in decimal.
inline std::string ModeKey(int type) {
    return std::to_string(type);
}

}  // namespace qx::lang
