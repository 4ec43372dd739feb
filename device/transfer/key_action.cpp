#include "device/transfer/key_action.h"

#include <algorithm>

#include "keyboard/key_lookup.h"
#include "keyboard/media_tables.h"

namespace qx::device {

using keyboard::KeyCode;
using keyboard::kNoKey;

namespace {

uint16_t UsageOf(KeyAction action) {
    return static_cast<uint16_t>(action.sub | (action.value << 8));
}

KeyAction UsageAction(uint8_t kind, uint16_t usage) {
    return {kind, static_cast<uint8_t>(usage & 0xFF), static_cast<uint8_t>(usage >> 8)};
}

KeyCode DecodeKeyboardAction(KeyAction action) {
    if (action.sub == kKeySub) {
        return keyboard::KeyCodeOfDeviceCode(action.value);
    }
    return KeyCodeOfModifierBits(action.value);
}

KeyCode DecodeConsumerAction(KeyAction action) {
    const auto index = keyboard::MultimediaIndexOfUsage(UsageOf(action));
    return index ? keyboard::kMultimediaList[static_cast<std::size_t>(*index)].keyCode : kNoKey;
}

KeyCode DecodeSystemAction(KeyAction action) {
    return keyboard::KeyCodeOfDeviceClass({keyboard::kClassSystem, UsageOf(action)});
}

KeyAction EncodeMultimedia(uint32_t index) {
    const auto entry =
        keyboard::MultimediaAt(static_cast<int>(std::min<uint32_t>(index, INT32_MAX)));
    // An index outside the list sends no usage at all.
    return UsageAction(kActionConsumer, entry ? entry->consumerUsage : 0);
}

EntryAssignment DecodeMacroAction(KeyAction action) {
    switch (action.sub) {
        case kPlayMacroSub:
            return {keyboard::kKindMacro, static_cast<uint32_t>(action.value) + 1, true};
        case kStopMacroSub:
            return {keyboard::kKindStopMacro};
        case kFunctionSub:
            return {keyboard::kKindFunction, action.value, true};
        default:
            return {};
    }
}

EntryAssignment KeyAssignment(KeyCode code) {
    if (code == kNoKey) {
        return {};
    }
    return {keyboard::kKindKey, code, true};
}

}  // namespace

std::optional<uint8_t> ModifierBitOfKeyCode(KeyCode code) {
    for (const ModifierBit& modifier : kModifierBits) {
        if (modifier.keyCode == code) {
            return modifier.bit;
        }
    }
    return std::nullopt;
}

KeyCode KeyCodeOfModifierBits(uint8_t bits) {
    for (const ModifierBit& modifier : kModifierBits) {
        if ((bits & modifier.bit) != 0) {
            return modifier.keyCode;
        }
    }
    return kNoKey;
}

std::optional<KeyAction> MouseActionOfKeyCode(KeyCode code) {
    for (const MouseAction& mouse : kMouseActions) {
        if (mouse.keyCode == code) {
            return KeyAction{kActionMouse, mouse.sub, mouse.value};
        }
    }
    return std::nullopt;
}

KeyCode KeyCodeOfMouseAction(uint8_t sub, uint8_t value) {
    for (const MouseAction& mouse : kMouseActions) {
        if (mouse.sub == sub && mouse.value == value) {
            return mouse.keyCode;
        }
    }
    return kNoKey;
}

KeyCode DecodeActionToKeyCode(KeyAction action) {
    switch (action.kind) {
        case kActionMouse:
            return KeyCodeOfMouseAction(action.sub, action.value);
        case kActionKeyboard:
            return DecodeKeyboardAction(action);
        case kActionConsumer:
            return DecodeConsumerAction(action);
        case kActionSystem:
            return DecodeSystemAction(action);
        case kActionGKey:
            return action.sub == kGKeySub ? static_cast<KeyCode>(keyboard::kGKeyBase + action.value)
                                          : kNoKey;
        default:
            return kNoKey;
    }
}

KeyAction EncodeKeyCodeAction(KeyCode code) {
    if (const auto bit = ModifierBitOfKeyCode(code)) {
        return {kActionKeyboard, kModifierSub, *bit};
    }
    if (const auto mouse = MouseActionOfKeyCode(code)) {
        return *mouse;
    }
    const keyboard::DeviceClassValue device = keyboard::DeviceClassOfKeyCode(code);
    const uint8_t deviceCode =
        device.deviceClass == keyboard::kClassKeyboard ? static_cast<uint8_t>(device.value) : 0;
    return {kActionKeyboard, kKeySub, deviceCode};
}

KeyAction EncodeKeyEntry(keyboard::ConstKeyEntryRef entry, KeyAction defaultAction,
                         const MacroPositionLookup& macroPosition) {
    switch (entry.Kind()) {
        case keyboard::kKindDefault:
        case keyboard::kKindLaunch:
            return defaultAction;
        case keyboard::kKindDisabled:
        case keyboard::kKindText:
            return kNoAction;
        case keyboard::kKindKey:
            return EncodeKeyCodeAction(static_cast<KeyCode>(entry.Value()));
        case keyboard::kKindMacro: {
            const int position =
                macroPosition ? macroPosition(static_cast<uint16_t>(entry.Value())) : 0;
            return {kActionMacro, kPlayMacroSub, static_cast<uint8_t>(position)};
        }
        case keyboard::kKindStopMacro:
            return kStopMacroAction;
        case keyboard::kKindMultimedia:
            return EncodeMultimedia(entry.Value());
        case keyboard::kKindFunction:
            return {kActionMacro, kFunctionSub, static_cast<uint8_t>(entry.Value())};
        default:
            // A kind this program does not know keeps the key's own function.
            return defaultAction;
    }
}

EntryAssignment DecodeActionToAssignment(KeyAction action) {
    switch (action.kind) {
        case kActionMacro:
            return DecodeMacroAction(action);
        case kActionConsumer: {
            const auto index = keyboard::MultimediaIndexOfUsage(UsageOf(action));
            if (!index) {
                return {};
            }
            return {keyboard::kKindMultimedia, static_cast<uint32_t>(*index), true};
        }
        case kActionMouse:
            return KeyAssignment(KeyCodeOfMouseAction(action.sub, action.value));
        case kActionKeyboard:
            if (action.sub != kKeySub && action.sub != kModifierSub) {
                return {};
            }
            return KeyAssignment(DecodeKeyboardAction(action));
        default:
            return {};
    }
}

}  // namespace qx::device
