// Every lighting change: its packets, its address in the lighting profile, and when nothing is
// sent at all.
#include <gmock/gmock.h>

#include "keyboard/key_buttons.h"
#include "lighting/key_light_page.h"
#include "tests/lighting/lighting_fixture.h"

namespace qx::lighting::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr int kFnLed = 45;

std::string Spelt(int command, int address, const std::string& bytes) {
    return "write" + std::to_string(command) + " @" + std::to_string(address) + " [" + bytes + "]";
}

class LightingWriteTest : public LightingTest {
  protected:
    void SelectType(int type) {
        model_.SelectMode(model_.ModeIndexOfType(type));
        TakeCommands();
    }
};

TEST_F(LightingWriteTest, ModeChangeWritesTheTypeOfTheChosenItem) {
    ReadOn(2);
    model_.SelectMode(model_.ModeIndexOfType(5));
    EXPECT_THAT(TakeCommands(), ElementsAre("begin", "write6 @84 [05]", "end"));
    EXPECT_EQ(model_.SelectedModeType(), 5);
    EXPECT_EQ(model_.Values().modeType, 5);
    EXPECT_EQ(KeyboardRecord(2)[field::kModeType], 5);

    model_.SelectMode(29);
    model_.SelectMode(-1);
    EXPECT_THAT(TakeCommands(), IsEmpty());
}

TEST_F(LightingWriteTest, SlidersWriteOnlyARealChange) {
    ReadOn(0);
    SetRecordByte(0, field::kSpeed, 1);  // speed slider at position 3
    SetRecordByte(0, field::kBrightness, 2);
    ReadOn(0);

    model_.SetSpeed(1);
    EXPECT_THAT(TakeCommands(), ElementsAre("begin", "write6 @2 [03]", "end"));
    model_.SetSpeed(1);
    EXPECT_THAT(TakeCommands(), IsEmpty());
    EXPECT_EQ(model_.Values().speed, 3);

    model_.SetBrightness(2);
    EXPECT_THAT(TakeCommands(), IsEmpty());
    model_.SetBrightness(4);
    EXPECT_THAT(TakeCommands(), ElementsAre("begin", "write6 @1 [04]", "end"));

    model_.SetBrightness(5);
    model_.SetSpeed(-1);
    model_.SetSpeed(5);
    EXPECT_THAT(TakeCommands(), IsEmpty());
}

TEST_F(LightingWriteTest, DirectionToolAndReportRateEachWriteOneByte) {
    ReadOn(1);
    model_.SetDirection(255);
    model_.SetDirection(0);
    model_.SelectTool(kToolErase);
    model_.SetReportRate(3);
    EXPECT_THAT(TakeCommands(),
                ElementsAre("begin", "write6 @46 [ff]", "end", "begin", "write6 @46 [00]", "end",
                            "begin", "write6 @58 [01]", "end", "begin", "write6 @57 [03]", "end"));
    EXPECT_EQ(model_.Values().tool, kToolErase);
    EXPECT_EQ(view_.tool, kToolErase);
    EXPECT_EQ(view_.reportRate, 3);

    model_.SelectTool(2);
    model_.SetReportRate(4);
    model_.SetReportRate(-1);
    EXPECT_THAT(TakeCommands(), IsEmpty());
    EXPECT_EQ(model_.Values().reportRate, 3);
}

TEST_F(LightingWriteTest, LayerIsWrittenOnlyWhileThePanelSwitchIsOn) {
    ReadOn(0);
    model_.SelectLayer(4);
    EXPECT_THAT(TakeCommands(), IsEmpty());
    EXPECT_EQ(model_.Values().layer, 4);

    model_.SetPanelSwitch(true);
    model_.SelectLayer(6);
    EXPECT_THAT(TakeCommands(), ElementsAre("begin", "write6 @3 [06]", "end"));

    model_.SelectLayer(10);
    model_.SelectLayer(-1);
    EXPECT_THAT(TakeCommands(), IsEmpty());
    EXPECT_EQ(model_.Values().layer, 6);
}

TEST_F(LightingWriteTest, PaintingFnInLayer2SetsBit5OfByte41) {
    ReadOn(1);
    SelectType(254);
    model_.SetPanelSwitch(true);
    model_.SelectLayer(2);
    TakeCommands();
    const uint8_t before = model_.Page(1)[41];

    model_.ToggleKeyLight(kFnLed);
    const auto expected = static_cast<uint8_t>(before | 0x20);
    char hex[3];
    std::snprintf(hex, sizeof hex, "%02x", expected);
    EXPECT_THAT(TakeCommands(), ElementsAre("begin", Spelt(17, 256 + 41, hex), "end"));
    EXPECT_EQ(model_.Page(1)[41], expected);
    EXPECT_EQ(KeyboardPage(1)[41], expected);
    bool lit = false;
    ASSERT_TRUE(view_.FrameOf(keyboard::kFnButtonId, lit));
    EXPECT_TRUE(lit);

    model_.SelectTool(kToolErase);
    TakeCommands();
    model_.ToggleKeyLight(kFnLed);
    EXPECT_EQ(KeyboardPage(1)[41], before & ~0x20);
    ASSERT_TRUE(view_.FrameOf(keyboard::kFnButtonId, lit));
    EXPECT_FALSE(lit);
}

TEST_F(LightingWriteTest, KeysAreToggledOnlyInThePerKeyMode) {
    ReadOn(0);
    SelectType(3);
    model_.ToggleKeyLight(kFnLed);
    model_.SetKeyLight(kFnLed, true);
    EXPECT_THAT(TakeCommands(), IsEmpty());
}

TEST_F(LightingWriteTest, KeysWithoutAPlaceInTheMatrixSendNothing) {
    ReadOn(0);
    SelectType(254);
    const KeyLightPage before = model_.Page(0);
    model_.ToggleKeyLightOfButton(keyboard::kGKeyButtonIds[0]);  // G1
    model_.ToggleKeyLightOfButton(1087);                         // Right Win: no LED
    model_.ToggleKeyLightOfButton(1200);                         // K56: no LED
    model_.ToggleKeyLightOfButton(1006);                         // not a key
    model_.ToggleKeyLight(255);
    model_.ToggleKeyLight(144);
    model_.ToggleKeyLight(-1);
    EXPECT_THAT(TakeCommands(), IsEmpty());
    EXPECT_EQ(model_.Page(0), before);
}

TEST_F(LightingWriteTest, AClickOnAKeyButtonTogglesItsLed) {
    keyboard_.Model().Write(sim::Area::kKeyLight, 1, std::vector<uint8_t>{0x00});
    ReadOn(0);  // layer 0
    SelectType(254);

    model_.ToggleKeyLightOfButton(1058);  // A: LED 11, byte 1 bit 3
    EXPECT_THAT(TakeCommands(), ElementsAre("begin", "write17 @1 [08]", "end"));
    model_.ToggleKeyLightOfButton(keyboard::kFnButtonId);  // LED 45: byte 5 bit 5
    EXPECT_EQ(KeyboardPage(0)[5] & 0x20, 0x20);
}

TEST_F(LightingWriteTest, AllOffInLayer9WritesEighteenZerosAtOffset162) {
    ReadOn(2);
    SelectType(254);
    model_.SelectLayer(9);
    TakeCommands();

    model_.SetLayerAll(false);
    EXPECT_THAT(TakeCommands(),
                ElementsAre("begin",
                            Spelt(17, 2 * 256 + 162,
                                  "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00"),
                            "end"));
    EXPECT_EQ(view_.fill, LayerFill::kAllOff);

    model_.SetLayerAll(true);
    EXPECT_THAT(TakeCommands(),
                ElementsAre("begin",
                            Spelt(17, 2 * 256 + 162,
                                  "ff ff ff ff ff ff ff ff ff ff ff ff ff ff ff ff ff ff"),
                            "end"));
    EXPECT_EQ(view_.fill, LayerFill::kAllOn);
    const auto page = KeyboardPage(2);
    EXPECT_TRUE(
        std::all_of(page.begin() + 162, page.begin() + 180, [](uint8_t b) { return b == 0xFF; }));
    bool lit = false;
    ASSERT_TRUE(view_.FrameOf(1058, lit));
    EXPECT_TRUE(lit);
    ASSERT_TRUE(view_.FrameOf(1087, lit));  // Right Win has no LED and never shows lit
    EXPECT_FALSE(lit);

    model_.SelectLayer(3);
    EXPECT_EQ(view_.fill, LayerFill::kNeither);
}

TEST_F(LightingWriteTest, RawWritesThatDoNotFitTheirAreaAreRefused) {
    ReadOn(0);
    const std::vector<uint8_t> two{1, 2};
    const std::vector<uint8_t> packetAndOne(57, 0);
    EXPECT_FALSE(model_.WriteLightingBytes(41, two));
    EXPECT_FALSE(model_.WriteLightingBytes(0, {}));
    EXPECT_FALSE(model_.WriteKeyLightBytes(255, two));
    EXPECT_FALSE(model_.WriteKeyLightBytes(0, packetAndOne));
    EXPECT_THAT(TakeCommands(), IsEmpty());
    EXPECT_TRUE(model_.WriteLightingBytes(40, two));
    EXPECT_TRUE(model_.WriteKeyLightBytes(254, two));
    EXPECT_THAT(TakeCommands(), ElementsAre("begin", "write6 @40 [01 02]", "end", "begin",
                                            "write17 @254 [01 02]", "end"));
}

TEST_F(LightingWriteTest, AFailedWriteKeepsTheUsersChangeAndIsOnlyNoted) {
    ReadOn(0);
    model_.ClearWriteResult();
    keyboard_.Model().FailRequests(0xFE, sim::kUntilCleared);
    model_.SetBrightness(1);
    EXPECT_EQ(model_.Values().brightness, 1);
    EXPECT_EQ(model_.WriteResult(), device::kRejectedFE);
    keyboard_.Model().ClearMisbehaviour();
    model_.ClearWriteResult();
    model_.SetBrightness(0);
    EXPECT_EQ(model_.WriteResult(), device::kOk);
}

// Every change goes to the record and page of the lighting profile index.
class LightingProfileTest : public LightingWriteTest, public ::testing::WithParamInterface<int> {};

TEST_P(LightingProfileTest, EveryWriteGoesToTheLightingProfile) {
    const int p = GetParam();
    ReadOn(p);
    SelectType(254);
    model_.SetPanelSwitch(true);
    const int record = p * 42;
    const int page = p * 256;

    model_.SelectMode(model_.ModeIndexOfType(254));
    model_.SetBrightness(0);
    model_.SetSpeed(0);
    model_.SetDirection(255);
    model_.SelectLayer(1);
    model_.SelectTool(kToolPaint);
    model_.SetReportRate(2);
    model_.SetKeyLight(0, false);
    model_.SetLayerAll(false);
    std::vector<std::string> writes;
    for (const std::string& line : TakeCommands()) {
        if (line.starts_with("write")) {
            writes.push_back(line.substr(0, line.find(" [")));
        }
    }
    auto at = [](int command, int address) {
        return "write" + std::to_string(command) + " @" + std::to_string(address);
    };
    EXPECT_THAT(writes, ElementsAre(at(6, record + 0), at(6, record + 1), at(6, record + 2),
                                    at(6, record + 4), at(6, record + 3), at(6, record + 16),
                                    at(6, record + 15), at(17, page + 18), at(17, page + 18)));
}

INSTANTIATE_TEST_SUITE_P(Profiles, LightingProfileTest, ::testing::Values(0, 1, 2));

}  // namespace
}  // namespace qx::lighting::testing
