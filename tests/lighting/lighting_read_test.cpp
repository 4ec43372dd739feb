// Reading the lighting state from the keyboard: the packets, the mode table built from the
// state block, the decoded working values, and what a failed read leaves behind.
#include <gmock/gmock.h>

#include <algorithm>

#include "lighting/key_light_page.h"
#include "platform/ini_file.h"
#include "tests/lighting/lighting_fixture.h"

namespace qx::lighting::testing {
namespace {

using ::testing::ElementsAre;

TEST_F(LightingTest, FullReadTakesThePageOfTheLightingProfileAndAllThreeRecordsInOneTransaction) {
    ASSERT_TRUE(model_.SetLightingProfile(1));
    EXPECT_EQ(model_.ReadLightingState(), kReadOk);
    EXPECT_THAT(TakeCommands(), ElementsAre("state", "begin", "read16 @256 n54", "read16 @310 n54",
                                            "read16 @364 n54", "read16 @418 n54", "read5 @0 n56",
                                            "read5 @42 n56", "read5 @84 n56", "end"));
    for (int p = 0; p < kProfileCount; ++p) {
        EXPECT_TRUE(std::ranges::equal(model_.Record(p), KeyboardRecord(p))) << "record " << p;
    }
    const auto page = KeyboardPage(1);
    EXPECT_TRUE(std::equal(page.begin(), page.begin() + 216, model_.Page(1).begin()));
}

TEST_F(LightingTest, FactoryKeyboardOffersTypes1To28AndThePerKeyMode) {
    ASSERT_EQ(model_.ReadLightingState(), kReadOk);
    EXPECT_TRUE(model_.PerKeySupported());
    ASSERT_EQ(model_.Modes().Size(), 29);
    EXPECT_EQ(model_.ModeIndexOfType(1), 0);
    EXPECT_EQ(model_.ModeIndexOfType(254), 28);
    EXPECT_EQ(model_.ModeTypeAt(28), 254);
    EXPECT_EQ(model_.ModeTypeAt(29), kNoMode);
    EXPECT_EQ(model_.ModeTypeAt(-1), kNoMode);
}

TEST_F(LightingTest, EmptySlotsGiveAnEmptyTableAndNoKeyLightRead) {
    SetModeSlots({});
    ASSERT_EQ(model_.ReadLightingState(), kReadOk);
    EXPECT_FALSE(model_.PerKeySupported());
    EXPECT_EQ(model_.Modes().Size(), 0);
    for (int type = 0; type < 256; ++type) {
        EXPECT_EQ(model_.ModeIndexOfType(type), kNoMode) << type;
    }
    EXPECT_EQ(model_.SelectedModeIndex(), kNoMode);
    EXPECT_THAT(TakeCommands(), ElementsAre("state", "begin", "read5 @0 n56", "read5 @42 n56",
                                            "read5 @84 n56", "end"));
}

TEST_F(LightingTest, TableSkipsEmptySlotsAndADuplicateTypeResolvesToItsFirstEntry) {
    SetModeSlots({0, 5, 3, 0, 5, 254, 3});
    ASSERT_EQ(model_.ReadLightingState(), kReadOk);
    ASSERT_EQ(model_.Modes().Size(), 5);
    EXPECT_EQ(model_.ModeIndexOfType(5), 0);
    EXPECT_EQ(model_.ModeIndexOfType(3), 1);
    EXPECT_EQ(model_.ModeTypeAt(2), 5);
    EXPECT_EQ(model_.ModeTypeAt(4), 3);
    EXPECT_TRUE(model_.PerKeySupported());
}

TEST_F(LightingTest, StoredValuesOutOfRangeAreTakenAsTheirNearestMeaning) {
    SetRecordByte(0, field::kReportRate, 7);
    SetRecordByte(0, field::kTool, 2);
    ASSERT_EQ(model_.ReadLightingState(), kReadOk);
    model_.RefreshPanel();
    EXPECT_EQ(model_.Values().reportRate, 3);
    EXPECT_EQ(view_.reportRate, 3);
    EXPECT_EQ(model_.Values().tool, kToolPaint);
    EXPECT_EQ(view_.tool, kToolPaint);
    // The keyboard's bytes stay as they were: reading changes nothing.
    EXPECT_EQ(KeyboardRecord(0)[field::kReportRate], 7);
}

TEST_F(LightingTest, UnreadableStateBlockReturnsFailureAndLeavesRecordsAndPagesAlone) {
    ReadOn(0);
    const LightingRecord before = model_.Record(0);
    const KeyLightPage pageBefore = model_.Page(0);
    const WorkingValues valuesBefore = model_.Values();
    SetRecordByte(0, field::kBrightness, 1);

    keyboard_.Model().FailRequests(0xFF, sim::kUntilCleared);
    EXPECT_EQ(model_.ReadLightingState(), kReadFailed);
    EXPECT_EQ(model_.Record(0), before);
    EXPECT_EQ(model_.Page(0), pageBefore);
    EXPECT_EQ(model_.Values(), valuesBefore);
    EXPECT_EQ(model_.Modes().Size(), 0);
    EXPECT_FALSE(model_.PerKeySupported());
    EXPECT_THAT(view_.events, ElementsAre("modes cleared"));
    // Only the state block was asked for (three attempts); no transaction followed.
    EXPECT_THAT(TakeCommands(), ElementsAre("state", "state", "state"));
}

TEST_F(LightingTest, NoKeyboardMeansNoModesAndNothingSent) {
    ReadOn(0);
    keyboard_.Model().Unplug();
    EXPECT_EQ(model_.RefreshLightingRecords(), kReadFailed);
    EXPECT_EQ(model_.Modes().Size(), 0);
    EXPECT_TRUE(TakeCommands().empty());
}

TEST_F(LightingTest, RefreshAfterAKeyboardChangeSkipsThePageAndKeepsRateAndTool) {
    ReadOn(2);
    SetRecordByte(2, field::kBrightness, 1);
    SetRecordByte(2, field::kReportRate, 2);
    SetRecordByte(2, field::kTool, 1);
    keyboard_.Model().Write(sim::Area::kKeyLight, 2 * kPageSize, std::vector<uint8_t>(18, 0xAA));

    EXPECT_EQ(model_.RefreshLightingRecords(), kReadOk);
    EXPECT_THAT(TakeCommands(), ElementsAre("state", "begin", "read5 @0 n56", "read5 @42 n56",
                                            "read5 @84 n56", "end"));
    EXPECT_EQ(model_.Values().brightness, 1);
    EXPECT_EQ(model_.Values().reportRate, 0);
    EXPECT_EQ(model_.Values().tool, kToolPaint);
    EXPECT_NE(model_.Page(2)[0], 0xAA);
}

TEST_F(LightingTest, PanelSwitchIsReadFromTheSettingsFile) {
    ASSERT_EQ(model_.ReadLightingState(), kReadOk);
    EXPECT_FALSE(model_.PanelSwitchOn());  // no file yet

    model_.SetPanelSwitch(true);
    LightingModel other(keyboard_.Commands(), view_,
                        PanelSwitchFile((folder_ / "zadi.ini").string()));
    ASSERT_EQ(other.ReadLightingState(), kReadOk);
    EXPECT_TRUE(other.PanelSwitchOn());

    ASSERT_TRUE(
        platform::WriteIniString((folder_ / "zadi.ini").string(), "keycolor", "dengcheck", "yes"));
    ASSERT_EQ(other.ReadLightingState(), kReadOk);
    EXPECT_FALSE(other.PanelSwitchOn());
}

}  // namespace
}  // namespace qx::lighting::testing
