// The lighting data without a keyboard: record decoding and its clamps, the key-light matrix,
// the reset defaults, the mode capabilities and which buttons a click may toggle.
#include <gtest/gtest.h>

#include <algorithm>

#include "keyboard/key_buttons.h"
#include "lighting/key_frames.h"
#include "lighting/key_light_page.h"
#include "lighting/lighting_defaults.h"
#include "lighting/mode_capabilities.h"
#include "lighting/mode_table.h"
#include "lighting/working_values.h"
#include "sim/device_tables.h"

namespace qx::lighting {
namespace {

LightingRecord RecordWith(std::initializer_list<std::pair<std::size_t, uint8_t>> bytes) {
    LightingRecord record{};
    for (const auto& [offset, value] : bytes) {
        record[offset] = value;
    }
    return record;
}

TEST(LightingRecordDecode, ParametersAndColoursComeFromTheirOffsets) {
    const LightingRecord record = RecordWith({{field::kModeType, 15},
                                              {field::kBrightness, 3},
                                              {field::kSpeed, 1},
                                              {field::kLayer, 7},
                                              {field::kDirection, 255},
                                              {5, 0x11},
                                              {6, 0x22},
                                              {7, 0x33},
                                              {9, 0x44},
                                              {12, 0x55},
                                              {27, 0x66},
                                              {30, 0x01},
                                              {31, 0x02},
                                              {32, 0x03},
                                              {field::kColourPicture, 2},
                                              {field::kReportRate, 1},
                                              {field::kTool, 1}});
    WorkingValues values;
    DecodeRecord(record, DecodeScope::kAll, values);
    EXPECT_EQ(values.modeType, 15);
    EXPECT_EQ(values.brightness, 3);
    EXPECT_EQ(values.speed, 1);
    EXPECT_EQ(values.layer, 7);
    EXPECT_EQ(values.direction, kDirectionFirst);
    EXPECT_TRUE(values.randomColour);
    EXPECT_EQ(values.colour, 0x332211U);  // 0x00BBGGRR
    EXPECT_EQ(values.userBaseColour, 0x000044U);
    EXPECT_EQ(values.userColour, 0x000055U);
    EXPECT_EQ(values.rippleColour, 0x660000U);
    EXPECT_EQ(values.ribbonColour, 0x030201U);
    EXPECT_EQ(values.colourPicture, 2);
    EXPECT_EQ(values.reportRate, 1);
    EXPECT_EQ(values.tool, kToolErase);
}

TEST(LightingRecordDecode, OutOfRangeBytesAreClampedOrIgnored) {
    WorkingValues values;
    values.triggerKind = kTriggerGrid;
    values.reactionRandom = true;
    DecodeRecord(RecordWith({{field::kReportRate, 7},
                             {field::kTool, 2},
                             {field::kLayer, 10},
                             {field::kTriggerKind, 2},
                             {field::kModeType, 7},
                             {field::kReactionRandom, 5},
                             {field::kRippleRainbow, 0x80},
                             {field::kRibbonRainbow, 1}}),
                 DecodeScope::kAll, values);
    EXPECT_EQ(values.reportRate, 3);
    EXPECT_EQ(values.tool, kToolPaint);
    EXPECT_EQ(values.layer, 0);                   // a layer must address the page
    EXPECT_EQ(values.triggerKind, kTriggerGrid);  // 2 ignored
    EXPECT_TRUE(values.reactionRandom);           // 5 ignored
    EXPECT_TRUE(values.rippleRainbow);
    EXPECT_TRUE(values.ribbonRainbow);
}

TEST(LightingRecordDecode, ReactionFlagIsTakenOnlyInMode7) {
    WorkingValues values;
    DecodeRecord(RecordWith({{field::kModeType, 6}, {field::kReactionRandom, 1}}),
                 DecodeScope::kAll, values);
    EXPECT_FALSE(values.reactionRandom);
    DecodeRecord(RecordWith({{field::kModeType, 7}, {field::kReactionRandom, 1}}),
                 DecodeScope::kAll, values);
    EXPECT_TRUE(values.reactionRandom);
    DecodeRecord(RecordWith({{field::kModeType, 7}, {field::kReactionRandom, 0}}),
                 DecodeScope::kAll, values);
    EXPECT_FALSE(values.reactionRandom);
}

TEST(LightingRecordDecode, RefreshScopeKeepsReportRateAndTool) {
    WorkingValues values;
    values.reportRate = 2;
    values.tool = kToolErase;
    DecodeRecord(RecordWith({{field::kBrightness, 4}}), DecodeScope::kKeepRateAndTool, values);
    EXPECT_EQ(values.brightness, 4);
    EXPECT_EQ(values.reportRate, 2);
    EXPECT_EQ(values.tool, kToolErase);
}

TEST(KeyLightMatrix, BitOfALedInALayer) {
    EXPECT_EQ(KeyBitByte(2, 45), 41U);
    EXPECT_EQ(KeyBitMask(45), 0x20);
    EXPECT_EQ(KeyBitByte(9, 143), 9U * 18 + 17);
    KeyLightPage page{};
    page[41] = 0x20;
    EXPECT_TRUE(IsKeyLit(page, 2, 45));
    EXPECT_FALSE(IsKeyLit(page, 1, 45));
    // Index 255 would land in byte 31 of the layer, another layer's bits: never lit.
    page.fill(0xFF);
    EXPECT_FALSE(IsKeyLit(page, 0, 255));
    EXPECT_FALSE(IsKeyLit(page, 10, 0));
    EXPECT_EQ(WithKeyBit(0x00, 11, true), 0x08);
    EXPECT_EQ(WithKeyBit(0xFF, 11, false), 0xF7);
}

TEST(LightingDefaults, RecordAndLayersMatchWhatTheKeyboardLeavesTheFactoryWith) {
    EXPECT_TRUE(std::ranges::equal(kDefaultLightingRecord, sim::kDefaultLightingRecord));
    EXPECT_TRUE(std::ranges::equal(kDefaultKeyLightLayers, sim::kDefaultKeyLightLayers));
    const KeyLightPage page = DefaultKeyLightPage();
    EXPECT_TRUE(
        std::all_of(page.begin() + kLayersSize, page.end(), [](uint8_t b) { return b == 0; }));
    EXPECT_EQ(kDefaultLightingRecord[0], 1);
    EXPECT_EQ(kDefaultLightingRecord[1], 4);
    EXPECT_EQ(kDefaultLightingRecord[2], 2);
    EXPECT_EQ(std::count(kDefaultLightingRecord.begin(), kDefaultLightingRecord.end(), 255), 3);
    EXPECT_EQ(kDefaultLightingRecord[30], 255);
    EXPECT_EQ(kDefaultLightingRecord[32], 255);
}

TEST(ModeCapabilitiesTable, GroupsOfTheDefinedTypes) {
    EXPECT_EQ(DefinedModes().size(), 29U);
    for (const ModeDescription& mode : DefinedModes()) {
        EXPECT_TRUE(mode.capabilities.brightness) << mode.type;
        const bool steady = mode.type == 5 || mode.type == 7 || mode.type == 25 || mode.type == 254;
        EXPECT_EQ(mode.capabilities.speed, !steady) << mode.type;
        EXPECT_EQ(mode.capabilities.perKeyTools, mode.type == 254) << mode.type;
    }
    auto direction = [](int type) { return CapabilitiesOfMode(type)->direction; };
    for (const int type : {1, 2, 4, 16, 27, 28}) {
        EXPECT_EQ(direction(type), DirectionPair::kLeftRight) << type;
    }
    EXPECT_EQ(direction(3), DirectionPair::kSpreadConverge);
    EXPECT_EQ(direction(15), DirectionPair::kUpDown);
    for (const int type : {5, 6, 7, 8, 14, 17, 24, 25, 26, 254}) {
        EXPECT_EQ(direction(type), DirectionPair::kNone) << type;
    }
    EXPECT_FALSE(IsDefinedModeType(0));
    EXPECT_FALSE(IsDefinedModeType(29));
    EXPECT_FALSE(IsDefinedModeType(253));
}

TEST(ModeSlotList, StateBlockBytes16To47) {
    std::array<uint8_t, 48> block{};
    block[15] = 254;  // not a slot
    block[16] = 3;
    block[47] = 254;
    const ModeSlots slots = ModeSlotsOfStateBlock(block);
    EXPECT_EQ(slots[0], 3);
    EXPECT_EQ(slots[31], 254);
    EXPECT_TRUE(SupportsPerKey(slots));
    EXPECT_FALSE(SupportsPerKey(ModeSlotsOfStateBlock(std::span(block).first(20))));
}

TEST(KeyClicks, OnlyKeysWithAnLedAreToggled) {
    EXPECT_EQ(LedOfClickedButton(keyboard::kFnButtonId), 45);
    EXPECT_EQ(LedOfClickedButton(1022), 0);   // Esc
    EXPECT_EQ(LedOfClickedButton(1058), 11);  // A
    EXPECT_FALSE(LedOfClickedButton(1087));   // Right Win
    EXPECT_FALSE(LedOfClickedButton(1199));   // K107
    for (const int id : keyboard::kGKeyButtonIds) {
        EXPECT_FALSE(LedOfClickedButton(id)) << id;
    }
    EXPECT_EQ(FramedButtons().size(), 107U + 1 + 9);
}

}  // namespace
}  // namespace qx::lighting
