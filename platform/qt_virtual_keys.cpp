// The virtual keys of Qt's key symbols. Letters and digits name the key the layout put them on;
// the punctuation a US layout types unshifted keeps its virtual key, as on that layout. Shifted
// symbols, dead keys and the symbols of other layouts have none: the scan code names their key.
#include <QtCore/qnamespace.h>

#include <algorithm>
#include <array>
#include <utility>

#include "platform/qt_keystroke.h"

namespace qx::platform {
namespace {

using KeyPair = std::pair<Qt::Key, uint8_t>;

// clang-format off
constexpr std::array<KeyPair, 61> kVirtualKeys{{
    {Qt::Key_Backspace, 0x08}, {Qt::Key_Tab, 0x09}, {Qt::Key_Backtab, 0x09},
    {Qt::Key_Clear, 0x0C}, {Qt::Key_Return, 0x0D}, {Qt::Key_Enter, 0x0D},
    {Qt::Key_Shift, 0x10}, {Qt::Key_Control, 0x11}, {Qt::Key_Alt, 0x12}, {Qt::Key_AltGr, 0x12},
    {Qt::Key_Pause, 0x13}, {Qt::Key_CapsLock, 0x14}, {Qt::Key_Escape, 0x1B},
    {Qt::Key_Space, 0x20}, {Qt::Key_PageUp, 0x21}, {Qt::Key_PageDown, 0x22},
    {Qt::Key_End, 0x23}, {Qt::Key_Home, 0x24}, {Qt::Key_Left, 0x25}, {Qt::Key_Up, 0x26},
    {Qt::Key_Right, 0x27}, {Qt::Key_Down, 0x28}, {Qt::Key_Print, 0x2C}, {Qt::Key_SysReq, 0x2C},
    {Qt::Key_Insert, 0x2D}, {Qt::Key_Delete, 0x2E},
    {Qt::Key_Super_L, 0x5B}, {Qt::Key_Super_R, 0x5C}, {Qt::Key_Menu, 0x5D}, {Qt::Key_Sleep, 0x5F},
    {Qt::Key_NumLock, 0x90}, {Qt::Key_ScrollLock, 0x91},
    {Qt::Key_Back, 0xA6}, {Qt::Key_Forward, 0xA7}, {Qt::Key_Refresh, 0xA8}, {Qt::Key_Stop, 0xA9},
    {Qt::Key_Search, 0xAA}, {Qt::Key_Favorites, 0xAB}, {Qt::Key_HomePage, 0xAC},
    {Qt::Key_VolumeMute, 0xAD}, {Qt::Key_VolumeDown, 0xAE}, {Qt::Key_VolumeUp, 0xAF},
    {Qt::Key_MediaNext, 0xB0}, {Qt::Key_MediaPrevious, 0xB1}, {Qt::Key_MediaStop, 0xB2},
    {Qt::Key_MediaPlay, 0xB3}, {Qt::Key_MediaTogglePlayPause, 0xB3},
    {Qt::Key_LaunchMail, 0xB4}, {Qt::Key_LaunchMedia, 0xB5}, {Qt::Key_Calculator, 0xB7},
    {Qt::Key_Semicolon, 0xBA}, {Qt::Key_Equal, 0xBB}, {Qt::Key_Comma, 0xBC},
    {Qt::Key_Minus, 0xBD}, {Qt::Key_Period, 0xBE}, {Qt::Key_Slash, 0xBF},
    {Qt::Key_QuoteLeft, 0xC0}, {Qt::Key_BracketLeft, 0xDB}, {Qt::Key_Backslash, 0xDC},
    {Qt::Key_BracketRight, 0xDD}, {Qt::Key_Apostrophe, 0xDE},
}};

// The keypad's own symbols. Its comma is a decimal separator on some layouts and a key of its own
// on others, so its scan code decides.
constexpr std::array<KeyPair, 7> kKeypadKeys{{
    {Qt::Key_Asterisk, 0x6A}, {Qt::Key_Plus, 0x6B}, {Qt::Key_Comma, kNoVirtualKey},
    {Qt::Key_Minus, 0x6D}, {Qt::Key_Period, 0x6E}, {Qt::Key_Slash, 0x6F}, {Qt::Key_Enter, 0x0D},
}};
// clang-format on

constexpr uint8_t kKeypadDigitBase = 0x60;
constexpr uint8_t kFirstFunctionKey = 0x70;  // F1; F24 is 0x87
constexpr int kFunctionKeys = 24;

template <std::size_t N>
const KeyPair* Find(const std::array<KeyPair, N>& table, int key) {
    const auto* found = std::find_if(table.begin(), table.end(),
                                     [key](const KeyPair& pair) { return pair.first == key; });
    return found == table.end() ? nullptr : found;
}

}  // namespace

uint8_t VirtualKeyOfQtKey(int key, bool keypad) {
    if (key >= Qt::Key_A && key <= Qt::Key_Z) {
        return static_cast<uint8_t>(key);  // the letters' virtual keys are their capitals
    }
    if (key >= Qt::Key_0 && key <= Qt::Key_9) {
        return static_cast<uint8_t>(keypad ? kKeypadDigitBase + (key - Qt::Key_0) : key);
    }
    if (key >= Qt::Key_F1 && key < Qt::Key_F1 + kFunctionKeys) {
        return static_cast<uint8_t>(kFirstFunctionKey + (key - Qt::Key_F1));
    }
    if (const KeyPair* pair = keypad ? Find(kKeypadKeys, key) : nullptr) {
        return pair->second;
    }
    const KeyPair* pair = Find(kVirtualKeys, key);
    return pair == nullptr ? kNoVirtualKey : pair->second;
}

}  // namespace qx::platform
