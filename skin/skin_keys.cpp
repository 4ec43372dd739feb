#include "skin/skin_keys.h"

#include <array>
#include <cstdio>
#include <initializer_list>
#include <utility>

#include "keyboard/key_buttons.h"
#include "skin/skin_files.h"

namespace qx::skin {
namespace {

constexpr int kHexKeyChars = 16;
constexpr int kGKeyCount = 9;
constexpr int kArrowFrames = 2;

void AddStatePictures(WindowSkinKeys& window, std::initializer_list<files::StateSheetFiles> sets) {
    for (const files::StateSheetFiles& set : sets) {
        for (std::string_view name : {set.normal, set.over, set.down, set.disable}) {
            bool known = false;
            for (const std::string& have : window.statePictures) {
                known = known || have == name;
            }
            if (!known) {
                window.statePictures.emplace_back(name);
            }
        }
    }
}

std::vector<std::string> LightingPanelBitmaps() {
    std::vector<std::string> names(files::kLightingBitmaps.begin(), files::kLightingBitmaps.end());
    for (int frame = 1; frame <= files::kProgressFrames; ++frame) {
        names.push_back(std::string(files::kProgressFramePrefix) + std::to_string(frame) +
                        std::string(files::kBitmapSuffix));
    }
    for (int channel = 0; channel < files::kSliderChannelPictures; ++channel) {
        names.push_back(std::to_string(channel) + std::string(files::kBitmapSuffix));
    }
    return names;
}

void AddVisible(std::vector<SkinKey>& keys, std::initializer_list<std::string_view> names) {
    for (std::string_view name : names) {
        keys.push_back(SkinKey{std::string(name), ControlRole::Visible, 0, {}, false});
    }
}

void AddHidden(std::vector<SkinKey>& keys, std::initializer_list<std::string_view> names) {
    for (std::string_view name : names) {
        keys.push_back(SkinKey{std::string(name), ControlRole::AlwaysHidden, 0, {}, false});
    }
}

void AddPage(std::vector<SkinKey>& keys, int page, std::initializer_list<std::string_view> names) {
    for (std::string_view name : names) {
        keys.push_back(SkinKey{std::string(name), ControlRole::Page, page, {}, false});
    }
}

void AddAlternative(std::vector<SkinKey>& keys, std::string_view name, std::string_view primary) {
    keys.push_back(
        SkinKey{std::string(name), ControlRole::AlternativePlace, 0, std::string(primary), false});
}

std::vector<std::string> ScreenKeys(bool withLinks) {
    std::vector<std::string> keys{std::string(kScreenMainKey), std::string(kScreenMaskKey)};
    if (withLinks) {
        keys.emplace_back(kLinkKey);
        keys.emplace_back(kFacebookLinkKey);
        keys.emplace_back(kTwitterLinkKey);
    }
    return keys;
}

WindowSkinKeys BuildMainKeys() {
    WindowSkinKeys window{files::kMainIni, ScreenKeys(true), {}, {}, {}, LightingPanelBitmaps()};
    AddStatePictures(window, {files::kMainSheets});
    window.statePictures.emplace_back(files::kMainArrowSheet);
    window.statePictures.emplace_back(files::kMainColour0Sheet);
    window.statePictures.emplace_back(files::kMainColour1Sheet);
    std::vector<SkinKey>& keys = window.buttonInfo;
    for (int n = 1; n <= kGKeyCount; ++n) {
        keys.push_back(SkinKey{GKeySkinKey(n), ControlRole::Visible, 0, {}, false});
    }
    for (const keyboard::KeyButton& button : keyboard::KeyButtons()) {
        keys.push_back(SkinKey{KeyButtonSkinKey(keyboard::KeyIndexOfCode(button.keyCode)),
                               ControlRole::Visible,
                               0,
                               {},
                               false});
    }
    AddVisible(keys, {"KORVEL_LINK",   "FACEBOOK_LINK",    "TWITTER_LINK",   "FUNC_PROFILES",
                      "FUNC_MACRO",    "CONTROL_OK",       "CONTROL_CANCEL", "CONTROL_HELP",
                      "CONTROL_CLOSE", "CONTROL_MINIMIZE", "CONTROL_MENU",   "CONTROL2_APPLY",
                      "LOCK_CAPS",     "LOCK_NUM",         "LOCK_SCROLL",    "LOCK_AB",
                      "FLIP_0",        "FLIP_1",           "FLIP_2",         "KORVEL_VER",
                      "FUNC_PROFILE1", "FUNC_PROFILE2",    "FUNC_PROFILE3",  "FUNC_DEFAULT",
                      "FUNC_SWITCH",   "FUNC_REPORT1",     "FUNC_REPORT2",   "FUNC_REPORT3",
                      "FUNC_REPORT4",  "KEY_FN",           "LEFT_ARROW",     "RIGHT_ARROW"});
    // The lighting panel: the controls its visibility rules show.
    AddVisible(keys, {"CONTROL_UsbStatic",    "CONTROL_DengStatic",    "CONTROL_DengStaPic",
                      "CONTROL_XGcombox",     "CONTROL_JDTStatic",     "CONTROL_LightStatic",
                      "CONTROL_LightSlider",  "CONTROL_SpeedStatic",   "CONTROL_SpeedSlider",
                      "CONTROL_BLFXStatic",   "CONTROL_BLFXLStaPic",   "CONTROL_BLFXRStaPic",
                      "CONTROL_USERgjStatic", "CONTROL_USERgjStaPic1", "CONTROL_USERgjStaPic2",
                      "CONTROL_umCombo",      "CONTROL_HXsjsStatic",   "CONTROL_HXsjsStaPic",
                      "CONTROL_LEDsjsStatic", "CONTROL_LEDsjsStaPic"});
    // The direction controls move to these places for some modes (position only).
    AddAlternative(keys, "CONTROL_BLFXStatic2", "CONTROL_BLFXStatic");
    AddAlternative(keys, "CONTROL_BLFXStatic3", "CONTROL_BLFXStatic");
    AddAlternative(keys, "CONTROL_BLFXLStaPic2", "CONTROL_BLFXLStaPic");
    AddAlternative(keys, "CONTROL_BLFXLStaPic3", "CONTROL_BLFXLStaPic");
    AddAlternative(keys, "CONTROL_BLFXRStaPic2", "CONTROL_BLFXRStaPic");
    // Laid out, then kept hidden by every visibility rule.
    AddHidden(keys, {"CONTROL_FYYSStatic",   "CONTROL_FYYSButton",   "CONTROL_FYSJSStaPic",
                     "CONTROL_FYSJSStatic",  "CONTROL_FYCFStatic",   "CONTROL_FYdjcfStatic",
                     "CONTROL_FYggcfStatc",  "CONTROL_FYdjcfStaPic", "CONTROL_FYggcfStaPic",
                     "CONTROL_HONGPIC",      "CONTROL_HUANGPIC",     "CONTROL_LVPIC",
                     "CONTROL_LANPIC",       "CONTROL_HXysStatic",   "CONTROL_HXysButton",
                     "CONTROL_JTysStatic",   "CONTROL_JTysButton",   "CONTROL_USERysStatic",
                     "CONTROL_USERysButton", "CONTROL_USERjsStatic", "CONTROL_USERjsButton",
                     "CONTROL_TSysStatic",   "CONTROL_TSysButton",   "CONTROL_TSsjsStatic",
                     "CONTROL_TSsjsStaPic",  "CONTROL_CDysStatic",   "CONTROL_CDysButton",
                     "CONTROL_CDsjsStatic",  "CONTROL_CDsjsStaPic"});
    const std::array<std::pair<std::string_view, std::string_view>, 4> arrows{{
        {kArrowUpLeft, "LEFT_ARROW"},
        {kArrowDownLeft, "LEFT_ARROW"},
        {kArrowUpRight, "RIGHT_ARROW"},
        {kArrowDownRight, "RIGHT_ARROW"},
    }};
    for (const auto& [base, control] : arrows) {
        for (int frame = 1; frame <= kArrowFrames; ++frame) {
            window.sheetPoints.push_back(SheetPointKey{ArrowSheetKey(base, frame),
                                                       std::string(control),
                                                       std::string(files::kMainArrowSheet)});
        }
    }
    return window;
}

WindowSkinKeys BuildProfileKeys() {
    WindowSkinKeys window{files::kProfileIni, ScreenKeys(false), {}, {}, {}, {}};
    AddStatePictures(window, {files::kProfileSheets});
    AddVisible(window.buttonInfo, {"CONTROL_OK", "CONTROL_CANCEL", "FUNC_ADD", "FUNC_LOAD",
                                   "FUNC_DELETE", "CONTROL2_APPLY", "PROGRAM_LIST"});
    return window;
}

WindowSkinKeys BuildUpdateKeys() {
    WindowSkinKeys window{files::kUpdateIni, ScreenKeys(false), {}, {}, {}, {}};
    AddStatePictures(window, {files::kUpdateSheets});
    AddVisible(window.buttonInfo, {"CONTROL_UPStatic", "CONTROL_CUPButton", "CONTROL_UPButton",
                                   "CONTROL_OPENButton", "CONTROL_BACKUPButton"});
    // The combo box is placed but never shown.
    AddHidden(window.buttonInfo, {"CONTROL_UPCombox"});
    return window;
}

WindowSkinKeys BuildCompositeKeys() {
    WindowSkinKeys window{files::kCompositeIni, ScreenKeys(false), {}, {}, {}, {}};
    AddStatePictures(window, {files::kKeySheets, files::kMacroSheets, files::kMacro2Sheets,
                              files::kMediaSheets, files::kFunctionSheets});
    std::vector<SkinKey>& keys = window.buttonInfo;
    keys.push_back(SkinKey{"CONTROL_MASK", ControlRole::Mask, 0, {}, false});
    AddVisible(keys, {"CONTROL_TITLE", "CONTROL_OSK", "CONTROL_CLEAR", "CONTROL_MEDIA",
                      "CONTROL_MACRO", "CONTROL_KEY", "CONTROL_FUNCTION", "CONTROL_OK",
                      "CONTROL_CANCEL", "KEY_SETTING", "FUNC_MACRO_CYCLES_PROMPT"});
    AddPage(keys, kPageSingleKey,
            {"TISHI_SINGLE_STATIC", "FUNC_KEY_INPUT", "FUNC_KEY_RADIO_KB",
             "FUNC_KEY_RADIO_KB_STATIC", "FUNC_KEY_RADIO_MOU", "FUNC_KEY_RADIO_MOU_STATIC"});
    AddPage(keys, kPageMacro,
            {"FUNC_MACRO_DELETE", "FUNC_MACRO_ADD", "FUNC_MACRO_UP_TOP", "FUNC_MACRO_UP",
             "FUNC_MACRO_DOWN", "FUNC_MACRO_DOWN_BOTTOM", "FUNC_MACRO_DELETE2", "FUNC_MACRO_CLEAR",
             "FUNC_MACRO_RECORD", "FUNC_MACRO_RECORD_DELAY", "FUNC_MACRO_RECORD_DELAY2",
             "FUNC_MACRO_LIST", "FUNC_MACRO_LIST2", "FUNC_MACRO_CYCLES", "MARCO_NAME_SETTING"});
    AddPage(keys, kPageMedia, {"MEDIA_SETTING_TISHI", "FUNC_MEDIA_SELECT"});
    AddPage(keys, kPageFunction, {"FUNCTION_KEY_SETTING_TISHI", "FUNC_FUNCTION_SELECT"});
    // The Apply button (1015) is not among the keys every skin gives this window, so the key is
    // optional; the default skin offers it a place under this name.
    keys.push_back(SkinKey{"CONTROL2_APPLY", ControlRole::Visible, 0, {}, true});
    return window;
}

}  // namespace

std::string KeyButtonSkinKey(int tableIndex) {
    std::array<char, kHexKeyChars> text{};
    std::snprintf(text.data(), text.size(), "KEY_%03X", static_cast<unsigned>(tableIndex));
    return text.data();
}

std::string GKeySkinKey(int n) {
    return "FUNC_G" + std::to_string(n);
}

std::string ArrowSheetKey(std::string_view base, int frame) {
    return std::string(base) + std::to_string(frame);
}

const WindowSkinKeys& MainSkinKeys() {
    static const WindowSkinKeys keys = BuildMainKeys();
    return keys;
}

const WindowSkinKeys& ProfileSkinKeys() {
    static const WindowSkinKeys keys = BuildProfileKeys();
    return keys;
}

const WindowSkinKeys& UpdateSkinKeys() {
    static const WindowSkinKeys keys = BuildUpdateKeys();
    return keys;
}

const WindowSkinKeys& CompositeSkinKeys() {
    static const WindowSkinKeys keys = BuildCompositeKeys();
    return keys;
}

std::vector<const WindowSkinKeys*> AllWindowSkinKeys() {
    return {&MainSkinKeys(), &ProfileSkinKeys(), &UpdateSkinKeys(), &CompositeSkinKeys()};
}

}  // namespace qx::skin
