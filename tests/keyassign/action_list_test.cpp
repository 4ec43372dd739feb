// The action list's rows: where an inserted action goes and how delays move with it, the row
// limit, deletes and moves; and the two typed fields, the delay cell and the count box.
#include "keyassign/action_list.h"

#include <gtest/gtest.h>

#include "keyassign/action_texts.h"

namespace qx::keyassign {
namespace {

using keyboard::MacroAction;

// A list of `count` rows with delays 100, 200, ... and key codes 1, 2, ...
ActionList ListOf(int count) {
    ActionList list;
    for (int i = 0; i < count; ++i) {
        list.Insert(MacroAction{0, static_cast<keyboard::KeyCode>(i + 1), 0}, false, false);
    }
    for (int i = 0; i < count; ++i) {
        list.SetDelay(i, 100 * (i + 1));
    }
    return list;
}

std::vector<int32_t> Delays(const ActionList& list) {
    std::vector<int32_t> delays;
    for (const ActionRow& row : list.Rows()) {
        delays.push_back(row.action.delayMs);
    }
    return delays;
}

TEST(InsertAction, KeepsTheGapsBetweenNeighbouringActions) {
    ActionList list = ListOf(5);
    ASSERT_TRUE(list.Select(2));
    const std::optional<int> row = list.Insert(MacroAction{777, 0x30, 1}, true, true);

    ASSERT_EQ(row, 3);
    // The third row takes the measured delay; the new row the delay the third row had.
    EXPECT_EQ(Delays(list), (std::vector<int32_t>{100, 200, 777, 300, 400, 500}));
    EXPECT_EQ(list.Row(3).action.keyCode, 0x30);
    EXPECT_EQ(list.Selected(), 3);  // the next recorded action follows it
    EXPECT_TRUE(list.Row(3).greyCells);
}

TEST(InsertAction, AFirstRowGetsDelayZeroAndAppendedRowsChainTheirDelays) {
    ActionList list;
    EXPECT_EQ(list.Insert(MacroAction{50, 0x1E, 0}, true, true), 0);
    EXPECT_EQ(list.Insert(MacroAction{60, 0x1E, 1}, true, true), 1);
    EXPECT_EQ(list.Insert(MacroAction{70, 0x30, 0}, true, true), 2);
    EXPECT_EQ(Delays(list), (std::vector<int32_t>{60, 70, 0}));
}

TEST(InsertAction, GoesToTheEndWithoutSelectionOrWhenNotAskedToFollowIt) {
    ActionList list = ListOf(3);
    EXPECT_EQ(list.Insert(MacroAction{5, 0x30, 0}, false, true), 3);  // nothing selected
    EXPECT_EQ(list.Selected(), kNoRow);                               // not recorded
    EXPECT_FALSE(list.Row(3).greyCells);
    list.Select(0);
    EXPECT_EQ(list.Insert(MacroAction{5, 0x30, 0}, true, false), 4);
    EXPECT_EQ(list.Selected(), 4);
}

TEST(InsertAction, TakesActionsAboveOneAsPresses) {
    ActionList list;
    list.Insert(MacroAction{0, 0x1E, 7}, false, false);
    list.Insert(MacroAction{0, 0x1E, 1}, false, false);
    EXPECT_EQ(list.Row(0).action.action, keyboard::kMacroPress);
    EXPECT_EQ(list.Row(1).action.action, keyboard::kMacroRelease);
}

TEST(InsertAction, StopsSilentlyAt2000Rows) {
    ActionList list;
    for (int i = 0; i < keyboard::kMaxMacroActions; ++i) {
        ASSERT_TRUE(list.Insert(MacroAction{10, 0x1E, 0}, true, true));
    }
    const std::vector<int32_t> before = Delays(list);
    EXPECT_FALSE(list.Insert(MacroAction{99, 0x30, 0}, true, true));
    EXPECT_EQ(list.Count(), keyboard::kMaxMacroActions);
    EXPECT_EQ(Delays(list), before);
}

TEST(DeleteAction, RemovesTheSelectedRowWithItsDelayAndSelectsTheNext) {
    ActionList list = ListOf(3);
    EXPECT_FALSE(list.DeleteSelected());
    list.Select(1);
    EXPECT_EQ(list.DeleteSelected(), 1);
    EXPECT_EQ(Delays(list), (std::vector<int32_t>{100, 300}));
    EXPECT_EQ(list.Selected(), 1);
    EXPECT_EQ(list.DeleteSelected(), 1);  // the last row: the previous one is selected
    EXPECT_EQ(list.Selected(), 0);
    EXPECT_EQ(list.DeleteSelected(), 0);
    EXPECT_EQ(list.Selected(), kNoRow);
}

TEST(MoveAction, CarriesTheRowWithItsDelayAndKeepsItSelected) {
    ActionList list = ListOf(6);
    list.Select(5);
    const auto top = list.MoveSelected(RowMove::Top);
    ASSERT_TRUE(top);
    EXPECT_EQ(top->to, 0);
    EXPECT_EQ(list.Selected(), 0);
    EXPECT_EQ(Delays(list), (std::vector<int32_t>{600, 100, 200, 300, 400, 500}));
    EXPECT_FALSE(list.MoveSelected(RowMove::Up));  // already first: nothing changes
    EXPECT_EQ(list.MoveSelected(RowMove::Down)->to, 1);
    EXPECT_EQ(list.MoveSelected(RowMove::Bottom)->to, 5);
    EXPECT_FALSE(list.MoveSelected(RowMove::Down));
    EXPECT_EQ(list.Row(5).action.keyCode, 6);
}

TEST(ActionRecord, StoresRowsAndClearsSlotsPastTheLast) {
    keyboard::MacroRecord record;
    record.SetAction(4, MacroAction{5, 5, 1});
    ActionList list = ListOf(2);
    list.Store(record);
    EXPECT_EQ(record.ActionCount(), 2);
    EXPECT_EQ(record.Action(1), (MacroAction{200, 2, 0}));
    EXPECT_EQ(record.Action(4), MacroAction{});

    ActionList loaded;
    loaded.Load(record);
    EXPECT_EQ(Delays(loaded), (std::vector<int32_t>{100, 200}));
    EXPECT_TRUE(loaded.Row(0).greyCells);
    EXPECT_EQ(loaded.Selected(), kNoRow);

    record.SetActionCount(65535);  // a damaged count reads no more than 2000 actions
    loaded.Load(record);
    EXPECT_EQ(loaded.Count(), keyboard::kMaxMacroActions);
}

TEST(ActionTexts, NameTheActionsWithArrows) {
    EXPECT_EQ(ActionKindText(keyboard::kMacroPress), "\xE2\x86\x93");
    EXPECT_EQ(ActionKindText(keyboard::kMacroRelease), "  \xE2\x86\x91");
    EXPECT_EQ(ActionKindText(2), "\xE2\x86\x93");  // played as a press
    EXPECT_EQ(ActionDelayText(40000), "40000");
}

TEST(DelayEdit, RoundsDownToTenAndCutsAtTheMaximum) {
    EXPECT_EQ(ParseDelayEdit("12345").delayMs, 12340);
    EXPECT_FALSE(ParseDelayEdit("12345").cutToMaximum);
    EXPECT_EQ(ParseDelayEdit("9").delayMs, 0);
    EXPECT_EQ(ParseDelayEdit("40000").delayMs, 40000);
    EXPECT_FALSE(ParseDelayEdit("40000").cutToMaximum);
    EXPECT_EQ(ParseDelayEdit("40001").delayMs, 40000);
    EXPECT_TRUE(ParseDelayEdit("50000").cutToMaximum);
    EXPECT_EQ(ParseDelayEdit("999999999999999999999999").delayMs, 40000);
    EXPECT_EQ(ParseDelayEdit("0007").delayMs, 0);
}

TEST(DelayEdit, LeavesTheDelayForEmptyOrNonDigitText) {
    for (const char* text : {"", "-5", "1e3", " 10", "12a", "\xD9\xA3"}) {
        EXPECT_FALSE(ParseDelayEdit(text).delayMs) << text;
    }
}

TEST(CountBox, HoldsTheRepeatCountToOneTo255) {
    EXPECT_EQ(NormaliseCountText("12"), "12");
    EXPECT_EQ(NormaliseCountText("255"), "255");
    EXPECT_EQ(NormaliseCountText("256"), "255");
    EXPECT_EQ(NormaliseCountText("99999999999999999999"), "255");
    EXPECT_EQ(NormaliseCountText("0"), "1");
    EXPECT_EQ(NormaliseCountText(""), "1");
    EXPECT_EQ(NormaliseCountText("abc"), "1");
    EXPECT_EQ(NormaliseCountText("-3"), "1");
    EXPECT_EQ(RepeatCountOfText("007"), 7);
    EXPECT_EQ(RepeatCountOfText("300"), 255);
    EXPECT_EQ(RepeatCountOfText("x"), 1);
}

}  // namespace
}  // namespace qx::keyassign
