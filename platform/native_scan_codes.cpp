#include "platform/native_scan_codes.h"

#include <linux/input-event-codes.h>

#include <array>
#include <utility>

namespace qx::platform {
namespace {

constexpr uint16_t E0(uint16_t makeCode) {
    return kExtendedScanCode | makeCode;
}

// Input codes 1..88 are the make codes themselves, but for the first three rows below.
constexpr uint32_t kLastMakeCodeInput = KEY_F12;

// The input codes that differ and every other key of the key table's keyboard half:
// {input code, make code (+ E0)}; 0 for a code that is no key of the table.
constexpr uint32_t kNoKeyInput = 84;
// clang-format off
constexpr std::array<std::pair<uint32_t, uint16_t>, 54> kOtherKeys{{
    {kNoKeyInput,          0},
    {KEY_ZENKAKUHANKAKU,   0},         // a language key with a make code of its own
    {KEY_NUMLOCK,          E0(0x45)},  // Pause's make code; the keyboard sends Num Lock with E0
    {KEY_PAUSE,            0x45},
    {KEY_RO,               0x73},      // K56
    {KEY_HENKAN,           0x79},      // CHG
    {KEY_KATAKANAHIRAGANA, 0x70},      // ROMA
    {KEY_MUHENKAN,         0x7B},      // N-CHG
    {KEY_KPCOMMA,          0x7E},      // K107
    {KEY_HANGEUL,          0x72},      // KR
    {KEY_HANJA,            0x71},      // KL
    {KEY_YEN,              0x7D},      // K14
    {KEY_F13,              0x64},
    {KEY_KPENTER,          E0(0x1C)},
    {KEY_RIGHTCTRL,        E0(0x1D)},
    {KEY_KPSLASH,          E0(0x35)},
    {KEY_SYSRQ,            E0(0x37)},  // Print Screen
    {KEY_RIGHTALT,         E0(0x38)},
    {KEY_HOME,             E0(0x47)},
    {KEY_UP,               E0(0x48)},
    {KEY_PAGEUP,           E0(0x49)},
    {KEY_LEFT,             E0(0x4B)},
    {KEY_RIGHT,            E0(0x4D)},
    {KEY_END,              E0(0x4F)},
    {KEY_DOWN,             E0(0x50)},
    {KEY_PAGEDOWN,         E0(0x51)},
    {KEY_INSERT,           E0(0x52)},
    {KEY_DELETE,           E0(0x53)},
    {KEY_LEFTMETA,         E0(0x5B)},
    {KEY_RIGHTMETA,        E0(0x5C)},
    {KEY_COMPOSE,          E0(0x5D)},  // Menu
    {KEY_POWER,            E0(0x5E)},
    {KEY_SLEEP,            E0(0x5F)},
    {KEY_WAKEUP,           E0(0x63)},
    {KEY_PREVIOUSSONG,     E0(0x10)},
    {KEY_NEXTSONG,         E0(0x19)},
    {KEY_MUTE,             E0(0x20)},
    {KEY_CALC,             E0(0x21)},
    {KEY_PLAYPAUSE,        E0(0x22)},
    {KEY_STOPCD,           E0(0x24)},
    {KEY_VOLUMEDOWN,       E0(0x2E)},
    {KEY_VOLUMEUP,         E0(0x30)},
    {KEY_HOMEPAGE,         E0(0x32)},
    {KEY_SEARCH,           E0(0x65)},
    {KEY_BOOKMARKS,        E0(0x66)},
    {KEY_REFRESH,          E0(0x67)},
    {KEY_STOP,             E0(0x68)},  // the browser's Stop
    {KEY_FORWARD,          E0(0x69)},
    {KEY_BACK,             E0(0x6A)},
    {KEY_COMPUTER,         E0(0x6B)},  // My PC
    {KEY_FILE,             E0(0x6B)},  // My PC as keyboards send it (local machine browser)
    {KEY_MAIL,             E0(0x6C)},
    {KEY_MEDIA,            E0(0x6D)},  // Media Player
    {KEY_CONFIG,           E0(0x6D)},  // Media Player as keyboards send it (consumer control)
}};
// clang-format on

constexpr std::size_t kInputCodes = 256;

constexpr std::array<uint16_t, kInputCodes> BuildScanCodes() {
    std::array<uint16_t, kInputCodes> codes{};
    for (uint32_t input = 0; input < kInputCodes; ++input) {
        if (input >= KEY_ESC && input <= kLastMakeCodeInput) {
            codes[input] = static_cast<uint16_t>(input);
        }
    }
    for (const auto& [input, scanCode] : kOtherKeys) {
        codes[input] = scanCode;
    }
    return codes;
}

constexpr std::array<uint16_t, kInputCodes> kScanCodes = BuildScanCodes();

// The keys a modifier gives another code, as the keyboard's scan codes do.
constexpr uint16_t kSysReq = 0x54;
constexpr uint16_t kBreak = E0(0x46);

uint16_t ModifiedScanCode(uint32_t inputCode, KeyModifiers modifiers) {
    if (inputCode == KEY_SYSRQ && modifiers.alt) {
        return kSysReq;
    }
    if (inputCode == KEY_PAUSE && modifiers.ctrl) {
        return kBreak;
    }
    return 0;
}

}  // namespace

uint16_t ScanCodeOfInputCode(uint32_t inputCode, KeyModifiers modifiers) {
    if (inputCode >= kInputCodes) {
        return 0;
    }
    if (const uint16_t modified = ModifiedScanCode(inputCode, modifiers)) {
        return modified;
    }
    return kScanCodes[inputCode];
}

uint16_t ScanCodeOfNativeKey(uint32_t nativeCode, KeyModifiers modifiers) {
    return nativeCode < kNativeKeyCodeOffset
               ? 0
               : ScanCodeOfInputCode(nativeCode - kNativeKeyCodeOffset, modifiers);
}

Keystroke KeystrokeOfNativeKey(uint32_t nativeCode, uint8_t symbolVirtualKey,
                               KeyModifiers modifiers, KeyTransition transition) {
    const bool modified = nativeCode >= kNativeKeyCodeOffset &&
                          ModifiedScanCode(nativeCode - kNativeKeyCodeOffset, modifiers) != 0;
    return MakeKeystroke(modified ? kNoVirtualKey : symbolVirtualKey,
                         ScanCodeOfNativeKey(nativeCode, modifiers), transition);
}

}  // namespace qx::platform
