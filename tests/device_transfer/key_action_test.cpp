// Key entries to key actions and back: the encoding of each assignment kind, the keys that
// default actions stand for, and what a layout read from the keyboard makes of a block.
#include "device/transfer/key_action.h"

#include <gtest/gtest.h>

#include <array>

#include "device/transfer/key_action_layout.h"
#include "keyboard/image_record.h"

namespace qx::device {
namespace {

using keyboard::KeyEntryRef;

struct Entry {
    std::array<uint8_t, 16> bytes{};
    KeyEntryRef Ref() { return KeyEntryRef(std::span<uint8_t, 16>(bytes)); }
};

Entry MakeEntry(uint16_t kind, uint32_t value, uint16_t parameter = 0) {
    Entry e;
    e.Ref().SetKind(kind);
    e.Ref().SetValue(value);
    e.Ref().SetParameter(parameter);
    return e;
}

KeyAction Encode(uint16_t kind, uint32_t value, KeyAction defaultAction = {2, 2, 0x04}) {
    Entry e = MakeEntry(kind, value);
    const MacroPositionLookup positions = [](uint16_t id) { return id == 7 ? 2 : 0; };
    return EncodeKeyEntry(keyboard::ConstKeyEntryRef(std::span<const uint8_t, 16>(e.bytes)),
                          defaultAction, positions);
}

TEST(EncodeKeyEntryTest, EachKindGivesItsKeyAction) {
    const KeyAction defaultAction{2, 2, 0x04};
    EXPECT_EQ(Encode(0, 0x30, defaultAction), defaultAction);
    EXPECT_EQ(Encode(3, 12, defaultAction), defaultAction);
    EXPECT_EQ(Encode(1, 0), (KeyAction{0, 0, 0}));
    EXPECT_EQ(Encode(6, 40), (KeyAction{0, 0, 0}));
    EXPECT_EQ(Encode(4, 7), (KeyAction{5, 1, 2}));   // macro id 7 at list position 2
    EXPECT_EQ(Encode(4, 99), (KeyAction{5, 1, 0}));  // no such macro
    EXPECT_EQ(Encode(5, 0), (KeyAction{5, 2, 0}));
    EXPECT_EQ(Encode(7, 5), (KeyAction{3, 0xEA, 0x00}));  // V-
    EXPECT_EQ(Encode(7, 8), (KeyAction{3, 0x23, 0x02}));  // WWW Home
    EXPECT_EQ(Encode(8, 10), (KeyAction{5, 5, 10}));
    EXPECT_EQ(Encode(9, 1, defaultAction), defaultAction);  // unknown kinds keep the key
}

TEST(EncodeKeyEntryTest, AnotherKeyByItsModifierBitMouseActionOrDeviceCode) {
    const std::pair<keyboard::KeyCode, KeyAction> cases[] = {
        {0x01D, {2, 1, 0x01}}, {0x02A, {2, 1, 0x02}}, {0x038, {2, 1, 0x04}}, {0x15B, {2, 1, 0x08}},
        {0x11D, {2, 1, 0x10}}, {0x036, {2, 1, 0x20}}, {0x138, {2, 1, 0x40}}, {0x15C, {2, 1, 0x80}},
        {0x171, {1, 1, 0x01}}, {0x172, {1, 1, 0x02}}, {0x173, {1, 1, 0x04}}, {0x161, {1, 5, 0x01}},
        {0x162, {1, 5, 0xFF}}, {0x030, {2, 2, 0x05}},  // B
        {0x130, {2, 2, 0xC0}},                         // V+ is of the keyboard class
        {0x15E, {2, 2, 0x00}},                         // Power: system class
        {0x176, {2, 2, 0x00}},                         // Copy: no device code
        {0x136, {2, 2, 0xE5}},                         // the second Right Shift row
    };
    for (const auto& [code, action] : cases) {
        EXPECT_EQ(Encode(2, code), action) << std::hex << code;
    }
}

TEST(DecodeActionToKeyCodeTest, FindsTheKeyOfEveryKind) {
    const std::pair<KeyAction, keyboard::KeyCode> cases[] = {
        {{1, 1, 1}, 0x171},    {{1, 1, 4}, 0x173},    {{1, 5, 0xFF}, 0x162}, {{1, 5, 1}, 0x161},
        {{1, 2, 1}, 0},        {{1, 1, 3}, 0},        {{2, 2, 0x04}, 0x01E}, {{2, 2, 0x48}, 0x045},
        {{2, 1, 0x06}, 0x02A}, {{2, 7, 0x80}, 0x15C}, {{2, 1, 0}, 0},        {{2, 2, 0}, 0},
        {{3, 0xE9, 0}, 0x130}, {{3, 0x23, 2}, 0x132}, {{3, 0x99, 0}, 0},     {{4, 0x81, 0}, 0x15E},
        {{4, 0x83, 0}, 0x163}, {{4, 0x84, 0}, 0},     {{5, 0, 0}, 0},        {{5, 2, 2}, 0},
        {{6, 0xA2, 3}, 0x202}, {{6, 0xA1, 3}, 0},     {{7, 2, 4}, 0},        {{0, 0, 0}, 0},
    };
    for (const auto& [action, code] : cases) {
        EXPECT_EQ(DecodeActionToKeyCode(action), code)
            << int(action.kind) << ' ' << int(action.sub) << ' ' << int(action.value);
    }
}

// ---- Layouts ---------------------------------------------------------------------------------

// Position 19 of the built-in default layout is A (02 02 04), position 12 Left Shift (02 01 02),
// position 6 holds no key, positions 0..5 are keyboard functions.
constexpr std::size_t kPositionOfA = 19;
constexpr int kEntryOfA = 0x1E;

class LayoutTest : public ::testing::Test {
  protected:
    keyboard::ImageRecord image_;
    std::span<uint8_t, keyboard::kBlockSize> block_ = image_.Block(0);

    keyboard::ConstKeyEntryRef At(int index) const { return image_.Entry(0, index); }
    KeyLayout WithActionAt(std::size_t position, KeyAction action) const {
        KeyLayout layout = kBuiltInDefaultLayout;
        SetActionAt(layout, position, action);
        return layout;
    }
    void ReadBack(const KeyLayout& layout) {
        DecodeLayoutToBlock(layout, block_, kBuiltInDefaultLayout);
    }
};

TEST_F(LayoutTest, TheDefaultLayoutReadBackIsTheDefaultBlock) {
    ReadBack(kBuiltInDefaultLayout);
    keyboard::ImageRecord expected;
    keyboard::FillDefaultBlock(expected.Block(0));
    EXPECT_TRUE(std::equal(block_.begin(), block_.end(), expected.Block(0).begin()));
}

TEST_F(LayoutTest, ANoFunctionActionAtAKeyDisablesIt) {
    ReadBack(WithActionAt(kPositionOfA, {0, 0, 0}));
    EXPECT_EQ(At(kEntryOfA).Kind(), keyboard::kKindDisabled);
    EXPECT_EQ(At(kEntryOfA).Value(), 0u);
}

TEST_F(LayoutTest, EachReadBackActionBecomesItsAssignment) {
    struct Case {
        KeyAction action;
        uint16_t kind;
        uint32_t value;
    };
    const Case cases[] = {
        {{5, 1, 4}, keyboard::kKindMacro, 5},         {{5, 2, 9}, keyboard::kKindStopMacro, 0},
        {{5, 5, 3}, keyboard::kKindFunction, 3},      {{5, 7, 0}, keyboard::kKindDisabled, 0},
        {{3, 0xCD, 0}, keyboard::kKindMultimedia, 1}, {{3, 0x99, 0}, keyboard::kKindDisabled, 0},
        {{1, 1, 2}, keyboard::kKindKey, 0x172},       {{1, 5, 1}, keyboard::kKindKey, 0x161},
        {{1, 5, 2}, keyboard::kKindDisabled, 0},      {{2, 2, 5}, keyboard::kKindKey, 0x030},
        {{2, 2, 0}, keyboard::kKindDisabled, 0},      {{2, 1, 0x20}, keyboard::kKindKey, 0x036},
        {{2, 3, 5}, keyboard::kKindDisabled, 0},      {{4, 0x81, 0}, keyboard::kKindDisabled, 0},
        {{6, 0xA2, 1}, keyboard::kKindDisabled, 0},
    };
    for (const Case& c : cases) {
        ReadBack(WithActionAt(kPositionOfA, c.action));
        EXPECT_EQ(At(kEntryOfA).Kind(), c.kind) << int(c.action.kind) << ' ' << int(c.action.sub);
        EXPECT_EQ(At(kEntryOfA).Value(), c.value) << int(c.action.kind) << ' ' << int(c.action.sub);
    }
}

TEST_F(LayoutTest, PositionsWithoutAKeyAreIgnored) {
    ReadBack(WithActionAt(6, {2, 2, 4}));
    ReadBack(WithActionAt(0, {0, 0, 0}));  // default 05 00 00 stands for no key
    keyboard::ImageRecord expected;
    keyboard::FillDefaultBlock(expected.Block(0));
    EXPECT_TRUE(std::equal(block_.begin(), block_.end(), expected.Block(0).begin()));
}

TEST_F(LayoutTest, AGKeyPositionKeepsItsGCode) {
    KeyLayout withGKey = kBuiltInDefaultLayout;
    SetActionAt(withGKey, 0, {6, 0xA2, 2});  // G key 2: entry 257
    KeyLayout layout = withGKey;
    SetActionAt(layout, 0, {2, 2, 0x05});
    DecodeLayoutToBlock(layout, block_, withGKey);
    EXPECT_EQ(At(257).Kind(), keyboard::kKindKey);
    EXPECT_EQ(At(257).Value(), 0x030u);
    EXPECT_EQ(At(257).Parameter(), 0x302);
}

TEST_F(LayoutTest, EncodingOnlyChangesPositionsOfAssignedKeys) {
    keyboard::FillDefaultBlock(block_);
    image_.Entry(0, kEntryOfA).SetKind(keyboard::kKindKey);
    image_.Entry(0, kEntryOfA).SetValue(0x02A);
    image_.Entry(0, 0x02A).SetKind(keyboard::kKindDisabled);  // Left Shift, position 12
    const KeyLayout layout = EncodeProfileLayout(block_, kBuiltInDefaultLayout, {});
    KeyLayout expected = kBuiltInDefaultLayout;
    SetActionAt(expected, kPositionOfA, {2, 1, 0x02});
    SetActionAt(expected, 12, {0, 0, 0});
    EXPECT_EQ(layout, expected);
}

TEST_F(LayoutTest, EveryAssignmentTheKeyboardCanHoldSurvivesARoundTrip) {
    keyboard::FillDefaultBlock(block_);
    const struct {
        int entry;
        uint16_t kind;
        uint32_t value;
    } assigned[] = {
        {0x1E, keyboard::kKindKey, 0x030},     {0x30, keyboard::kKindKey, 0x162},
        {0x2E, keyboard::kKindKey, 0x15C},     {0x20, keyboard::kKindDisabled, 0},
        {0x12, keyboard::kKindMacro, 3},       {0x21, keyboard::kKindStopMacro, 0},
        {0x22, keyboard::kKindMultimedia, 17}, {0x23, keyboard::kKindFunction, 10},
        {0x3B, keyboard::kKindKey, 0x01E},
    };
    for (const auto& a : assigned) {
        image_.Entry(0, a.entry).SetKind(a.kind);
        image_.Entry(0, a.entry).SetValue(a.value);
    }
    // Macro ids 1..n sit at positions 0..n-1.
    const MacroPositionLookup positions = [](uint16_t id) { return id - 1; };
    const KeyLayout layout = EncodeProfileLayout(block_, kBuiltInDefaultLayout, positions);
    keyboard::ImageRecord back;
    DecodeLayoutToBlock(layout, back.Block(0), kBuiltInDefaultLayout);
    EXPECT_TRUE(std::equal(block_.begin(), block_.end(), back.Block(0).begin()));
}

}  // namespace
}  // namespace qx::device
