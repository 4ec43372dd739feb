// The keys each window reads from its skin INI file: the one list per window that the windows,
// the skin generator and the skin check share.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qx::skin {

// How a placed control shares the window with the others; the skin check and the generator use it
// to tell a deliberate overlap from a collision.
enum class ControlRole {
    Visible,           // shown; may overlap nothing but the mask
    Mask,              // a picture under the others (the composite dialog's page background)
    Page,              // shown on one page only (`page`); pages may share space
    AlwaysHidden,      // laid out, then never shown; may share space with other hidden controls
    AlternativePlace,  // another position of `primary` (MoveControl keeps the primary's size)
};

struct SkinKey {
    std::string name;
    ControlRole role = ControlRole::Visible;
    int page = 0;
    std::string primary;    // for AlternativePlace
    bool optional = false;  // written by the default skin; a window may read it
};

// A point in a sheet picture (section "BUTTONINFO2") from which `control` cuts its faces.
struct SheetPointKey {
    std::string name;
    std::string control;  // the "BUTTONINFO" key whose size the face has
    std::string picture;  // the picture the sheet is made from
};

struct WindowSkinKeys {
    std::string_view iniFile;
    std::vector<std::string> screenKeys;     // section "SCREEN"
    std::vector<SkinKey> buttonInfo;         // section "BUTTONINFO": rectangles
    std::vector<SheetPointKey> sheetPoints;  // section "BUTTONINFO2"
    // Pictures the window's code loads from the skin folder besides "SCREEN": its whole-window
    // state pictures (each the size of the window) and other bitmaps (the lighting panel's).
    std::vector<std::string> statePictures;
    std::vector<std::string> otherPictures;
};

// Section "SCREEN": the background and mask pictures, and the main window's link targets.
inline constexpr std::string_view kScreenSection = "SCREEN";
inline constexpr std::string_view kScreenMainKey = "Main";
inline constexpr std::string_view kScreenMaskKey = "Mask";
inline constexpr std::string_view kLinkKey = "Link";
inline constexpr std::string_view kFacebookLinkKey = "Facebook_Link";
inline constexpr std::string_view kTwitterLinkKey = "Twitter_Link";

// Pages of the composite key dialog.
inline constexpr int kPageSingleKey = 1;
inline constexpr int kPageMacro = 2;
inline constexpr int kPageMedia = 3;
inline constexpr int kPageFunction = 4;

// "KEY_%03X" with a key's table index in three upper-case hexadecimal digits.
std::string KeyButtonSkinKey(int tableIndex);
// "FUNC_G%d" for G key n (1..9).
std::string GKeySkinKey(int n);
// "%s%d": an arrow sheet key ("UP_ARROW_LEFT", ...) with frame 1 or 2.
std::string ArrowSheetKey(std::string_view base, int frame);

inline constexpr std::string_view kArrowUpLeft = "UP_ARROW_LEFT";
inline constexpr std::string_view kArrowDownLeft = "DOWN_ARROW_LEFT";
inline constexpr std::string_view kArrowUpRight = "UP_ARROW_RIGHT";
inline constexpr std::string_view kArrowDownRight = "DOWN_ARROW_RIGHT";

const WindowSkinKeys& MainSkinKeys();
const WindowSkinKeys& ProfileSkinKeys();
const WindowSkinKeys& UpdateSkinKeys();
const WindowSkinKeys& CompositeSkinKeys();

// The four windows, in the order above.
std::vector<const WindowSkinKeys*> AllWindowSkinKeys();

}  // namespace qx::skin
