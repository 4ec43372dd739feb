// Key actions: the keyboard's three-byte description of what a key does {kind, sub-kind,
// value}, and their translation to and from key codes and key entries. Every kind, modifier bit
// and mouse code is written down once here; the layout and macro coders in both directions use
// these tables.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>

#include "keyboard/key_code.h"
#include "keyboard/key_entry.h"

namespace qx::device {

struct KeyAction {
    uint8_t kind = 0;
    uint8_t sub = 0;
    uint8_t value = 0;
    friend bool operator==(const KeyAction&, const KeyAction&) = default;
};

// Kinds of a key action (also bits 12..14 of a macro action's word).
enum KeyActionKind : uint8_t {
    kActionNone = 0,      // no function: 00 00 00
    kActionMouse = 1,     // sub-kind and value: kMouseActions
    kActionKeyboard = 2,  // sub 1 modifier bit, sub 2 device key code
    kActionConsumer = 3,  // a consumer usage: low byte, high byte
    kActionSystem = 4,    // a system-control usage: low byte, high byte
    kActionMacro = 5,     // sub 1 play, 2 stop, 5 keyboard function
    kActionGKey = 6,      // sub kGKeySub, value n: G key n
};

inline constexpr uint8_t kModifierSub = 1;
inline constexpr uint8_t kKeySub = 2;
inline constexpr uint8_t kPlayMacroSub = 1;
inline constexpr uint8_t kStopMacroSub = 2;
inline constexpr uint8_t kFunctionSub = 5;
inline constexpr uint8_t kGKeySub = 0xA2;

inline constexpr KeyAction kNoAction{};
inline constexpr KeyAction kStopMacroAction{kActionMacro, kStopMacroSub, 0};

// The eight modifier keys and their bits, in bit order (Left Ctrl 0x01 .. Right Win 0x80).
struct ModifierBit {
    keyboard::KeyCode keyCode;
    uint8_t bit;
};
inline constexpr std::array<ModifierBit, 8> kModifierBits{{
    {keyboard::kModifierCodes[0], 0x01},
    {keyboard::kModifierCodes[1], 0x02},
    {keyboard::kModifierCodes[2], 0x04},
    {keyboard::kModifierCodes[3], 0x08},
    {keyboard::kModifierCodes[4], 0x10},
    {keyboard::kModifierCodes[5], 0x20},
    {keyboard::kModifierCodes[6], 0x40},
    {keyboard::kModifierCodes[7], 0x80},
}};

// The five mouse keys and their {sub-kind, value} under kind kActionMouse.
struct MouseAction {
    keyboard::KeyCode keyCode;
    uint8_t sub;
    uint8_t value;
};
inline constexpr uint8_t kMouseButtonSub = 1;
inline constexpr uint8_t kMouseWheelSub = 5;
inline constexpr std::array<MouseAction, 5> kMouseActions{{
    {keyboard::kMouseLeft, kMouseButtonSub, 0x01},
    {keyboard::kMouseRight, kMouseButtonSub, 0x02},
    {keyboard::kMouseMiddle, kMouseButtonSub, 0x04},
    {keyboard::kWheelUp, kMouseWheelSub, 0x01},
    {keyboard::kWheelDown, kMouseWheelSub, 0xFF},
}};

// The bit of a modifier key; nothing for any other key.
std::optional<uint8_t> ModifierBitOfKeyCode(keyboard::KeyCode code);
// The key of the lowest set bit; 0 when no bit is set.
keyboard::KeyCode KeyCodeOfModifierBits(uint8_t bits);

// The mouse action of a mouse key; nothing for any other key.
std::optional<KeyAction> MouseActionOfKeyCode(keyboard::KeyCode code);
// The mouse key of {sub-kind, value}; 0 for anything outside kMouseActions.
keyboard::KeyCode KeyCodeOfMouseAction(uint8_t sub, uint8_t value);

// The key a key action stands for; 0 when none (kinds 0 and 5, unknown usages and codes).
// Used on the default layout's actions (which key sits at a position) and on macro actions.
keyboard::KeyCode DecodeActionToKeyCode(KeyAction action);

// The action that makes a key send another key: modifier and mouse keys by their tables, a key
// of the keyboard class as 02 02 device code, any other key as 02 02 00.
KeyAction EncodeKeyCodeAction(keyboard::KeyCode code);

// The position 0..99 of the macro with that id in the applied macro list (0 when none).
using MacroPositionLookup = std::function<int(uint16_t macroId)>;

// The action of one key entry, given the default action of its layout position.
KeyAction EncodeKeyEntry(keyboard::ConstKeyEntryRef entry, KeyAction defaultAction,
                         const MacroPositionLookup& macroPosition);

// What a read-back action different from the default makes of a key entry: its kind and
// value. Actions the program cannot express leave the key disabled.
struct EntryAssignment {
    uint16_t kind = keyboard::kKindDisabled;
    uint32_t value = 0;
    bool setsValue = false;  // false: the entry keeps its value
};
EntryAssignment DecodeActionToAssignment(KeyAction action);

}  // namespace qx::device
