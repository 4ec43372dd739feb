// Lookups over the key table: picker positions, the keyboard's device classes and codes, and
// Windows virtual keys.
#pragma once

#include <cstdint>

#include "keyboard/key_code.h"

namespace qx::keyboard {

// Device classes of a key, as the keyboard's key actions and macro actions name them. The
// consumer class only comes in (a consumer usage); keys themselves are never of it.
enum DeviceClass : uint16_t {
    kClassNone = 0,
    kClassSystem = 1,
    kClassMouse = 2,
    kClassKeyboard = 7,
    kClassConsumer = 12,
};

struct DeviceClassValue {
    uint16_t deviceClass = kClassNone;
    uint16_t value = 0;  // device code; for kClassConsumer a consumer usage
    friend bool operator==(const DeviceClassValue&, const DeviceClassValue&) = default;
};

// Device-code ranges of the classes: 0 and 0xFF none, 0x81..0x83 system, 0xF1..0xF8 mouse,
// anything else keyboard (the multimedia and function pseudo-keys included).
inline constexpr uint8_t kFirstSystemCode = 0x81;
inline constexpr uint8_t kLastSystemCode = 0x83;
inline constexpr uint8_t kFirstMouseCode = 0xF1;
inline constexpr uint8_t kLastMouseCode = 0xF8;
inline constexpr uint8_t kNoDeviceCode = 0x00;
inline constexpr uint8_t kNoDeviceCodeToo = 0xFF;

// The class a device code belongs to.
DeviceClass DeviceClassOfCode(uint8_t deviceCode);

// The row's picker number; kNoPicker for a code outside the table.
uint16_t PickerOfKeyCode(KeyCode code);

// The key code of the first row (table-index order) with that picker number; 0 when none.
KeyCode KeyCodeOfPicker(uint16_t picker);

// {class, device code} of a key; {0, 0} when the key has no device code.
DeviceClassValue DeviceClassOfKeyCode(KeyCode code);

// The key of a {class, value}: class 7 the first row with that device code; class 1 the same,
// for 0x81..0x83 only; class 12 a consumer usage, through the consumer-usage table. 0 when none.
KeyCode KeyCodeOfDeviceClass(DeviceClassValue classValue);

// The first row (table-index order) whose device code is `deviceCode`; 0 when none.
KeyCode KeyCodeOfDeviceCode(uint8_t deviceCode);

// The key of a virtual-key code: the first row holding it as VK, except that the generic Shift,
// Ctrl and Alt give the left keys and VK_SNAPSHOT gives Print Screen. 0x00, 0xFF and virtual keys
// no row holds give 0.
KeyCode KeyCodeOfVirtualKey(uint8_t vk);

}  // namespace qx::keyboard
