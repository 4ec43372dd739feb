// The key table and its lookups: index arithmetic, picker positions, device classes and codes,
// virtual keys, and the tables built on the key table (multimedia, consumer usages, buttons).
#include "keyboard/key_table.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "keyboard/key_buttons.h"
#include "keyboard/key_code.h"
#include "keyboard/key_lookup.h"
#include "keyboard/media_tables.h"

namespace qx::keyboard {
namespace {

TEST(KeyIndex, RoundTripsEveryTableIndexAndFoldsTheCodeRanges) {
    for (int index = 0; index < kKeyTableRows; ++index) {
        EXPECT_EQ(KeyIndexOfCode(KeyCodeOfIndex(index)), index) << index;
    }
    EXPECT_EQ(KeyIndexOfCode(0x147), 0xC7);
    EXPECT_EQ(KeyCodeOfIndex(0xC7), 0x147);
    EXPECT_EQ(KeyIndexOfCode(0x07F), 0x7F);
    EXPECT_EQ(KeyCodeOfIndex(0x80), 0x100);
    EXPECT_EQ(KeyIndexOfCode(0x204), 260);
    EXPECT_EQ(KeyIndexOfCode(kFirstGKeyCode), 256);
    EXPECT_EQ(KeyIndexOfCode(kLastGKeyCode), 273);
    EXPECT_EQ(KeyCodeOfIndex(256), kNoKey);
    EXPECT_EQ(KeyCodeOfIndex(-1), kNoKey);
}

TEST(KeyTable, Has157DefinedRowsEachAtTheIndexOfItsCode) {
    int defined = 0;
    const auto table = KeyTable();
    for (int index = 0; index < kKeyTableRows; ++index) {
        const KeyRow& row = table[static_cast<std::size_t>(index)];
        if (!row.IsDefined()) {
            EXPECT_TRUE(row.englishName.empty()) << index;
            EXPECT_TRUE(row.languageKey.empty()) << index;
            EXPECT_EQ(row.deviceCode, 0) << index;
            continue;
        }
        ++defined;
        EXPECT_EQ(row.keyCode, KeyCodeOfIndex(index)) << index;
        EXPECT_FALSE(row.englishName.empty()) << index;
    }
    EXPECT_EQ(defined, kDefinedKeyRows);
    EXPECT_FALSE(KeyRowOfCode(0x204).IsDefined());
    EXPECT_FALSE(KeyRowOfCode(0x1A0).IsDefined());
    EXPECT_FALSE(KeyRowOfIndex(300).IsDefined());
}

TEST(KeyTable, OnlyTheKeypadDigitsAndPointHaveASecondVirtualKey) {
    const std::map<KeyCode, uint8_t> keypad{
        {0x04F, 0x23}, {0x050, 0x28}, {0x051, 0x22}, {0x04B, 0x25}, {0x04C, 0x0C}, {0x04D, 0x27},
        {0x047, 0x24}, {0x048, 0x26}, {0x049, 0x21}, {0x052, 0x2D}, {0x053, 0x2E}};
    for (const KeyRow& row : KeyTable()) {
        if (!row.IsDefined()) {
            continue;
        }
        const auto it = keypad.find(row.keyCode);
        EXPECT_EQ(row.secondVk, it == keypad.end() ? row.vk : it->second) << row.englishName;
    }
}

TEST(KeyTable, PickerKeysCarryTheirHidUsagesAsDeviceCodes) {
    // Letters A..Z, digits 1..0, then Enter, Esc, Backspace, Tab, Space run in usage order.
    const std::string letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    for (uint16_t p = 0; p < 26; ++p) {
        const KeyRow& row = KeyRowOfCode(KeyCodeOfPicker(p));
        EXPECT_EQ(row.deviceCode, 0x04 + p);
        EXPECT_EQ(row.englishName, letters.substr(p, 1));
        EXPECT_EQ(row.vk, 'A' + p);
    }
    for (uint16_t p = 26; p <= 40; ++p) {
        EXPECT_EQ(KeyRowOfCode(KeyCodeOfPicker(p)).deviceCode, 0x04 + p) << p;
    }
    for (uint16_t f = 0; f < 12; ++f) {
        const KeyRow& row = KeyRowOfCode(KeyCodeOfPicker(static_cast<uint16_t>(52 + f)));
        EXPECT_EQ(row.deviceCode, 0x3A + f);
        EXPECT_EQ(row.vk, 0x70 + f);
        EXPECT_EQ(row.languageKey, "IDS_KEYBOARD_F" + std::to_string(f + 1));
    }
    // The modifiers 0xE0..0xE7 in the order LCtrl, LShift, LAlt, LWin, RCtrl, RShift, RAlt, RWin.
    for (uint16_t m = 0; m < 8; ++m) {
        EXPECT_EQ(KeyRowOfCode(KeyCodeOfPicker(static_cast<uint16_t>(98 + m))).deviceCode,
                  0xE0 + m);
    }
    EXPECT_EQ(KeyRowOfCode(0x045).deviceCode, 0x48);  // Pause
    EXPECT_EQ(KeyRowOfCode(0x146).deviceCode, 0x48);  // Break
    EXPECT_EQ(KeyRowOfCode(0x137).deviceCode, 0x46);  // Print Screen
    EXPECT_EQ(KeyRowOfCode(0x145).deviceCode, 0x53);  // Num Lock
    EXPECT_EQ(KeyRowOfCode(0x056).deviceCode, 0x64);  // K45
    EXPECT_EQ(KeyRowOfCode(0x15D).deviceCode, 0x65);  // App
}

TEST(Picker, EachNumberNamesOneKeyExceptRightShiftsTwoRows) {
    std::map<uint16_t, int> rowsPerPicker;
    for (const KeyRow& row : KeyTable()) {
        if (row.IsDefined()) {
            ++rowsPerPicker[row.picker];
        }
    }
    for (uint16_t p = 0; p <= kLastPickerNumber; ++p) {
        EXPECT_EQ(rowsPerPicker[p], p == 103 ? 2 : 1) << p;
        EXPECT_EQ(PickerOfKeyCode(KeyCodeOfPicker(p)), p) << p;
    }
    for (uint16_t n = 1; n <= 45; ++n) {
        EXPECT_EQ(rowsPerPicker[static_cast<uint16_t>(kOutsidePicker + n)], 1) << n;
    }
    EXPECT_EQ(KeyCodeOfPicker(103), 0x036);
    EXPECT_EQ(PickerOfKeyCode(0x136), 103);
    EXPECT_EQ(KeyCodeOfPicker(0), 0x01E);
    EXPECT_EQ(KeyCodeOfPicker(110), 0x162);
    EXPECT_EQ(KeyCodeOfPicker(111), kNoKey);
    EXPECT_EQ(KeyCodeOfPicker(kNoPicker), kNoKey);
    EXPECT_EQ(PickerOfKeyCode(0x204), kNoPicker);
    EXPECT_EQ(PickerOfKeyCode(0x064), kOutsidePicker + 45);  // F13
}

TEST(Picker, MultimediaRowsFollowTheirOwnPickerOrder) {
    // My PC, Calc, Mail, Media Player, Play/Pause, Stop, Prev, Next, V+, V-, Mute, WWW ...
    const KeyCode order[] = {0x16B, 0x121, 0x16C, 0x16D, 0x122, 0x124, 0x110, 0x119, 0x130,
                             0x12E, 0x120, 0x132, 0x167, 0x168, 0x16A, 0x169, 0x166, 0x165};
    for (uint16_t i = 0; i < 18; ++i) {
        EXPECT_EQ(KeyCodeOfPicker(static_cast<uint16_t>(kOutsidePicker + 27 + i)), order[i]) << i;
    }
}

TEST(DeviceClass, FollowsTheDeviceCodeOfTheKey) {
    using V = DeviceClassValue;
    EXPECT_EQ(DeviceClassOfKeyCode(0x15E), (V{kClassSystem, 0x81}));
    EXPECT_EQ(DeviceClassOfKeyCode(0x163), (V{kClassSystem, 0x83}));
    EXPECT_EQ(DeviceClassOfKeyCode(0x176), (V{}));  // Copy has no device code
    EXPECT_EQ(DeviceClassOfKeyCode(0x064), (V{}));  // F13
    EXPECT_EQ(DeviceClassOfKeyCode(0x171), (V{kClassMouse, 0xF1}));
    EXPECT_EQ(DeviceClassOfKeyCode(0x162), (V{kClassMouse, 0xF5}));
    EXPECT_EQ(DeviceClassOfKeyCode(0x01E), (V{kClassKeyboard, 0x04}));
    EXPECT_EQ(DeviceClassOfKeyCode(0x130), (V{kClassKeyboard, 0xC0}));
    EXPECT_EQ(DeviceClassOfKeyCode(0x17C), (V{kClassKeyboard, 0xD5}));
    EXPECT_EQ(DeviceClassOfKeyCode(0x07D), (V{kClassKeyboard, 0x89}));
    EXPECT_EQ(DeviceClassOfKeyCode(0x204), (V{}));
    EXPECT_EQ(DeviceClassOfKeyCode(0), (V{}));
}

TEST(DeviceClass, LeadsBackToTheFirstKeyWithThatCode) {
    EXPECT_EQ(KeyCodeOfDeviceClass({kClassConsumer, 0x0E9}), 0x130);  // V+
    EXPECT_EQ(KeyCodeOfDeviceClass({kClassConsumer, 0x18A}), 0x16C);  // Mail
    EXPECT_EQ(KeyCodeOfDeviceClass({kClassConsumer, 0x0B5}), 0x119);  // Next Track
    EXPECT_EQ(KeyCodeOfDeviceClass({kClassConsumer, 0x999}), kNoKey);
    EXPECT_EQ(KeyCodeOfDeviceClass({kClassConsumer, 0}), kNoKey);  // unused slots hold no usage
    EXPECT_EQ(KeyCodeOfDeviceClass({kClassSystem, 0x84}), kNoKey);
    EXPECT_EQ(KeyCodeOfDeviceClass({kClassSystem, 0x80}), kNoKey);
    EXPECT_EQ(KeyCodeOfDeviceClass({kClassSystem, 0x81}), 0x15E);
    EXPECT_EQ(KeyCodeOfDeviceClass({kClassSystem, 0x82}), 0x15F);
    EXPECT_EQ(KeyCodeOfDeviceClass({kClassKeyboard, 0x48}), 0x045);  // Pause before Break
    EXPECT_EQ(KeyCodeOfDeviceClass({kClassKeyboard, 0xE5}), 0x036);  // not 0x136
    EXPECT_EQ(KeyCodeOfDeviceClass({kClassKeyboard, 0x04}), 0x01E);
    EXPECT_EQ(KeyCodeOfDeviceClass({kClassKeyboard, 0x00}), kNoKey);
    EXPECT_EQ(KeyCodeOfDeviceClass({kClassKeyboard, 0x104}), kNoKey);
    EXPECT_EQ(KeyCodeOfDeviceClass({kClassMouse, 0xF1}), kNoKey);
    EXPECT_EQ(KeyCodeOfDeviceClass({kClassNone, 0x04}), kNoKey);

    // Every key with a device code is found again through its own class, unless an earlier row
    // shares the code.
    for (const KeyRow& row : KeyTable()) {
        const DeviceClassValue cv = DeviceClassOfKeyCode(row.keyCode);
        if (cv.deviceClass != kClassKeyboard && cv.deviceClass != kClassSystem) {
            continue;
        }
        const KeyCode back = KeyCodeOfDeviceClass(cv);
        EXPECT_EQ(KeyRowOfCode(back).deviceCode, row.deviceCode) << row.englishName;
        EXPECT_LE(KeyIndexOfCode(back), KeyIndexOfCode(row.keyCode)) << row.englishName;
    }
}

TEST(MediaTables, MultimediaListAgreesWithConsumerTableAndKeyTable) {
    std::set<uint8_t> consumerIndexes;
    for (int i = 0; i < kMultimediaCount; ++i) {
        const MultimediaEntry entry = *MultimediaAt(i);
        const KeyRow& row = KeyRowOfCode(entry.keyCode);
        ASSERT_TRUE(row.IsDefined()) << i;
        EXPECT_EQ(ConsumerIndexOfUsage(entry.consumerUsage), row.deviceCode) << i;
        EXPECT_EQ(KeyCodeOfDeviceClass({kClassConsumer, entry.consumerUsage}), entry.keyCode);
        EXPECT_EQ(MultimediaIndexOfKeyCode(entry.keyCode), i);
        EXPECT_EQ(MultimediaIndexOfUsage(entry.consumerUsage), i);
        EXPECT_EQ(row.languageKey.substr(0, 6), "MEDIA_") << i;
        consumerIndexes.insert(row.deviceCode);
    }
    EXPECT_EQ(consumerIndexes.size(), static_cast<std::size_t>(kConsumerSlotsUsed));
    EXPECT_EQ(*consumerIndexes.begin(), 0xC0);
    EXPECT_EQ(*consumerIndexes.rbegin(), 0xD1);
    for (int slot = kConsumerSlotsUsed; slot < kConsumerSlots; ++slot) {
        EXPECT_EQ(kConsumerUsages[static_cast<std::size_t>(slot)], 0);
    }
    EXPECT_FALSE(MultimediaAt(18).has_value());
    EXPECT_FALSE(MultimediaAt(-1).has_value());
    EXPECT_FALSE(MultimediaIndexOfKeyCode(0x01E).has_value());
}

TEST(VirtualKey, GivesTheFirstRowHoldingItWithTheGenericAndSnapshotExceptions) {
    EXPECT_EQ(KeyCodeOfVirtualKey(0x10), 0x02A);
    EXPECT_EQ(KeyCodeOfVirtualKey(0x11), 0x01D);
    EXPECT_EQ(KeyCodeOfVirtualKey(0x12), 0x038);
    EXPECT_EQ(KeyCodeOfVirtualKey(0x2C), 0x137);  // Sys Req holds it first, Print Screen wins
    EXPECT_EQ(KeyCodeOfVirtualKey(0x00), kNoKey);
    EXPECT_EQ(KeyCodeOfVirtualKey(0xFF), kNoKey);  // Power, Wake, K14, ... hold 0xFF
    EXPECT_EQ(KeyCodeOfVirtualKey(0x07), kNoKey);  // held by no row
    EXPECT_EQ(KeyCodeOfVirtualKey(0x0D), 0x01C);   // Enter before Num Enter
    EXPECT_EQ(KeyCodeOfVirtualKey(0xA1), 0x036);   // the first Right Shift row
    EXPECT_EQ(KeyCodeOfVirtualKey(0x03), 0x146);   // Break
    EXPECT_EQ(KeyCodeOfVirtualKey(0x41), 0x01E);
    EXPECT_EQ(KeyCodeOfVirtualKey(0x67), 0x047);  // Num 7 by its Num Lock VK
    EXPECT_EQ(KeyCodeOfVirtualKey(0x24), 0x147);  // Home, not Num 7's second VK
    EXPECT_EQ(KeyCodeOfVirtualKey(0x7C), 0x064);  // F13
    EXPECT_EQ(KeyCodeOfVirtualKey(0xD2), 0x162);

    for (const KeyRow& row : KeyTable()) {
        if (!row.IsDefined() || row.vk == 0x2C || row.vk == 0xFF) {
            continue;
        }
        const KeyCode found = KeyCodeOfVirtualKey(row.vk);
        EXPECT_EQ(KeyRowOfCode(found).vk, row.vk) << row.englishName;
        EXPECT_LE(KeyIndexOfCode(found), KeyIndexOfCode(row.keyCode)) << row.englishName;
    }
}

TEST(KeyButtons, NameTheirKeysAsThePickerDoesAndHaveDistinctLeds) {
    std::set<int> ids;
    std::set<int> leds;
    for (const KeyButton& button : KeyButtons()) {
        EXPECT_TRUE(ids.insert(button.controlId).second) << button.controlId;
        const KeyRow& row = KeyRowOfCode(button.keyCode);
        EXPECT_EQ(row.languageKey, "IDS_KEYBOARD_" + std::string(button.name)) << button.name;
        if (button.lightingIndex != kNoLed) {
            EXPECT_LT(button.lightingIndex, 144);
            EXPECT_TRUE(leds.insert(button.lightingIndex).second) << button.name;
        }
        EXPECT_EQ(LightingIndexOfButton(button.controlId), button.lightingIndex);
    }
    EXPECT_EQ(ids.size(), 107u);
    EXPECT_FALSE(leds.count(kFnLightingIndex));
    EXPECT_EQ(LightingIndexOfButton(1058), 11);      // A
    EXPECT_EQ(LightingIndexOfButton(1022), 0);       // Esc
    EXPECT_EQ(LightingIndexOfButton(1087), kNoLed);  // Right Win
    EXPECT_EQ(LightingIndexOfButton(kFnButtonId), 45);
    for (int id : kGKeyButtonIds) {
        EXPECT_EQ(LightingIndexOfButton(id), 0) << id;
    }
    EXPECT_EQ(LightingIndexOfButton(1128), 0);
    EXPECT_EQ(LightingIndexOfButton(-5), 0);
}

TEST(GKeyButtons, MapToTheEntriesAndCodesOfBothBanks) {
    EXPECT_EQ(GKeyEntryIndex(0, 0), 256);
    EXPECT_EQ(GKeyEntryIndex(8, 0), 264);
    EXPECT_EQ(GKeyEntryIndex(2, 1), 267);
    EXPECT_EQ(GKeyEntryIndex(8, 1), 273);
    EXPECT_EQ(GKeyDefaultCode(0, 0), 0x301);
    EXPECT_EQ(GKeyDefaultCode(8, 1), 0x1309);
    EXPECT_EQ(GKeyButtonPosition(1000), 0);
    EXPECT_EQ(GKeyButtonPosition(1143), 8);
    EXPECT_FALSE(GKeyButtonPosition(1005).has_value());
}

TEST(SpecialKeys, AreSysReqKlKrAndPrintScreen) {
    std::set<KeyCode> special;
    for (int code = 0; code < 0x300; ++code) {
        if (IsSpecialKeyCode(static_cast<KeyCode>(code))) {
            special.insert(static_cast<KeyCode>(code));
        }
    }
    EXPECT_EQ(special, (std::set<KeyCode>{0x054, 0x071, 0x072, 0x137}));
}

}  // namespace
}  // namespace qx::keyboard
