// The main window: the keyboard view with its G keys, lock and flip indicators, the lighting
// panel and the command bar.
#include <QtGlobal>
#include <algorithm>
#include <cmath>
#include <map>

#include "keyboard/key_buttons.h"
#include "keyboard/key_code.h"
#include "layout.h"
#include "skin/skin_keys.h"

namespace qx::skingen {
namespace {

using keyboard::KeyCode;

constexpr int kUnit = 44;     // one key unit
constexpr int kCapInset = 2;  // gap between a key's cell and its cap
constexpr int kMargin = 24;
constexpr int kGKeyWidth = 50;
constexpr int kGKeyGap = 18;
constexpr int kKeyboardLeft = kMargin + kGKeyWidth + kGKeyGap;
constexpr int kKeyboardTop = 100;
constexpr int kWidth = kKeyboardLeft + 23 * kUnit + kMargin;
constexpr int kTitleHeight = 56;
constexpr int kPanelTop = 414;
constexpr int kPanelHeight = 96;
constexpr int kBarTop = 522;
constexpr int kHeight = 592;

// A key's cell in key units: x across the whole keyboard (main block 0..15, editing block
// 15.5..18.5, keypad 19..23), y in rows (function row 0, then 1.5 .. 5.5).
struct KeyPlace {
    KeyCode code;  // kNoKey: the Fn key
    double x;
    double y;
    double w;
    double h;
    const char* label;
    const char* sub;
};

constexpr KeyCode kFnKey = keyboard::kNoKey;

// clang-format off
constexpr KeyPlace kKeyPlaces[] = {
    // Function row.
    {0x001, 0, 0, 1, 1, "Esc", ""},
    {0x03B, 2, 0, 1, 1, "F1", ""},    {0x03C, 3, 0, 1, 1, "F2", ""},
    {0x03D, 4, 0, 1, 1, "F3", ""},    {0x03E, 5, 0, 1, 1, "F4", ""},
    {0x03F, 6.5, 0, 1, 1, "F5", ""},  {0x040, 7.5, 0, 1, 1, "F6", ""},
    {0x041, 8.5, 0, 1, 1, "F7", ""},  {0x042, 9.5, 0, 1, 1, "F8", ""},
    {0x043, 11, 0, 1, 1, "F9", ""},   {0x044, 12, 0, 1, 1, "F10", ""},
    {0x057, 13, 0, 1, 1, "F11", ""},  {0x058, 14, 0, 1, 1, "F12", ""},
    {0x137, 15.5, 0, 1, 1, "PrtSc", ""}, {0x046, 16.5, 0, 1, 1, "ScrLk", ""},
    {0x045, 17.5, 0, 1, 1, "Pause", ""},
    // Number row.
    {0x029, 0, 1.5, 1, 1, "`", "~"},
    {0x002, 1, 1.5, 1, 1, "1", "!"},  {0x003, 2, 1.5, 1, 1, "2", "@"},
    {0x004, 3, 1.5, 1, 1, "3", "#"},  {0x005, 4, 1.5, 1, 1, "4", "$"},
    {0x006, 5, 1.5, 1, 1, "5", "%"},  {0x007, 6, 1.5, 1, 1, "6", "^"},
    {0x008, 7, 1.5, 1, 1, "7", "&"},  {0x009, 8, 1.5, 1, 1, "8", "*"},
    {0x00A, 9, 1.5, 1, 1, "9", "("},  {0x00B, 10, 1.5, 1, 1, "0", ")"},
    {0x00C, 11, 1.5, 1, 1, "-", "_"}, {0x00D, 12, 1.5, 1, 1, "=", "+"},
    {0x00E, 13, 1.5, 2, 1, "Backspace", ""},
    {0x152, 15.5, 1.5, 1, 1, "Ins", ""}, {0x147, 16.5, 1.5, 1, 1, "Home", ""},
    {0x149, 17.5, 1.5, 1, 1, "PgUp", ""},
    {0x145, 19, 1.5, 1, 1, "Num", ""},   {0x135, 20, 1.5, 1, 1, "/", ""},
    {0x037, 21, 1.5, 1, 1, "*", ""},     {0x04A, 22, 1.5, 1, 1, "\u2212", ""},
    // Top letter row.
    {0x00F, 0, 2.5, 1.5, 1, "Tab", ""},
    {0x010, 1.5, 2.5, 1, 1, "Q", ""},  {0x011, 2.5, 2.5, 1, 1, "W", ""},
    {0x012, 3.5, 2.5, 1, 1, "E", ""},  {0x013, 4.5, 2.5, 1, 1, "R", ""},
    {0x014, 5.5, 2.5, 1, 1, "T", ""},  {0x015, 6.5, 2.5, 1, 1, "Y", ""},
    {0x016, 7.5, 2.5, 1, 1, "U", ""},  {0x017, 8.5, 2.5, 1, 1, "I", ""},
    {0x018, 9.5, 2.5, 1, 1, "O", ""},  {0x019, 10.5, 2.5, 1, 1, "P", ""},
    {0x01A, 11.5, 2.5, 1, 1, "[", "{"}, {0x01B, 12.5, 2.5, 1, 1, "]", "}"},
    {0x02B, 13.5, 2.5, 1.5, 1, "\\", "|"},
    {0x153, 15.5, 2.5, 1, 1, "Del", ""}, {0x14F, 16.5, 2.5, 1, 1, "End", ""},
    {0x151, 17.5, 2.5, 1, 1, "PgDn", ""},
    {0x047, 19, 2.5, 1, 1, "7", ""},  {0x048, 20, 2.5, 1, 1, "8", ""},
    {0x049, 21, 2.5, 1, 1, "9", ""},  {0x04E, 22, 2.5, 1, 1, "+", ""},
    // Home row.
    {0x03A, 0, 3.5, 1.75, 1, "Caps", ""},
    {0x01E, 1.75, 3.5, 1, 1, "A", ""},  {0x01F, 2.75, 3.5, 1, 1, "S", ""},
    {0x020, 3.75, 3.5, 1, 1, "D", ""},  {0x021, 4.75, 3.5, 1, 1, "F", ""},
    {0x022, 5.75, 3.5, 1, 1, "G", ""},  {0x023, 6.75, 3.5, 1, 1, "H", ""},
    {0x024, 7.75, 3.5, 1, 1, "J", ""},  {0x025, 8.75, 3.5, 1, 1, "K", ""},
    {0x026, 9.75, 3.5, 1, 1, "L", ""},
    {0x027, 10.75, 3.5, 1, 1, ";", ":"}, {0x028, 11.75, 3.5, 1, 1, "'", "\""},
    {0x01C, 12.75, 3.5, 2.25, 1, "Enter", ""},
    {0x04B, 19, 3.5, 1, 1, "4", ""},  {0x04C, 20, 3.5, 1, 1, "5", ""},
    {0x04D, 21, 3.5, 1, 1, "6", ""},  {0x07E, 22, 3.5, 1, 1, ",", ""},
    // Bottom letter row: the two extra keys of some layouts flank the letters.
    {0x02A, 0, 4.5, 1.25, 1, "Shift", ""},
    {0x056, 1.25, 4.5, 1, 1, "<", ">"},
    {0x02C, 2.25, 4.5, 1, 1, "Z", ""},  {0x02D, 3.25, 4.5, 1, 1, "X", ""},
    {0x02E, 4.25, 4.5, 1, 1, "C", ""},  {0x02F, 5.25, 4.5, 1, 1, "V", ""},
    {0x030, 6.25, 4.5, 1, 1, "B", ""},  {0x031, 7.25, 4.5, 1, 1, "N", ""},
    {0x032, 8.25, 4.5, 1, 1, "M", ""},
    {0x033, 9.25, 4.5, 1, 1, ",", "<"}, {0x034, 10.25, 4.5, 1, 1, ".", ">"},
    {0x035, 11.25, 4.5, 1, 1, "/", "?"},
    {0x073, 12.25, 4.5, 1, 1, "\\", "_"},
    {0x036, 13.25, 4.5, 1.75, 1, "Shift", ""},
    {0x148, 16.5, 4.5, 1, 1, "\u2191", ""},
    {0x04F, 19, 4.5, 1, 1, "1", ""},  {0x050, 20, 4.5, 1, 1, "2", ""},
    {0x051, 21, 4.5, 1, 1, "3", ""},  {0x11C, 22, 4.5, 1, 2, "Enter", ""},
    // Space row.
    {0x01D, 0, 5.5, 1.25, 1, "Ctrl", ""},  {0x15B, 1.25, 5.5, 1.25, 1, "Win", ""},
    {0x038, 2.5, 5.5, 1.25, 1, "Alt", ""},  {0x039, 3.75, 5.5, 5, 1, "", ""},
    {0x138, 8.75, 5.5, 1.25, 1, "Alt", ""}, {0x15C, 10, 5.5, 1.25, 1, "Win", ""},
    {kFnKey, 11.25, 5.5, 1.25, 1, "Fn", ""}, {0x15D, 12.5, 5.5, 1.25, 1, "Menu", ""},
    {0x11D, 13.75, 5.5, 1.25, 1, "Ctrl", ""},
    {0x14B, 15.5, 5.5, 1, 1, "\u2190", ""}, {0x150, 16.5, 5.5, 1, 1, "\u2193", ""},
    {0x14D, 17.5, 5.5, 1, 1, "\u2192", ""},
    {0x052, 19, 5.5, 2, 1, "0", ""},  {0x053, 21, 5.5, 1, 1, ".", "Del"},
};
// clang-format on

int UnitsToPixels(double units) {
    return static_cast<int>(std::lround(units * kUnit));
}

QRect KeyRect(const KeyPlace& place) {
    const int left = kKeyboardLeft + UnitsToPixels(place.x);
    const int top = kKeyboardTop + UnitsToPixels(place.y);
    const int right = kKeyboardLeft + UnitsToPixels(place.x + place.w);
    const int bottom = kKeyboardTop + UnitsToPixels(place.y + place.h);
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1))
        .adjusted(kCapInset, kCapInset, -kCapInset, -kCapInset);
}

int KeyboardBottom() {
    return kKeyboardTop + UnitsToPixels(6.5);
}

Control Make(std::string key, QRect rect, Look look, AppearanceBySheet bySheet = kPlainButton) {
    Control control;
    control.key = std::move(key);
    control.rect = rect;
    control.look = look;
    control.bySheet = bySheet;
    control.byAltSheet = bySheet;
    return control;
}

void AddKeyboard(WindowLayout& layout) {
    for (const KeyPlace& place : kKeyPlaces) {
        const std::string key = place.code == kFnKey
                                    ? std::string("KEY_FN")
                                    : skin::KeyButtonSkinKey(keyboard::KeyIndexOfCode(place.code));
        Control cap = Make(key, KeyRect(place), Look::KeyCap, kMarkableButton);
        cap.label = QString::fromUtf8(place.label);
        cap.subLabel = QString::fromUtf8(place.sub);
        layout.controls.push_back(cap);
    }
    // G keys: a column left of the keyboard, as tall as it.
    const int pitch = (KeyboardBottom() - kKeyboardTop) / keyboard::kGKeyButtonCount;
    for (int n = 1; n <= keyboard::kGKeyButtonCount; ++n) {
        const QRect rect(kMargin, kKeyboardTop + (n - 1) * pitch + kCapInset, kGKeyWidth,
                         pitch - 2 * kCapInset);
        Control gKey = Make(skin::GKeySkinKey(n), rect, Look::GKey, kMarkableButton);
        gKey.label = QStringLiteral("G%1").arg(n);
        layout.controls.push_back(gKey);
    }
}

void AddIndicators(WindowLayout& layout) {
    const AppearanceBySheet lit{Appearance::Normal, Appearance::Lit, Appearance::Normal,
                                Appearance::Normal};
    // Lock LEDs above the keypad, the G-key bank above the G keys.
    const int top = kKeyboardTop + 8;
    const int keypadLeft = kKeyboardLeft + UnitsToPixels(19) + kCapInset;
    const std::array<std::pair<const char*, const char*>, 3> locks{
        {{"LOCK_NUM", "NUM"}, {"LOCK_CAPS", "CAPS"}, {"LOCK_SCROLL", "SCROLL"}}};
    int x = keypadLeft;
    for (const auto& [key, name] : locks) {
        Control led = Make(key, QRect(x, top, 54, 24), Look::Indicator, lit);
        led.label = QString::fromLatin1(name);
        layout.controls.push_back(led);
        x += 59;
    }
    Control bank = Make("LOCK_AB", QRect(kMargin, 70, kGKeyWidth, 22), Look::Indicator, lit);
    bank.label = QStringLiteral("BANK");
    layout.controls.push_back(bank);
}

void AddFlip(WindowLayout& layout) {
    // Above F1..F4: the two flip toggles, the two arrows and the flip badge between them.
    const int left = kKeyboardLeft + UnitsToPixels(2) + kCapInset;
    const int right = kKeyboardLeft + UnitsToPixels(6) - kCapInset;
    const int top = 70;
    const int height = 22;
    layout.controls.push_back(
        Make("FLIP_1", QRect(left, top, 26, height), Look::FlipButton, kMarkableButton));
    layout.controls.back().icon = Icon::Swap;
    layout.controls.push_back(Make("LEFT_ARROW", QRect(left + 32, top, 22, height), Look::None));
    const int badgeLeft = left + 60;
    const int badgeRight = right - 60;
    layout.controls.push_back(Make("FLIP_0", QRect(badgeLeft, top, badgeRight - badgeLeft, height),
                                   Look::FlipBadge,
                                   AppearanceBySheet{Appearance::Normal, Appearance::Normal,
                                                     Appearance::Normal, Appearance::Accent}));
    layout.controls.back().label = QStringLiteral("FLIP");
    layout.controls.push_back(Make("RIGHT_ARROW", QRect(right - 54, top, 22, height), Look::None));
    layout.controls.push_back(
        Make("FLIP_2", QRect(right - 26, top, 26, height), Look::FlipButton, kMarkableButton));
    layout.controls.back().icon = Icon::Swap;
}

void AddTitleBar(WindowLayout& layout, const QString& version) {
    layout.decor.emplace_back(Decor::Kind::TitleBar, QRect(0, 0, kWidth, kTitleHeight));
    layout.decor.emplace_back(Decor::Kind::Logo, QRect(kMargin, 12, 170, 32),
                              QStringLiteral("QX480"));
    Control label = Make("KORVEL_VER", QRect(204, 24, 90, 16), Look::Version, kAlwaysNormal);
    label.label = QStringLiteral("v") + version;
    layout.controls.push_back(label);
    // Right: links, a separator, then menu, help, minimise and close.
    const int size = 32;
    const int top = 12;
    int x = kWidth - kMargin - size;
    const std::array<std::pair<const char*, Icon>, 4> window{{{"CONTROL_CLOSE", Icon::Close},
                                                              {"CONTROL_MINIMIZE", Icon::Minimize},
                                                              {"CONTROL_HELP", Icon::Help},
                                                              {"CONTROL_MENU", Icon::Menu}}};
    for (const auto& [key, icon] : window) {
        layout.controls.push_back(Make(key, QRect(x, top, size, size), Look::IconButton));
        layout.controls.back().icon = icon;
        x -= size + 4;
    }
    layout.decor.emplace_back(Decor::Kind::Separator, QRect(x + size - 6, 18, 1, 20));
    x -= 12;
    // Links draw their pressed face from the disable picture.
    const AppearanceBySheet link{Appearance::Normal, Appearance::Hover, Appearance::Pressed,
                                 Appearance::Pressed};
    const std::array<std::pair<const char*, Icon>, 3> links{{{"TWITTER_LINK", Icon::Share},
                                                             {"FACEBOOK_LINK", Icon::Chat},
                                                             {"KORVEL_LINK", Icon::Globe}}};
    for (const auto& [key, icon] : links) {
        layout.controls.push_back(Make(key, QRect(x, top, size, size), Look::IconButton, link));
        layout.controls.back().icon = icon;
        x -= size + 4;
    }
}

void AddLightingPanel(WindowLayout& layout) {
    const int top = kPanelTop;
    layout.decor.emplace_back(Decor::Kind::Panel, QRect(16, top, kWidth - 32, kPanelHeight));
    const int labelTop = top + 12;
    const int fieldTop = top + 38;
    auto none = [&layout](const char* key, QRect rect) {
        layout.controls.push_back(Make(key, rect, Look::None));
    };
    // Lamp and mode.
    none("CONTROL_DengStaPic", QRect(36, top + 22, 52, 52));
    none("CONTROL_DengStatic", QRect(100, labelTop, 190, 18));
    none("CONTROL_XGcombox", QRect(100, fieldTop, 190, 28));
    layout.decor.emplace_back(Decor::Kind::Separator, QRect(306, top + 14, 1, 68));
    // Brightness and speed sliders.
    none("CONTROL_LightStatic", QRect(322, labelTop, 160, 18));
    none("CONTROL_LightSlider", QRect(322, fieldTop + 4, 160, 22));
    none("CONTROL_SpeedStatic", QRect(500, labelTop, 160, 18));
    none("CONTROL_SpeedSlider", QRect(500, fieldTop + 4, 160, 22));
    layout.decor.emplace_back(Decor::Kind::Separator, QRect(676, top + 14, 1, 68));
    // Direction, with its other places (the same spots: the default skin keeps one layout).
    none("CONTROL_BLFXStatic", QRect(692, labelTop, 108, 18));
    none("CONTROL_BLFXLStaPic", QRect(692, fieldTop, 48, 30));
    none("CONTROL_BLFXRStaPic", QRect(746, fieldTop, 48, 30));
    none("CONTROL_BLFXStatic2", QRect(692, labelTop, 108, 18));
    none("CONTROL_BLFXStatic3", QRect(692, labelTop, 108, 18));
    none("CONTROL_BLFXLStaPic2", QRect(692, fieldTop, 48, 30));
    none("CONTROL_BLFXLStaPic3", QRect(692, fieldTop, 48, 30));
    none("CONTROL_BLFXRStaPic2", QRect(746, fieldTop, 48, 30));
    layout.decor.emplace_back(Decor::Kind::Separator, QRect(810, top + 14, 1, 68));
    // Per-key painting: tools, layer, all off / all on.
    none("CONTROL_USERgjStatic", QRect(826, labelTop, 160, 18));
    none("CONTROL_USERgjStaPic1", QRect(826, fieldTop, 36, 30));
    none("CONTROL_USERgjStaPic2", QRect(866, fieldTop, 36, 30));
    none("CONTROL_umCombo", QRect(910, fieldTop + 1, 88, 28));
    none("CONTROL_HXsjsStaPic", QRect(1010, labelTop + 1, 18, 18));
    none("CONTROL_HXsjsStatic", QRect(1032, labelTop, 72, 20));
    none("CONTROL_LEDsjsStaPic", QRect(1010, fieldTop + 6, 18, 18));
    none("CONTROL_LEDsjsStatic", QRect(1032, fieldTop + 5, 72, 20));
    // Deliberate exception: the controls the panel never shows share one reserved spot at the
    // panel's foot, clear of every visible control.
    const QRect hidden(600, top + 80, 28, 12);
    for (const skin::SkinKey& key : skin::MainSkinKeys().buttonInfo) {
        if (key.role == skin::ControlRole::AlwaysHidden) {
            none(key.name.c_str(), hidden);
        }
    }
    // FUNC_SWITCH is read by the window but has no visible role: a spot of plain panel.
    none("FUNC_SWITCH", QRect(640, top + 80, 28, 12));
}

void AddCommandBar(WindowLayout& layout) {
    const int top = kBarTop + 6;
    const int height = 36;
    int x = kMargin;
    auto place = [&](const char* key, int width, Look look, AppearanceBySheet bySheet) {
        layout.controls.push_back(Make(key, QRect(x, top, width, height), look, bySheet));
        x += width;
        return &layout.controls.back();
    };
    place("FUNC_PROFILES", 150, Look::Body, kPlainButton);
    x += 10;
    for (const char* key : {"FUNC_PROFILE1", "FUNC_PROFILE2", "FUNC_PROFILE3"}) {
        place(key, 64, Look::Segment, kMarkableButton);
        x += 4;
    }
    x += 10;
    place("FUNC_MACRO", 84, Look::Body, kPlainButton);
    x += 16;
    // Report rates: a label above four rate buttons.
    layout.controls.push_back(
        Make("CONTROL_UsbStatic", QRect(x, kBarTop - 4, 220, 16), Look::None));
    const std::array<const char*, 4> rates{"125", "250", "500", "1000"};
    for (int i = 0; i < 4; ++i) {
        Control rate = Make("FUNC_REPORT" + std::to_string(i + 1),
                            QRect(x + i * 56, top + 12, 52, 26), Look::Segment, kMarkableButton);
        rate.label = QString::fromLatin1(rates[static_cast<std::size_t>(i)]);
        layout.controls.push_back(rate);
    }
    x += 4 * 56 - 4 + 16;
    place("FUNC_DEFAULT", 80, Look::Body, kMarkableButton);
    x += 10;
    layout.controls.push_back(Make("CONTROL_JDTStatic", QRect(x, top + 4, 28, 28), Look::None));
    x += 28 + 10;
    place("CONTROL2_APPLY", 76, Look::AccentBody, kDisablableButton);
    x += 6;
    place("CONTROL_OK", 70, Look::Body, kPlainButton);
    x += 6;
    place("CONTROL_CANCEL", 70, Look::Body, kPlainButton);
}

void AddArrowFaces(WindowLayout& layout) {
    // Arrow.jpg holds the eight arrow faces in a row at its top-left; a face is cut one pixel up
    // and left of its point.
    const Control* arrow = layout.Find("LEFT_ARROW");
    const int width = arrow->rect.width();
    int x = 8;
    for (std::string_view base :
         {skin::kArrowUpLeft, skin::kArrowDownLeft, skin::kArrowUpRight, skin::kArrowDownRight}) {
        for (int frame = 1; frame <= 2; ++frame) {
            layout.sheetPoints.emplace_back(skin::ArrowSheetKey(base, frame), QPoint(x + 1, 9));
            x += width + 8;
        }
    }
}

}  // namespace

WindowLayout MainLayout(const QString& version) {
    WindowLayout layout;
    layout.name = "main";
    layout.size = QSize(kWidth, kHeight);
    layout.screen = {{"Link", kDefaultWebLink},
                     {"Facebook_Link", kDefaultFacebookLink},
                     {"Twitter_Link", kDefaultTwitterLink}};
    AddTitleBar(layout, version);
    layout.decor.emplace_back(Decor::Kind::Plate,
                              QRect(16, 62, kWidth - 32, KeyboardBottom() + 12 - 62));
    AddKeyboard(layout);
    AddIndicators(layout);
    AddFlip(layout);
    AddLightingPanel(layout);
    AddCommandBar(layout);
    AddArrowFaces(layout);
    return layout;
}

const Control* WindowLayout::Find(const std::string& key) const {
    const auto it = std::find_if(controls.begin(), controls.end(),
                                 [&key](const Control& control) { return control.key == key; });
    return it == controls.end() ? nullptr : &*it;
}

}  // namespace qx::skingen
