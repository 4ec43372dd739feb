// What the lighting operations show in the panel and the keyboard view.
#include <gmock/gmock.h>

#include "keyboard/key_buttons.h"
#include "tests/lighting/lighting_fixture.h"

namespace qx::lighting::testing {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;

TEST_F(LightingTest, RefreshShowsTheStoredValues) {
    SetModeSlots({9, 0, 4, 254});
    SetRecordByte(0, field::kModeType, 4);
    SetRecordByte(0, field::kBrightness, 3);
    SetRecordByte(0, field::kSpeed, 4);
    SetRecordByte(0, field::kLayer, 6);
    SetRecordByte(0, field::kReportRate, 2);
    SetRecordByte(0, field::kTool, 1);
    ASSERT_EQ(model_.ReadLightingState(), kReadOk);
    model_.RefreshPanel();

    EXPECT_THAT(view_.modeNames, ElementsAre("mode 9", "mode 4", "mode 254"));
    EXPECT_EQ(view_.selectedItem, 1);
    EXPECT_EQ(view_.layerItem, 6);
    EXPECT_EQ(view_.brightnessPosition, 3);
    EXPECT_EQ(view_.speedPosition, 0);
    EXPECT_EQ(view_.reportRate, 2);
    EXPECT_EQ(view_.tool, kToolErase);
    EXPECT_THAT(view_.events, Contains("lamp off"));
    EXPECT_TRUE(view_.frames.empty());  // switch off: the keyboard view shows key assignments
}

TEST_F(LightingTest, StoredTypeMissingFromTheListSelectsNothing) {
    SetModeSlots({2, 3});
    SetRecordByte(0, field::kModeType, 9);
    ASSERT_EQ(model_.ReadLightingState(), kReadOk);
    model_.RefreshPanel();
    EXPECT_EQ(view_.selectedItem, -1);
    EXPECT_THAT(view_.events, Contains("controls -1 0"));
}

TEST_F(LightingTest, PerKeyModeWithTheSwitchOnFramesEveryButtonFromTheLayer) {
    keyboard_.Model().Write(sim::Area::kKeyLight, 18, std::vector<uint8_t>(18, 0));  // layer 1
    keyboard_.Model().Write(sim::Area::kKeyLight, 18, std::vector<uint8_t>{0x01});   // Esc
    SetRecordByte(0, field::kModeType, 254);
    SetRecordByte(0, field::kLayer, 1);
    model_.SetPanelSwitch(true);
    ASSERT_EQ(model_.ReadLightingState(), kReadOk);
    model_.RefreshPanel();

    ASSERT_EQ(view_.frames.size(), 117U);
    bool lit = false;
    ASSERT_TRUE(view_.FrameOf(1022, lit));  // Esc
    EXPECT_TRUE(lit);
    ASSERT_TRUE(view_.FrameOf(keyboard::kGKeyButtonIds[4], lit));  // G keys show LED 0
    EXPECT_TRUE(lit);
    ASSERT_TRUE(view_.FrameOf(1058, lit));
    EXPECT_FALSE(lit);
}

TEST_F(LightingTest, ModeChangeClearsFramesAndReframesOnlyForThePerKeyMode) {
    ReadOn(0);
    model_.SelectMode(model_.ModeIndexOfType(254));
    EXPECT_EQ(view_.frames.size(), 117U);
    EXPECT_THAT(view_.events, ElementsAre("frames cleared", "controls 254 0"));

    view_.events.clear();
    model_.SelectMode(model_.ModeIndexOfType(15));
    EXPECT_TRUE(view_.frames.empty());
    EXPECT_THAT(view_.events, ElementsAre("frames cleared", "controls 15 0"));
}

TEST_F(LightingTest, TurningTheSwitchOffClearsTheFramesAndStoresIt) {
    ReadOn(0);
    model_.SelectMode(model_.ModeIndexOfType(254));
    model_.SetPanelSwitch(false);
    EXPECT_TRUE(view_.frames.empty());
    EXPECT_FALSE(PanelSwitchFile((folder_ / "zadi.ini").string()).Read());
    EXPECT_TRUE(TakeCommands().size() == 3);  // only the mode write
}

}  // namespace
}  // namespace qx::lighting::testing
