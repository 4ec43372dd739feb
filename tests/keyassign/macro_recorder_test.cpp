// Macro recording: the rows a typed sequence gives with the record-delay setting off and on (a
// held key, Print Screen, Escape), the first delay of a recording into a macro with rows, and
// the record-delay setting's working copy.
#include "keyassign/macro_recorder.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/keyassign/keyassign_fixture.h"

namespace qx::keyassign {
namespace {

using keyboard::MacroAction;
using platform::KeyTransition;

constexpr uint16_t kDown = keyboard::kMacroPress;
constexpr uint16_t kUp = keyboard::kMacroRelease;

class RecorderObserver : public testing::RecordingObserver {
  public:
    void RecordingChanged(bool recording) override { changes.push_back(recording); }
    std::vector<bool> changes;
};

class MacroRecorderTest : public testing::KeyAssignTest {
  protected:
    MacroRecorderTest()
        : editor_(observer_, {&prompt_, [] {}}), recorder_(editor_, [this] { return now_; }) {}

    // The stored record-delay setting, read as the window does when it opens.
    void UseRecordDelay(const char* stored) {
        settings_.WriteProfileString("PROFILES", "Record delays", stored);
        recorder_.LoadRecordDelay();
    }
    void SelectMacroWithRows(int rows) {
        InstallMacros({Macro(1, "One", rows)});
        editor_.LoadMacroList();
        editor_.SelectMacro(0);
    }
    // A key event at `atMs`; what the filter did with it.
    KeyEventVerdict Type(int64_t atMs, uint8_t vk, uint16_t scan, KeyTransition transition) {
        now_ = atMs;
        return recorder_.HandleKeyEvent(platform::MakeKeystroke(vk, scan, transition));
    }
    std::vector<MacroAction> Rows() const {
        std::vector<MacroAction> rows;
        for (const ActionRow& row : editor_.Actions().Rows()) {
            rows.push_back(row.action);
        }
        return rows;
    }
    // A held A, a media key, Print Screen (press and release, as Linux reports it), Escape.
    void TypeSequence() {
        now_ = 1000;
        recorder_.ToggleRecording();
        Type(1100, 0x41, 0x01E, KeyTransition::Press);
        EXPECT_EQ(Type(1150, 0x41, 0x01E, KeyTransition::Repeat), KeyEventVerdict::Swallow);
        Type(1200, 0x41, 0x01E, KeyTransition::Repeat);
        Type(1300, 0x41, 0x01E, KeyTransition::Release);
        EXPECT_EQ(Type(1350, 0xAD, 0x120, KeyTransition::Press), KeyEventVerdict::PassOn);
        EXPECT_EQ(Type(1400, 0x2C, 0x137, KeyTransition::Press), KeyEventVerdict::Swallow);
        Type(1500, 0x2C, 0x137, KeyTransition::Release);
        EXPECT_EQ(Type(1600, 0x1B, 0x001, KeyTransition::Press), KeyEventVerdict::Swallow);
        Type(1650, 0x1B, 0x001, KeyTransition::Release);
        recorder_.ToggleRecording();
    }

    RecorderObserver observer_;
    MacroEditor editor_;
    int64_t now_ = 0;
    MacroRecorder recorder_;
};

TEST_F(MacroRecorderTest, WithDelaysOffEveryRowButTheLastWaits50Ms) {
    UseRecordDelay("0");
    SelectMacroWithRows(0);
    TypeSequence();
    const std::vector<MacroAction> expected{
        {50, 0x01E, kDown}, {50, 0x01E, kUp},   {50, 0x137, kDown},
        {50, 0x137, kUp},   {50, 0x001, kDown}, {0, 0x001, kUp},
    };
    EXPECT_EQ(Rows(), expected);
    EXPECT_EQ(observer_.changes, (std::vector<bool>{true, false}));
}

TEST_F(MacroRecorderTest, WithDelaysOnTheMeasuredGapsAreKept) {
    UseRecordDelay("1");
    SelectMacroWithRows(0);
    TypeSequence();
    // Print Screen's press goes in with delay 2, which the row before it takes; the press then
    // takes the gap since A's release.
    const std::vector<MacroAction> expected{
        {200, 0x01E, kDown}, {2, 0x01E, kUp},    {200, 0x137, kDown},
        {100, 0x137, kUp},   {50, 0x001, kDown}, {0, 0x001, kUp},
    };
    EXPECT_EQ(Rows(), expected);
}

TEST_F(MacroRecorderTest, RecordingIntoRowsFollowsTheSelectedRow) {
    UseRecordDelay("1");
    SelectMacroWithRows(3);  // delays 10, 20, 30
    editor_.SelectAction(0);
    now_ = 5000;
    recorder_.ToggleRecording();
    Type(5400, 0x42, 0x030, KeyTransition::Press);
    ASSERT_EQ(Rows().size(), 4U);
    EXPECT_EQ(Rows()[0].delayMs, 400) << "the time since the start";
    EXPECT_EQ(Rows()[1], (MacroAction{10, 0x030, kDown}));
    EXPECT_EQ(editor_.Actions().Selected(), 1);
    recorder_.StopRecording();
    EXPECT_EQ(Type(5500, 0x42, 0x030, KeyTransition::Release), KeyEventVerdict::PassOn);
    EXPECT_EQ(Rows().size(), 4U);
}

TEST_F(MacroRecorderTest, TheRecordDelaySettingIsNormalisedAndToggled) {
    settings_.WriteProfileString("PROFILES", "Record delays", "7");
    EXPECT_EQ(recorder_.LoadRecordDelay(), kRecordDelayOff);
    EXPECT_EQ(settings_.ReadProfileString("PROFILES", "Record delays"), "0");
    EXPECT_EQ(recorder_.ToggleRecordDelay(), kRecordDelayOn);
    EXPECT_EQ(settings_.ReadProfileString("PROFILES", "Record delays"), "1");
    EXPECT_EQ(recorder_.ToggleRecordDelay(), kRecordDelayOff);
    EXPECT_EQ(recorder_.RecordDelay(), kRecordDelayOff);
}

}  // namespace
}  // namespace qx::keyassign
