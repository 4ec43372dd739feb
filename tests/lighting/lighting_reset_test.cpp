// The lighting reset: which transactions it sends on keyboards with and without the per-key
// mode and type 1, and what the keyboard and the view hold afterwards.
#include <gmock/gmock.h>

#include <algorithm>

#include "lighting/lighting_defaults.h"
#include "tests/lighting/lighting_fixture.h"

namespace qx::lighting::testing {
namespace {

using ::testing::ElementsAre;

// The transactions of a command list: the packets between each "begin" and "end".
std::vector<std::vector<std::string>> Transactions(const std::vector<std::string>& commands) {
    std::vector<std::vector<std::string>> transactions;
    for (const std::string& line : commands) {
        if (line == "begin") {
            transactions.emplace_back();
        } else if (line != "end" && !transactions.empty()) {
            transactions.back().push_back(line);
        }
    }
    return transactions;
}

std::string RecordWriteAt(int address) {
    std::string bytes;
    for (std::size_t i = 0; i < kDefaultRecordSize; ++i) {
        char hex[4];
        std::snprintf(hex, sizeof hex, i == 0 ? "%02x" : " %02x", kDefaultLightingRecord[i]);
        bytes += hex;
    }
    return "write6 @" + std::to_string(address) + " [" + bytes + "]";
}

TEST_F(LightingTest, ResetWithThePerKeyModeWritesModeLayersAndRecordInThreeTransactions) {
    for (int p = 0; p < kProfileCount; ++p) {
        keyboard_.Model().Write(sim::Area::kKeyLight, p * kPageSize,
                                std::vector<uint8_t>(kPageSize, 0x5A));
    }
    SetRecordByte(1, field::kBrightness, 0);
    SetRecordByte(1, field::kReportRate, 2);
    SetRecordByte(1, field::kTool, kToolErase);
    ReadOn(1);

    model_.ResetLighting();
    const auto transactions = Transactions(TakeCommands());
    ASSERT_EQ(transactions.size(), 3U);
    EXPECT_THAT(transactions[0], ElementsAre("write6 @42 [01]"));
    ASSERT_EQ(transactions[1].size(), 10U);
    for (int layer = 0; layer < kLayerCount; ++layer) {
        EXPECT_TRUE(transactions[1][layer].starts_with("write17 @" +
                                                       std::to_string(256 + layer * 18) + " ["))
            << transactions[1][layer];
    }
    EXPECT_THAT(transactions[2], ElementsAre(RecordWriteAt(42)));

    const auto page = KeyboardPage(1);
    EXPECT_TRUE(
        std::equal(kDefaultKeyLightLayers.begin(), kDefaultKeyLightLayers.end(), page.begin()));
    EXPECT_EQ(page[180], 0x5A);  // past the layers the keyboard keeps its bytes
    EXPECT_EQ(model_.Page(1), DefaultKeyLightPage());
    EXPECT_EQ(KeyboardPage(0)[0], 0x5A);
    const auto record = KeyboardRecord(1);
    EXPECT_TRUE(
        std::equal(kDefaultLightingRecord.begin(), kDefaultLightingRecord.end(), record.begin()));

    EXPECT_EQ(model_.SelectedModeType(), kResetModeType);
    EXPECT_EQ(model_.Values().brightness, 4);
    EXPECT_EQ(model_.Values().speed, 2);
    EXPECT_EQ(model_.Values().direction, kDirectionSecond);
    EXPECT_EQ(model_.Values().layer, 0);
    // Every working value is the default record's, not what the profile held before.
    EXPECT_EQ(model_.Values().reportRate, 0);
    EXPECT_EQ(model_.Values().tool, kToolPaint);
    EXPECT_EQ(model_.Values().ribbonColour, 0xFFFFFFU);
    EXPECT_EQ(view_.tool, kToolPaint);
    EXPECT_EQ(view_.brightnessPosition, 4);
    EXPECT_EQ(view_.speedPosition, 2);
    EXPECT_EQ(view_.layerItem, 0);
    EXPECT_EQ(view_.events.back(), "frames cleared");
    EXPECT_TRUE(view_.frames.empty());
}

TEST_F(LightingTest, ResetWithoutThePerKeyModeSendsExactlyTwoTransactions) {
    SetModeSlots({1, 2, 3});
    ReadOn(0);
    model_.ResetLighting();
    EXPECT_THAT(TakeCommands(),
                ElementsAre("begin", "write6 @0 [01]", "end", "begin", RecordWriteAt(0), "end"));
}

TEST_F(LightingTest, ResetWithoutType1ClearsTheSelectionAndStillWritesTheRecord) {
    SetModeSlots({2, 3});
    SetRecordByte(2, field::kModeType, 3);
    ReadOn(2);
    ASSERT_EQ(model_.SelectedModeIndex(), 1);

    model_.ResetLighting();
    EXPECT_THAT(TakeCommands(), ElementsAre("begin", RecordWriteAt(84), "end"));
    EXPECT_EQ(model_.SelectedModeIndex(), kNoMode);
    EXPECT_EQ(view_.selectedItem, -1);
}

TEST_F(LightingTest, ResetWithEmptySlotsWritesOnlyTheRecord) {
    SetModeSlots({});
    ReadOn(0);
    model_.ResetLighting();
    EXPECT_THAT(TakeCommands(), ElementsAre("begin", RecordWriteAt(0), "end"));
}

}  // namespace
}  // namespace qx::lighting::testing
