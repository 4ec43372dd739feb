// The device macro table: sizes, the bytes of the header, each macro and each action, and the
// decoding of tables read back from the keyboard, however damaged.
#include "device/transfer/macro_table.h"

#include <gtest/gtest.h>

#include <vector>

#include "keyboard/byte_order.h"
#include "tests/profiles/profile_builders.h"

namespace qx::device {
namespace {

using keyboard::MacroAction;
using keyboard::MacroRecord;
using qx::testing::MakeMacro;

std::vector<uint8_t> Encode(const std::vector<MacroRecord>& macros, bool withNames) {
    std::vector<uint8_t> table(MacroTableSize(macros, withNames));
    EXPECT_TRUE(EncodeMacroTable(macros, table, withNames));
    return table;
}

uint16_t Word(const std::vector<uint8_t>& bytes, std::size_t offset) {
    return keyboard::LoadLe16(bytes, offset);
}

TEST(MacroTableEncodeTest, NoMacrosIsTheBareHeader) {
    EXPECT_EQ(Encode({}, true),
              (std::vector<uint8_t>{0xAA, 0x55, 16, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST(MacroTableEncodeTest, SizesCountNamesOnlyWhenIncluded) {
    const std::vector<MacroRecord> one{MakeMacro(1, u"ten chars!", 25)};
    EXPECT_EQ(MacroTableSize(one, true), 142u);
    EXPECT_EQ(MacroTableSize(one, false), 122u);
    const std::vector<MacroRecord> longer{MakeMacro(1, u"ten chars!", 27)};
    EXPECT_EQ(MacroTableSize(longer, false), 130u);
}

TEST(MacroTableEncodeTest, LaysOutHeaderOffsetsMacrosAndNames) {
    const std::vector<MacroRecord> macros{MakeMacro(5, u"ab", 2, 3), MakeMacro(9, u"c", 1, 255)};
    const std::vector<uint8_t> table = Encode(macros, true);
    ASSERT_EQ(table.size(), 16u + 4 + (4 + 8 + 4) + (4 + 4 + 2));
    EXPECT_EQ(Word(table, 2), table.size());
    EXPECT_EQ(Word(table, 4), 2);
    EXPECT_EQ(Word(table, 6), 1);
    EXPECT_EQ(Word(table, 16), 20);
    EXPECT_EQ(Word(table, 18), 36);
    // First macro: 2 actions, repeat 3, name length 2, actions, then "ab" without terminator.
    EXPECT_EQ(Word(table, 20), 2);
    EXPECT_EQ(table[22], 3);
    EXPECT_EQ(table[23], 2);
    EXPECT_EQ(Word(table, 32), u'a');
    EXPECT_EQ(Word(table, 34), u'b');
    EXPECT_EQ(table[38], 255);
    EXPECT_EQ(Word(table, 44), u'c');

    const std::vector<uint8_t> bare = Encode(macros, false);
    EXPECT_EQ(Word(bare, 6), 0);
    EXPECT_EQ(bare[23], 0);
    EXPECT_EQ(bare.size(), table.size() - 6);
}

TEST(MacroTableEncodeTest, RefusesABufferOfTheWrongSize) {
    const std::vector<MacroRecord> macros{MakeMacro(1, u"x", 1)};
    std::vector<uint8_t> table(MacroTableSize(macros, true) - 1);
    EXPECT_FALSE(EncodeMacroTable(macros, table, true));
}

int DelayUnits(const DeviceMacroAction& bytes) {
    return ((bytes[1] & 0x0F) << 8) | bytes[0];
}

TEST(MacroActionTest, DelaysAreTensOfMillisecondsInTwelveBits) {
    EXPECT_EQ(DelayUnits(EncodeMacroAction({12345, 0x01E, 0})), 1234);
    EXPECT_EQ(DelayUnits(EncodeMacroAction({50000, 0x01E, 0})), 904);
    EXPECT_EQ(DelayUnits(EncodeMacroAction({-50, 0x01E, 0})), 0);
    EXPECT_EQ(DelayUnits(EncodeMacroAction({9, 0x01E, 0})), 0);
}

TEST(MacroActionTest, KeysAreEncodedByTheirDeviceClass) {
    const std::pair<MacroAction, DeviceMacroAction> cases[] = {
        {{0, 0x01E, 0}, {0x00, 0xA0, 0x02, 0x04}},   // A pressed: kind 2, press bit
        {{0, 0x01E, 1}, {0x00, 0x20, 0x02, 0x04}},   // released
        {{10, 0x02A, 0}, {0x01, 0xA0, 0x01, 0x02}},  // Left Shift
        {{0, 0x15E, 0}, {0x00, 0xC0, 0x81, 0x00}},   // Power: system usage
        {{0, 0x171, 0}, {0x00, 0x90, 0x01, 0x01}},   // left button
        {{0, 0x162, 1}, {0x00, 0x10, 0x05, 0xFF}},   // wheel down
        {{0, 0x176, 0}, {0x00, 0x80, 0x00, 0x00}},   // Copy: no class
        {{0, 0x130, 0}, {0x00, 0xA0, 0x02, 0xC0}},   // V+ by its device code
    };
    for (const auto& [action, bytes] : cases) {
        EXPECT_EQ(EncodeMacroAction(action), bytes) << std::hex << action.keyCode;
    }
}

TEST(MacroActionTest, DecodingGivesDelayKeyAndDirectionBack) {
    for (const MacroAction action :
         {MacroAction{12340, 0x01E, 0}, MacroAction{0, 0x02A, 1}, MacroAction{40950, 0x171, 0},
          MacroAction{30, 0x15E, 1}, MacroAction{0, 0x162, 0}}) {
        const DeviceMacroAction bytes = EncodeMacroAction(action);
        EXPECT_EQ(DecodeMacroAction(bytes), action) << std::hex << action.keyCode;
    }
}

// ---- Decoding tables read from the keyboard ------------------------------------------------

TEST(MacroTableDecodeTest, GivesRecordsWithIdsInOrderAndTheirNames) {
    std::vector<MacroRecord> macros{MakeMacro(40, u"first", 3, 7), MakeMacro(12, u"second", 0)};
    macros[0].SetNewFlag(1);
    const std::vector<MacroRecord> back = DecodeMacroTable(Encode(macros, true), u"Macro");
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(back[0].Id(), 1);
    EXPECT_EQ(back[1].Id(), 2);
    EXPECT_EQ(back[0].Name(), u"first");
    EXPECT_EQ(back[1].Name(), u"second");
    EXPECT_EQ(back[0].RepeatCount(), 7);
    EXPECT_EQ(back[0].NewFlag(), 0);
    ASSERT_EQ(back[0].ActionCount(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(back[0].Action(i), macros[0].Action(i));
    }
}

TEST(MacroTableDecodeTest, AMacroWithoutNameGetsThePrefixAndItsNumber) {
    const std::vector<MacroRecord> macros{MakeMacro(1, u"a", 1), MakeMacro(2, u"b", 1),
                                          MakeMacro(3, u"", 1)};
    const auto bare = DecodeMacroTable(Encode(macros, false), u"Macro");
    ASSERT_EQ(bare.size(), 3u);
    EXPECT_EQ(bare[0].Name(), u"Macro1");
    EXPECT_EQ(bare[2].Name(), u"Macro3");
    const auto named = DecodeMacroTable(Encode(macros, true), u"M");
    EXPECT_EQ(named[2].Name(), u"M3");
}

class DamagedTableTest : public ::testing::Test {
  protected:
    std::vector<uint8_t> table_ = Encode({MakeMacro(1, u"abc", 4), MakeMacro(2, u"de", 2)}, true);
    void Put(std::size_t offset, uint16_t value) { keyboard::StoreLe16(table_, offset, value); }
};

TEST_F(DamagedTableTest, ACountBeyondTheOffsetTableIsCut) {
    Put(4, 60000);
    // Offsets past the two real ones read macro bytes as offsets; nothing may be read outside.
    const auto back = DecodeMacroTable(table_, u"M");
    EXPECT_LE(back.size(), (table_.size() - 16) / 2);
}

TEST_F(DamagedTableTest, AMacroOffsetOutsideTheTableEndsTheList) {
    Put(18, static_cast<uint16_t>(table_.size() - 2));
    const auto back = DecodeMacroTable(table_, u"M");
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(back[0].Name(), u"abc");
}

TEST_F(DamagedTableTest, AnActionCountBeyondTheTableIsCutAndTheNameDropped) {
    Put(20, 5000);
    const auto back = DecodeMacroTable(table_, u"M");
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(back[0].ActionCount(), (table_.size() - 24) / 4);
    EXPECT_EQ(back[0].Name(), u"M1");
}

TEST_F(DamagedTableTest, ANameLongerThanTheTableIsCut) {
    table_[Word(table_, 18) + 3] = 200;  // the second macro's name: 200 units, 2 there
    const auto back = DecodeMacroTable(table_, u"M");
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(back[1].Name(), u"de");
}

TEST_F(DamagedTableTest, TheSizeFieldLimitsWhatIsRead) {
    Put(2, static_cast<uint16_t>(Word(table_, 18)));  // the second macro lies past the size
    EXPECT_EQ(DecodeMacroTable(table_, u"M").size(), 1u);
    Put(2, 3);  // smaller than a header: nothing past the header
    EXPECT_TRUE(DecodeMacroTable(table_, u"M").empty());
    EXPECT_TRUE(DecodeMacroTable(std::span(table_).first(10), u"M").empty());
}

TEST(MacroTableLimitsTest, RecordLimitsHoldForTablesThatExceedThem) {
    // 101 offsets all pointing at one macro of 2100 actions with a 255-unit name.
    constexpr std::size_t kHead = 16 + 2 * 101;
    constexpr std::size_t kNameAt = kHead + 4 + std::size_t{4} * 2100;
    const std::size_t head = kHead;
    std::vector<uint8_t> table(kNameAt + std::size_t{2} * 255);
    keyboard::StoreLe16(table, 0, 0x55AA);
    keyboard::StoreLe16(table, 2, static_cast<uint16_t>(table.size()));
    keyboard::StoreLe16(table, 4, 101);
    keyboard::StoreLe16(table, 6, 1);
    for (std::size_t i = 0; i < 101; ++i) {
        keyboard::StoreLe16(table, 16 + 2 * i, static_cast<uint16_t>(head));
    }
    keyboard::StoreLe16(table, head, 2100);
    table[head + 3] = 255;
    for (std::size_t unit = 0; unit < 255; ++unit) {
        keyboard::StoreLe16(table, kNameAt + 2 * unit, u'x');
    }
    const auto back = DecodeMacroTable(table, u"M");
    ASSERT_EQ(back.size(), 100u);
    EXPECT_EQ(back[99].Id(), 100);
    EXPECT_EQ(back[0].ActionCount(), 2000);
    EXPECT_EQ(back[0].Name(), std::u16string(249, u'x'));
}

}  // namespace
}  // namespace qx::device
