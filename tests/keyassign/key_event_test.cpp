// Key events from Qt to key codes: every key of the keyboard view through the whole chain (native
// code, Qt symbol, keystroke flags, KeyCodeOfEvent), the rules of KeyCodeOfEvent on their own,
// and the single-key page's capture decisions.
#include "keyassign/key_event.h"

#include <gtest/gtest.h>
#include <linux/input-event-codes.h>

#include <QKeyEvent>
#include <algorithm>
#include <array>

#include "keyassign/key_capture.h"
#include "keyboard/key_buttons.h"
#include "keyboard/media_tables.h"
#include "platform/native_scan_codes.h"
#include "platform/qt_keystroke.h"

namespace qx::keyassign {
namespace {

using keyboard::KeyCode;
using platform::KeyTransition;
using platform::MakeKeystroke;

// A key as a US layout with Num Lock on reports it: Linux input code, Qt symbol, keypad flag.
struct UsKey {
    KeyCode code;
    uint32_t input;
    int qtKey;
    bool keypad = false;
};

// Every key of the keyboard view. K56 has no symbol on a US layout.
// clang-format off
constexpr std::array<UsKey, keyboard::kKeyButtonCount> kViewKeys{{
    {0x01E, KEY_A, Qt::Key_A}, {0x030, KEY_B, Qt::Key_B}, {0x02E, KEY_C, Qt::Key_C},
    {0x020, KEY_D, Qt::Key_D}, {0x012, KEY_E, Qt::Key_E}, {0x021, KEY_F, Qt::Key_F},
    {0x022, KEY_G, Qt::Key_G}, {0x023, KEY_H, Qt::Key_H}, {0x017, KEY_I, Qt::Key_I},
    {0x024, KEY_J, Qt::Key_J}, {0x025, KEY_K, Qt::Key_K}, {0x026, KEY_L, Qt::Key_L},
    {0x032, KEY_M, Qt::Key_M}, {0x031, KEY_N, Qt::Key_N}, {0x018, KEY_O, Qt::Key_O},
    {0x019, KEY_P, Qt::Key_P}, {0x010, KEY_Q, Qt::Key_Q}, {0x013, KEY_R, Qt::Key_R},
    {0x01F, KEY_S, Qt::Key_S}, {0x014, KEY_T, Qt::Key_T}, {0x016, KEY_U, Qt::Key_U},
    {0x02F, KEY_V, Qt::Key_V}, {0x011, KEY_W, Qt::Key_W}, {0x02D, KEY_X, Qt::Key_X},
    {0x015, KEY_Y, Qt::Key_Y}, {0x02C, KEY_Z, Qt::Key_Z},
    {0x002, KEY_1, Qt::Key_1}, {0x003, KEY_2, Qt::Key_2}, {0x004, KEY_3, Qt::Key_3},
    {0x005, KEY_4, Qt::Key_4}, {0x006, KEY_5, Qt::Key_5}, {0x007, KEY_6, Qt::Key_6},
    {0x008, KEY_7, Qt::Key_7}, {0x009, KEY_8, Qt::Key_8}, {0x00A, KEY_9, Qt::Key_9},
    {0x00B, KEY_0, Qt::Key_0},
    {0x01C, KEY_ENTER, Qt::Key_Return}, {0x001, KEY_ESC, Qt::Key_Escape},
    {0x00E, KEY_BACKSPACE, Qt::Key_Backspace}, {0x00F, KEY_TAB, Qt::Key_Tab},
    {0x039, KEY_SPACE, Qt::Key_Space}, {0x00C, KEY_MINUS, Qt::Key_Minus},
    {0x00D, KEY_EQUAL, Qt::Key_Equal}, {0x01A, KEY_LEFTBRACE, Qt::Key_BracketLeft},
    {0x01B, KEY_RIGHTBRACE, Qt::Key_BracketRight}, {0x02B, KEY_BACKSLASH, Qt::Key_Backslash},
    {0x027, KEY_SEMICOLON, Qt::Key_Semicolon}, {0x028, KEY_APOSTROPHE, Qt::Key_Apostrophe},
    {0x029, KEY_GRAVE, Qt::Key_QuoteLeft}, {0x033, KEY_COMMA, Qt::Key_Comma},
    {0x034, KEY_DOT, Qt::Key_Period}, {0x035, KEY_SLASH, Qt::Key_Slash},
    {0x03B, KEY_F1, Qt::Key_F1}, {0x03C, KEY_F2, Qt::Key_F2}, {0x03D, KEY_F3, Qt::Key_F3},
    {0x03E, KEY_F4, Qt::Key_F4}, {0x03F, KEY_F5, Qt::Key_F5}, {0x040, KEY_F6, Qt::Key_F6},
    {0x041, KEY_F7, Qt::Key_F7}, {0x042, KEY_F8, Qt::Key_F8}, {0x043, KEY_F9, Qt::Key_F9},
    {0x044, KEY_F10, Qt::Key_F10}, {0x057, KEY_F11, Qt::Key_F11}, {0x058, KEY_F12, Qt::Key_F12},
    {0x137, KEY_SYSRQ, Qt::Key_Print}, {0x045, KEY_PAUSE, Qt::Key_Pause},
    {0x152, KEY_INSERT, Qt::Key_Insert}, {0x153, KEY_DELETE, Qt::Key_Delete},
    {0x147, KEY_HOME, Qt::Key_Home}, {0x14F, KEY_END, Qt::Key_End},
    {0x149, KEY_PAGEUP, Qt::Key_PageUp}, {0x151, KEY_PAGEDOWN, Qt::Key_PageDown},
    {0x148, KEY_UP, Qt::Key_Up}, {0x150, KEY_DOWN, Qt::Key_Down},
    {0x14B, KEY_LEFT, Qt::Key_Left}, {0x14D, KEY_RIGHT, Qt::Key_Right},
    {0x046, KEY_SCROLLLOCK, Qt::Key_ScrollLock}, {0x03A, KEY_CAPSLOCK, Qt::Key_CapsLock},
    {0x15D, KEY_COMPOSE, Qt::Key_Menu},
    {0x01D, KEY_LEFTCTRL, Qt::Key_Control}, {0x11D, KEY_RIGHTCTRL, Qt::Key_Control},
    {0x02A, KEY_LEFTSHIFT, Qt::Key_Shift}, {0x036, KEY_RIGHTSHIFT, Qt::Key_Shift},
    {0x038, KEY_LEFTALT, Qt::Key_Alt}, {0x138, KEY_RIGHTALT, Qt::Key_Alt},
    {0x15B, KEY_LEFTMETA, Qt::Key_Super_L}, {0x15C, KEY_RIGHTMETA, Qt::Key_Super_R},
    {0x04F, KEY_KP1, Qt::Key_1, true}, {0x050, KEY_KP2, Qt::Key_2, true},
    {0x051, KEY_KP3, Qt::Key_3, true}, {0x04B, KEY_KP4, Qt::Key_4, true},
    {0x04C, KEY_KP5, Qt::Key_5, true}, {0x04D, KEY_KP6, Qt::Key_6, true},
    {0x047, KEY_KP7, Qt::Key_7, true}, {0x048, KEY_KP8, Qt::Key_8, true},
    {0x049, KEY_KP9, Qt::Key_9, true}, {0x052, KEY_KP0, Qt::Key_0, true},
    {0x145, KEY_NUMLOCK, Qt::Key_NumLock}, {0x11C, KEY_KPENTER, Qt::Key_Enter, true},
    {0x053, KEY_KPDOT, Qt::Key_Period, true}, {0x135, KEY_KPSLASH, Qt::Key_Slash, true},
    {0x037, KEY_KPASTERISK, Qt::Key_Asterisk, true}, {0x04A, KEY_KPMINUS, Qt::Key_Minus, true},
    {0x04E, KEY_KPPLUS, Qt::Key_Plus, true},
    {0x056, KEY_102ND, Qt::Key_Less}, {0x073, KEY_RO, 0}, {0x07E, KEY_KPCOMMA, Qt::Key_Comma, true},
}};
// clang-format on

// The keyboard the events come from. Without one, Qt makes a default keyboard of its own that
// outlives every test (a leak to the leak checker).
const QInputDevice* TestKeyboard() {
    static const QInputDevice keyboard(QStringLiteral("test keyboard"), 1,
                                       QInputDevice::DeviceType::Keyboard);
    return &keyboard;
}

QKeyEvent Event(QEvent::Type type, uint32_t input, int qtKey, Qt::KeyboardModifiers modifiers = {},
                bool autoRepeat = false) {
    return QKeyEvent(type, qtKey, modifiers, input + platform::kNativeKeyCodeOffset, 0, 0, {},
                     autoRepeat, 1, TestKeyboard());
}

KeyCode CodeOf(uint32_t input, int qtKey, Qt::KeyboardModifiers modifiers = {}) {
    return KeyCodeOfEvent(
        platform::KeystrokeOfEvent(Event(QEvent::KeyPress, input, qtKey, modifiers)));
}

TEST(KeyEventChain, EveryKeyOfTheKeyboardViewTranslatesToItsOwnCode) {
    for (const keyboard::KeyButton& button : keyboard::KeyButtons()) {
        const auto* key = std::find_if(kViewKeys.begin(), kViewKeys.end(),
                                       [&](const UsKey& k) { return k.code == button.keyCode; });
        ASSERT_NE(key, kViewKeys.end()) << button.name;
        EXPECT_EQ(CodeOf(key->input, key->qtKey, key->keypad ? Qt::KeypadModifier : Qt::NoModifier),
                  button.keyCode)
            << button.name;
        EXPECT_EQ(CodeOf(key->input, 0), button.keyCode) << button.name << " by its place alone";
    }
}

TEST(KeyEventChain, KeypadWithNumLockOffStillNamesTheKeypadKeys) {
    const std::array<UsKey, 5> keys{{
        {0x04F, KEY_KP1, Qt::Key_End},
        {0x04C, KEY_KP5, Qt::Key_Clear},
        {0x048, KEY_KP8, Qt::Key_Up},
        {0x052, KEY_KP0, Qt::Key_Insert},
        {0x053, KEY_KPDOT, Qt::Key_Delete},
    }};
    for (const UsKey& key : keys) {
        EXPECT_EQ(CodeOf(key.input, key.qtKey, Qt::KeypadModifier), key.code) << key.qtKey;
    }
}

TEST(KeyEventChain, LayoutsShiftAndModifiers) {
    // The letter the layout put on a place names the key (a French layout's A on Q's place).
    EXPECT_EQ(CodeOf(KEY_Q, Qt::Key_A), 0x01E);
    // Shifted symbols and letters of other scripts have no virtual key: the place decides.
    EXPECT_EQ(CodeOf(KEY_1, Qt::Key_Exclam, Qt::ShiftModifier), 0x002);
    EXPECT_EQ(CodeOf(KEY_A, 0x0424), 0x01E);
    // Alt makes Print Screen Sys Req and Ctrl makes Pause Break, as the keyboard's codes do.
    EXPECT_EQ(CodeOf(KEY_SYSRQ, Qt::Key_SysReq, Qt::AltModifier), 0x054);
    EXPECT_EQ(CodeOf(KEY_PAUSE, Qt::Key_Pause, Qt::ControlModifier), 0x146);
    // A synthesised event without a native code is named by its symbol alone.
    EXPECT_EQ(KeyCodeOfEvent(platform::KeystrokeOfEvent(QKeyEvent(QEvent::KeyPress, Qt::Key_Home,
                                                                  Qt::NoModifier, 0, 0, 0, {},
                                                                  false, 1, TestKeyboard()))),
              0x147);
}

TEST(KeyEventChain, AutomaticRepeatsOfEitherKindAreRepeats) {
    const platform::Keystroke press =
        platform::KeystrokeOfEvent(Event(QEvent::KeyPress, KEY_A, Qt::Key_A));
    const platform::Keystroke release =
        platform::KeystrokeOfEvent(Event(QEvent::KeyRelease, KEY_A, Qt::Key_A));
    EXPECT_TRUE(press.IsFirstPress());
    EXPECT_TRUE(release.IsRelease());
    EXPECT_EQ(release.flags & platform::kPreviousStateFlag, platform::kPreviousStateFlag);
    for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
        const platform::Keystroke repeat =
            platform::KeystrokeOfEvent(Event(type, KEY_A, Qt::Key_A, {}, true));
        EXPECT_TRUE(repeat.IsRepeat()) << type;
        EXPECT_EQ(KeyCodeOfEvent(repeat), 0x01E);
    }
}

TEST(KeyCodeOfEventRules, EachRuleDecides) {
    const auto code = [](uint8_t vk, uint16_t scan) {
        return KeyCodeOfEvent(vk, MakeKeystroke(vk, scan, KeyTransition::Press).flags);
    };
    EXPECT_EQ(code(0x10, 0x036), 0x036) << "rule 1: Right Shift shares Shift's virtual key";
    EXPECT_EQ(code(0xFF, 0x15E), 0x15E) << "rule 2: no virtual key";
    EXPECT_EQ(code(0x24, 0x000), 0x147) << "rule 3: no scan code";
    EXPECT_EQ(code(0x11, 0x11D), 0x11D) << "rule 4: Ctrl's key has Right Ctrl's place";
    EXPECT_EQ(code(0x23, 0x04F), 0x04F) << "rule 4: the second virtual key of Num 1";
    EXPECT_EQ(code(0x5A, 0x015), 0x02C) << "rule 4: Z on Y's place is Z";
    EXPECT_EQ(KeyCodeOfEvent(0x1241, MakeKeystroke(0, 0x01E, KeyTransition::Press).flags), 0x01E)
        << "only the virtual key's low byte counts";
}

// ---- Capture on the single-key page ------------------------------------------------------------

KeyCapture Capture(uint32_t input, int qtKey, KeyTransition transition,
                   bool keyboardChoice = true) {
    return CaptureKeyEvent(
        platform::KeystrokeOfNativeKey(input + platform::kNativeKeyCodeOffset,
                                       platform::VirtualKeyOfQtKey(qtKey, false), {}, transition),
        keyboardChoice);
}

TEST(KeyCaptureDecision, AKeyIsTakenOnceOnItsFirstPressAndAlwaysSwallowed) {
    EXPECT_EQ(Capture(KEY_ENTER, Qt::Key_Return, KeyTransition::Press).key, 0x01C);
    EXPECT_EQ(Capture(KEY_ESC, Qt::Key_Escape, KeyTransition::Press).key, 0x001);
    for (KeyTransition later : {KeyTransition::Repeat, KeyTransition::Release}) {
        const KeyCapture capture = Capture(KEY_ESC, Qt::Key_Escape, later);
        EXPECT_EQ(capture.verdict, KeyEventVerdict::Swallow);
        EXPECT_EQ(capture.key, keyboard::kNoKey);
    }
    // The mouse choice takes no key but still keeps Escape from closing the window.
    EXPECT_EQ(Capture(KEY_ESC, Qt::Key_Escape, KeyTransition::Press, false).key, keyboard::kNoKey);
    EXPECT_EQ(Capture(KEY_ESC, Qt::Key_Escape, KeyTransition::Press, false).verdict,
              KeyEventVerdict::Swallow);
    // The Super and Menu keys are taken whatever the choice.
    EXPECT_EQ(Capture(KEY_LEFTMETA, Qt::Key_Super_L, KeyTransition::Press, false).key, 0x15B);
}

TEST(KeyCaptureDecision, PrintScreenIsTakenOnItsReleaseOnly) {
    EXPECT_EQ(Capture(KEY_SYSRQ, Qt::Key_Print, KeyTransition::Press).key, keyboard::kNoKey);
    EXPECT_EQ(Capture(KEY_SYSRQ, Qt::Key_Print, KeyTransition::Repeat).key, keyboard::kNoKey);
    EXPECT_EQ(Capture(KEY_SYSRQ, Qt::Key_Print, KeyTransition::Release).key, 0x137);
}

TEST(KeyCaptureDecision, MediaKeysAndUnknownKeysAreHandedOn) {
    // The multimedia list's keys as Linux reports them, with their Qt symbols where Qt has one.
    const std::array<UsKey, 20> media{{
        {0x16D, KEY_CONFIG, Qt::Key_Tools},
        {0x16D, KEY_MEDIA, Qt::Key_LaunchMedia},
        {0x122, KEY_PLAYPAUSE, Qt::Key_MediaPlay},
        {0x124, KEY_STOPCD, Qt::Key_MediaStop},
        {0x110, KEY_PREVIOUSSONG, Qt::Key_MediaPrevious},
        {0x119, KEY_NEXTSONG, Qt::Key_MediaNext},
        {0x12E, KEY_VOLUMEDOWN, Qt::Key_VolumeDown},
        {0x130, KEY_VOLUMEUP, Qt::Key_VolumeUp},
        {0x120, KEY_MUTE, Qt::Key_VolumeMute},
        {0x132, KEY_HOMEPAGE, Qt::Key_HomePage},
        {0x167, KEY_REFRESH, Qt::Key_Refresh},
        {0x168, KEY_STOP, Qt::Key_Cancel},
        {0x16A, KEY_BACK, Qt::Key_Back},
        {0x169, KEY_FORWARD, Qt::Key_Forward},
        {0x166, KEY_BOOKMARKS, Qt::Key_Favorites},
        {0x165, KEY_SEARCH, Qt::Key_Search},
        {0x16B, KEY_COMPUTER, Qt::Key_Explorer},
        {0x16B, KEY_FILE, Qt::Key_Explorer},
        {0x121, KEY_CALC, Qt::Key_Calculator},
        {0x16C, KEY_MAIL, Qt::Key_LaunchMail},
    }};
    for (const UsKey& key : media) {
        ASSERT_TRUE(keyboard::MultimediaIndexOfKeyCode(key.code).has_value());
        EXPECT_EQ(CodeOf(key.input, key.qtKey), key.code) << key.input;
        const KeyCapture capture = Capture(key.input, key.qtKey, KeyTransition::Press);
        EXPECT_EQ(capture.verdict, KeyEventVerdict::PassOn) << key.input;
        EXPECT_EQ(capture.key, keyboard::kNoKey) << key.input;
    }
    EXPECT_EQ(Capture(KEY_PROG1, 0, KeyTransition::Press).verdict, KeyEventVerdict::PassOn);
}

}  // namespace
}  // namespace qx::keyassign
