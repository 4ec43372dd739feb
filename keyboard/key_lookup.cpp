#include "keyboard/key_lookup.h"

#include <array>

#include "keyboard/key_table.h"
#include "keyboard/media_tables.h"

namespace qx::keyboard {
namespace {

inline constexpr int kVirtualKeys = 256;
inline constexpr uint8_t kVkShift = 0x10;
inline constexpr uint8_t kVkControl = 0x11;
inline constexpr uint8_t kVkMenu = 0x12;
inline constexpr uint8_t kVkSnapshot = 0x2C;
inline constexpr uint8_t kVkNone = 0x00;
inline constexpr uint8_t kVkUnassigned = 0xFF;
inline constexpr KeyCode kLeftShift = 0x02A;
inline constexpr KeyCode kLeftCtrl = 0x01D;
inline constexpr KeyCode kLeftAlt = 0x038;
inline constexpr KeyCode kPrintScreen = 0x137;

std::array<KeyCode, kVirtualKeys> BuildVirtualKeyTable() {
    std::array<KeyCode, kVirtualKeys> table{};
    // Walk backwards so that the first row holding a VK is the one that stays.
    const auto rows = KeyTable();
    for (int index = kKeyTableRows - 1; index >= 0; --index) {
        const KeyRow& row = rows[static_cast<std::size_t>(index)];
        if (row.IsDefined()) {
            table[row.vk] = row.keyCode;
        }
    }
    table[kVkShift] = kLeftShift;
    table[kVkControl] = kLeftCtrl;
    table[kVkMenu] = kLeftAlt;
    table[kVkSnapshot] = kPrintScreen;
    table[kVkNone] = kNoKey;
    table[kVkUnassigned] = kNoKey;
    return table;
}

}  // namespace

DeviceClass DeviceClassOfCode(uint8_t deviceCode) {
    if (deviceCode == kNoDeviceCode || deviceCode == kNoDeviceCodeToo) {
        return kClassNone;
    }
    if (deviceCode >= kFirstSystemCode && deviceCode <= kLastSystemCode) {
        return kClassSystem;
    }
    if (deviceCode >= kFirstMouseCode && deviceCode <= kLastMouseCode) {
        return kClassMouse;
    }
    return kClassKeyboard;
}

uint16_t PickerOfKeyCode(KeyCode code) {
    return KeyRowOfCode(code).picker;
}

KeyCode KeyCodeOfPicker(uint16_t picker) {
    if (picker == kNoPicker) {
        return kNoKey;
    }
    for (const KeyRow& row : KeyTable()) {
        if (row.picker == picker) {
            return row.keyCode;
        }
    }
    return kNoKey;
}

DeviceClassValue DeviceClassOfKeyCode(KeyCode code) {
    const uint8_t deviceCode = KeyRowOfCode(code).deviceCode;
    const DeviceClass deviceClass = DeviceClassOfCode(deviceCode);
    if (deviceClass == kClassNone) {
        return {};
    }
    return {deviceClass, deviceCode};
}

KeyCode KeyCodeOfDeviceCode(uint8_t deviceCode) {
    if (DeviceClassOfCode(deviceCode) == kClassNone) {
        return kNoKey;
    }
    for (const KeyRow& row : KeyTable()) {
        if (row.IsDefined() && row.deviceCode == deviceCode) {
            return row.keyCode;
        }
    }
    return kNoKey;
}

KeyCode KeyCodeOfDeviceClass(DeviceClassValue classValue) {
    const uint16_t value = classValue.value;
    switch (classValue.deviceClass) {
        case kClassKeyboard:
            return value <= UINT8_MAX ? KeyCodeOfDeviceCode(static_cast<uint8_t>(value)) : kNoKey;
        case kClassSystem:
            if (value < kFirstSystemCode || value > kLastSystemCode) {
                return kNoKey;
            }
            return KeyCodeOfDeviceCode(static_cast<uint8_t>(value));
        case kClassConsumer: {
            const auto consumerIndex = ConsumerIndexOfUsage(value);
            return consumerIndex ? KeyCodeOfDeviceCode(*consumerIndex) : kNoKey;
        }
        default:
            return kNoKey;
    }
}

KeyCode KeyCodeOfVirtualKey(uint8_t vk) {
    static const std::array<KeyCode, kVirtualKeys> table = BuildVirtualKeyTable();
    return table[vk];
}

}  // namespace qx::keyboard
