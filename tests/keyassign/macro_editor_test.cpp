// The macro editor: adding, naming, selecting and deleting macros, the editing of their actions,
// and the apply that installs the list and settles the keys that play macros.
#include "keyassign/macro_editor.h"

#include <gtest/gtest.h>

#include "device/transfer/image_transfer.h"
#include "device/transfer/key_action_layout.h"
#include "keyassign/action_texts.h"
#include "keyassign/key_assignment_apply.h"
#include "profiles/macro_area.h"
#include "sim/keyboard_memory.h"
#include "tests/keyassign/keyassign_fixture.h"
#include "tests/support/emulated_keyboard.h"

namespace qx::keyassign {
namespace {

using keyboard::MacroAction;
using platform::testing::ScriptedPrompt;

constexpr int kEntryA = 0x1E;
constexpr int kEntryB = 0x30;

class MacroEditorTest : public testing::KeyAssignTest {
  protected:
    MacroEditorTest() : editor_(observer_, {&prompt_, [this] { ++rewriteAll_; }}) {}

    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        names.reserve(static_cast<std::size_t>(editor_.MacroCount()));
        for (int i = 0; i < editor_.MacroCount(); ++i) {
            names.push_back(editor_.MacroNameAt(i));
        }
        return names;
    }
    std::vector<uint16_t> AreaIds() const {
        std::vector<uint16_t> ids;
        for (const auto& macro : keyboard::Images().LockImage()->macros) {
            ids.push_back(macro.Id());
        }
        return ids;
    }
    // Gives entry `index` of `profile` the macro `id` with repeat count 4 and a colour switch.
    void AssignMacro(int profile, int index, uint32_t id) {
        keyboard::KeyEntryRef entry = MutableEntry(profile, index);
        entry.SetKind(kKindMacro);
        entry.SetParameter(4);
        entry.SetValue(id);
        entry.SetColourSwitch(1);
    }

    testing::RecordingObserver observer_;
    int rewriteAll_ = 0;
    MacroEditor editor_;
};

// ---- Adding and naming ------------------------------------------------------------------------

TEST_F(MacroEditorTest, AddMakesANewEmptySelectedMacroWithTheNextFreeIdAndName) {
    InstallMacros({Macro(1, "Open"), Macro(2, "Close"), Macro(4, "Save")});
    editor_.LoadMacroList();
    editor_.SelectMacro(0);
    observer_.modified = 0;

    editor_.AddMacro();

    ASSERT_EQ(editor_.MacroCount(), 4);
    const keyboard::MacroRecord& added = editor_.MacroAt(3);
    EXPECT_EQ(added.Id(), 3);
    EXPECT_EQ(editor_.MacroNameAt(3), "Macro1");
    EXPECT_EQ(added.RepeatCount(), 1);
    EXPECT_EQ(added.NewFlag(), 1);
    EXPECT_EQ(added.ActionCount(), 0);
    EXPECT_EQ(editor_.SelectedMacro(), 3);
    EXPECT_EQ(editor_.CountText(), "1");
    EXPECT_TRUE(editor_.ActionButtonsEnabled());
    EXPECT_GE(observer_.modified, 1);
    EXPECT_EQ(editor_.NameCounter(), 1);
}

TEST_F(MacroEditorTest, NameCounterRestartsAtOneOnAnEmptyList) {
    editor_.LoadMacroList();
    editor_.AddMacro();
    editor_.AddMacro();
    editor_.AddMacro();
    EXPECT_EQ(Names(), (std::vector<std::string>{"Macro1", "Macro2", "Macro3"}));
    while (editor_.MacroCount() > 0) {
        editor_.DeleteMacro();  // new macros: deleted without a question
    }
    EXPECT_TRUE(Questions().empty());
    editor_.AddMacro();
    EXPECT_EQ(Names(), (std::vector<std::string>{"Macro1"}));
    editor_.AddMacro();
    EXPECT_EQ(Names(), (std::vector<std::string>{"Macro1", "Macro2"}));
}

TEST_F(MacroEditorTest, ANameThatBeginsWithTheCandidateMakesItTaken) {
    InstallMacros({Macro(1, "Macro10")});
    editor_.LoadMacroList();
    editor_.AddMacro();
    EXPECT_EQ(editor_.MacroNameAt(1), "Macro2");  // "Macro1" is the beginning of "Macro10"

    // Without regard to case, and across the whole list.
    MacroEditor fresh(observer_, {&prompt_, [] {}});
    InstallMacros({Macro(1, "MACRO1x"), Macro(2, "macro2"), Macro(3, "Other")});
    fresh.LoadMacroList();
    fresh.AddMacro();
    EXPECT_EQ(fresh.MacroNameAt(3), "Macro3");
}

TEST_F(MacroEditorTest, AHundredthMacroIsTheLastWithAMessage) {
    std::vector<keyboard::MacroRecord> macros;
    for (uint16_t id = 1; id <= 99; ++id) {
        macros.push_back(Macro(id, ("Mine" + std::to_string(id)).c_str()));
    }
    InstallMacros(std::move(macros));
    editor_.LoadMacroList();
    editor_.AddMacro();
    EXPECT_EQ(editor_.MacroCount(), 100);
    EXPECT_EQ(editor_.MacroAt(99).Id(), 100);
    EXPECT_TRUE(Messages().empty());

    editor_.AddMacro();
    EXPECT_EQ(editor_.MacroCount(), 100);
    EXPECT_EQ(Messages(), (std::vector<std::string>{"At most 100 macros"}));
}

TEST_F(MacroEditorTest, TypingIntoAnEmptySelectorMakesTheFirstMacro) {
    editor_.LoadMacroList();
    editor_.RenameMacro("Jump");
    ASSERT_EQ(editor_.MacroCount(), 1);
    EXPECT_EQ(editor_.MacroNameAt(0), "Jump");
    EXPECT_EQ(editor_.MacroAt(0).Id(), 1);
    EXPECT_EQ(editor_.MacroAt(0).NewFlag(), 1);
    EXPECT_EQ(editor_.SelectedMacro(), 0);

    editor_.DeleteMacro();
    editor_.RenameMacro("");
    EXPECT_EQ(Names(), (std::vector<std::string>{"Macro1"}));
}

TEST_F(MacroEditorTest, RenameReplacesEmptyAndTakenNamesByTheNextDefaultName) {
    InstallMacros({Macro(1, "Reload"), Macro(2, "Fire")});
    editor_.LoadMacroList();
    editor_.SelectMacro(1);

    editor_.RenameMacro("Fire at will");  // the macro's own old name does not count
    EXPECT_EQ(editor_.MacroNameAt(1), "Fire at will");
    editor_.RenameMacro("re");  // "Reload" begins with it, case aside
    EXPECT_EQ(editor_.MacroNameAt(1), "Macro1");
    editor_.RenameMacro("");
    EXPECT_EQ(editor_.MacroNameAt(1), "Macro2");
    editor_.RenameMacro(std::string(300, 'n'));
    EXPECT_EQ(editor_.MacroNameAt(1), std::string(249, 'n'));
    EXPECT_EQ(editor_.MacroNameAt(0), "Reload");
}

TEST_F(MacroEditorTest, RenameWithoutASelectionWaitsForOne) {
    InstallMacros({Macro(1, "Reload")});
    editor_.LoadMacroList();
    editor_.RenameMacro("Other");
    EXPECT_EQ(Names(), (std::vector<std::string>{"Reload"}));
}

// ---- Selecting and editing actions --------------------------------------------------------------

TEST_F(MacroEditorTest, SelectingAnotherMacroSavesTheRowsAndCountOfTheFirst) {
    InstallMacros({Macro(1, "One", 3), Macro(2, "Two", 5)});
    editor_.LoadMacroList();
    EXPECT_FALSE(editor_.ActionButtonsEnabled());
    editor_.SelectMacro(0);
    EXPECT_EQ(editor_.Actions().Count(), 3);
    editor_.SelectAction(2);
    editor_.DeleteAction();
    editor_.SetCountText("42");

    editor_.SelectMacro(1);
    EXPECT_EQ(editor_.Actions().Count(), 5);
    EXPECT_EQ(editor_.CountText(), "1");
    EXPECT_EQ(editor_.MacroAt(0).ActionCount(), 2);
    EXPECT_EQ(editor_.MacroAt(0).RepeatCount(), 42);

    editor_.SelectMacro(0);
    EXPECT_EQ(editor_.CountText(), "42");
    EXPECT_EQ(observer_.countText, "42");
}

TEST_F(MacroEditorTest, SelectionEchoedDuringTheEditorsOwnChangesIsIgnored) {
    // A selector that reports every change of its selection back, as a widget would.
    struct EchoingObserver : testing::RecordingObserver {
        MacroEditor* editor = nullptr;
        void MacroListChanged() override {
            RecordingObserver::MacroListChanged();
            echoed = editor->IsSuppressed();
            editor->SelectMacro(0);
        }
        bool echoed = false;
    } echo;
    MacroEditor editor(echo, {&prompt_, [] {}});
    echo.editor = &editor;
    InstallMacros({Macro(1, "One", 3)});
    editor.LoadMacroList();
    editor.AddMacro();

    EXPECT_TRUE(echo.echoed);
    EXPECT_EQ(editor.SelectedMacro(), 1);
    EXPECT_EQ(editor.Actions().Count(), 0);
    EXPECT_EQ(editor.MacroAt(1).ActionCount(), 0);
    EXPECT_FALSE(editor.IsSuppressed());
}

TEST_F(MacroEditorTest, OpeningFromAnEntrySelectsItsMacroOrTheFirst) {
    InstallMacros({Macro(5, "Five", 1), Macro(7, "Seven", 2)});
    editor_.LoadMacroList();
    editor_.SelectMacroOfId(7);
    EXPECT_EQ(editor_.SelectedMacro(), 1);
    editor_.SelectMacroOfId(0);
    EXPECT_EQ(editor_.SelectedMacro(), 0);
    editor_.SelectMacroOfId(9);
    EXPECT_EQ(editor_.SelectedMacro(), 0);

    InstallMacros({});
    editor_.LoadMacroList();
    editor_.SelectMacroOfId(7);
    EXPECT_EQ(editor_.SelectedMacro(), kNoMacro);
}

TEST_F(MacroEditorTest, ActionsNeedASelectedMacro) {
    editor_.LoadMacroList();
    EXPECT_FALSE(editor_.InsertAction(MacroAction{10, 0x1E, 0}, true, true));
    editor_.AddMacro();
    EXPECT_EQ(editor_.InsertAction(MacroAction{10, 0x1E, 0}, true, true), 0);
}

TEST_F(MacroEditorTest, DelayCellRoundsCutsWithAMessageAndKeepsOnEmpty) {
    InstallMacros({Macro(1, "One", 2)});
    editor_.LoadMacroList();
    editor_.SelectMacro(0);

    EXPECT_EQ(editor_.EditActionDelay(0, "12345"), "12340");
    EXPECT_EQ(editor_.Actions().Row(0).action.delayMs, 12340);
    EXPECT_TRUE(Messages().empty());

    EXPECT_EQ(editor_.EditActionDelay(1, "50000"), "40000");
    EXPECT_EQ(editor_.Actions().Row(1).action.delayMs, 40000);
    EXPECT_EQ(Messages(), (std::vector<std::string>{"At most 40000 ms"}));

    EXPECT_FALSE(editor_.EditActionDelay(0, ""));
    EXPECT_EQ(editor_.Actions().Row(0).action.delayMs, 12340);
    EXPECT_FALSE(editor_.EditActionDelay(5, "10"));
}

TEST_F(MacroEditorTest, KeyAndActionCellsChangeOnlyForAnotherChoice) {
    InstallMacros({Macro(1, "One", 1)});  // row 0: key A (picker 0), press
    editor_.LoadMacroList();
    editor_.SelectMacro(0);
    observer_.modified = 0;

    EXPECT_FALSE(editor_.SetActionKey(0, 0));
    EXPECT_EQ(observer_.modified, 0);
    EXPECT_TRUE(editor_.SetActionKey(0, 103));  // Right Shift: the first row, 0x036
    EXPECT_EQ(editor_.Actions().Row(0).action.keyCode, 0x036);
    EXPECT_TRUE(editor_.SetActionKey(0, 106));  // left mouse button
    EXPECT_EQ(editor_.Actions().Row(0).action.keyCode, 0x171);
    EXPECT_FALSE(editor_.SetActionKey(0, 111));
    EXPECT_FALSE(editor_.SetActionKey(0, -1));

    EXPECT_FALSE(editor_.SetActionKind(0, 0));
    EXPECT_TRUE(editor_.SetActionKind(0, 1));
    EXPECT_FALSE(editor_.SetActionKind(0, 2));
    EXPECT_EQ(editor_.Actions().Row(0).action.action, 1);
    EXPECT_EQ(observer_.modified, 3);
}

TEST_F(MacroEditorTest, RowTextsAndTheKeyPickerUseTheLanguagesKeyNames) {
    EXPECT_EQ(ActionRowTexts(MacroAction{120, 0x171, 1}),
              (std::array<std::string, 3>{"Left Button", "  \xE2\x86\x91", "120"}));
    EXPECT_EQ(ActionRowTexts(MacroAction{0, 0x064, 0})[0], "Key 0064");  // F13: no language key
    const std::vector<std::string> items = KeyPickerItems();
    ASSERT_EQ(items.size(), 111u);
    EXPECT_EQ(items[0], "A");
    EXPECT_EQ(items[1], "B");
    EXPECT_EQ(items[37], "Esc");
    EXPECT_EQ(items[106], "Left Button");
}

TEST_F(MacroEditorTest, ClearActionsAsksFirstAndNotForAnEmptyList) {
    InstallMacros({Macro(1, "One", 4), Macro(2, "Empty")});
    editor_.LoadMacroList();
    editor_.SelectMacro(1);
    editor_.ClearActions();
    EXPECT_TRUE(Questions().empty());

    editor_.SelectMacro(0);
    prompt_.QueueYesNo(false);
    editor_.ClearActions();
    EXPECT_EQ(editor_.Actions().Count(), 4);
    prompt_.QueueYesNo(true);
    editor_.ClearActions();
    EXPECT_EQ(editor_.Actions().Count(), 0);
    ASSERT_EQ(Questions().size(), 2u);
    EXPECT_EQ(Questions()[0].kind, ScriptedPrompt::Kind::YesNo);
    EXPECT_EQ(Questions()[0].text, "Remove all actions?");
}

// ---- Deleting
// -------------------------------------------------------------------------------------

TEST_F(MacroEditorTest, DeletingAnUnusedMacroAsksNothing) {
    InstallMacros({Macro(1, "One"), Macro(2, "Two"), Macro(3, "Three")});
    AssignMacro(0, kEntryA, 1);
    editor_.LoadMacroList();
    editor_.SelectMacro(2);
    editor_.DeleteMacro();
    EXPECT_TRUE(Questions().empty());
    EXPECT_EQ(rewriteAll_, 0);
    EXPECT_EQ(Names(), (std::vector<std::string>{"One", "Two"}));
    EXPECT_EQ(editor_.SelectedMacro(), 1);  // the previous one

    editor_.SelectMacro(0);
    prompt_.QueueYesNo(true);
    editor_.DeleteMacro();  // the first: the selection stays at index 0
    EXPECT_EQ(editor_.SelectedMacro(), 0);
    EXPECT_EQ(Names(), (std::vector<std::string>{"Two"}));
}

TEST_F(MacroEditorTest, DeletingAUsedMacroAsksAndNoKeepsIt) {
    InstallMacros({Macro(1, "One"), Macro(2, "Two")});
    AssignMacro(2, 300, 0x00000002);  // a key of profile 2: every profile is searched
    editor_.LoadMacroList();
    editor_.SelectMacro(1);

    prompt_.QueueYesNo(false);
    editor_.DeleteMacro();
    EXPECT_EQ(editor_.MacroCount(), 2);
    EXPECT_EQ(rewriteAll_, 1);  // set whatever the answer
    ASSERT_EQ(Questions().size(), 1u);
    EXPECT_EQ(Questions()[0].text, "Keys play this macro");

    prompt_.QueueYesNo(true);
    editor_.DeleteMacro();
    EXPECT_EQ(Names(), (std::vector<std::string>{"One"}));
    EXPECT_EQ(rewriteAll_, 2);
}

TEST_F(MacroEditorTest, TheDeleteCheckPassesOverEntry256AndOtherKinds) {
    InstallMacros({Macro(1, "One")});
    AssignMacro(0, 256, 1);
    keyboard::KeyEntryRef other = MutableEntry(1, kEntryA);
    other.SetKind(kKindKey);
    other.SetValue(1);
    editor_.LoadMacroList();
    editor_.SelectMacro(0);
    editor_.DeleteMacro();
    EXPECT_TRUE(Questions().empty());
    EXPECT_EQ(editor_.MacroCount(), 0);
}

TEST_F(MacroEditorTest, ADeletedMacroInUseSetsTheTransfersRewriteAllFlag) {
    MacroEditor editor(observer_, {&prompt_, {}});
    InstallMacros({Macro(1, "One")});
    AssignMacro(1, kEntryA, 1);
    editor.LoadMacroList();
    editor.SelectMacro(0);
    editor.DeleteMacro();  // no answer queued: No
    EXPECT_TRUE(device::IsRewriteAllSet());
    EXPECT_EQ(editor.MacroCount(), 1);
}

// ---- Apply
// ----------------------------------------------------------------------------------------

TEST_F(MacroEditorTest, ANewMacroThatTakesADeletedIdDoesNotInheritItsKeys) {
    InstallMacros({Macro(1, "One"), Macro(2, "Two"), Macro(3, "Three")});
    AssignMacro(0, kEntryA, 3);
    AssignMacro(2, kEntryB, 3);
    AssignMacro(1, kEntryA, 2);
    editor_.LoadMacroList();
    editor_.SelectMacro(2);
    prompt_.QueueYesNo(true);
    editor_.DeleteMacro();
    editor_.AddMacro();
    ASSERT_EQ(editor_.MacroAt(2).Id(), 3);
    observer_.pending = 0;

    ASSERT_TRUE(editor_.ApplyMacroList());

    for (const auto& [profile, index] : {std::pair{0, kEntryA}, std::pair{2, kEntryB}}) {
        const keyboard::ConstKeyEntryRef entry = Entry(profile, index);
        EXPECT_EQ(entry.Kind(), kKindDefault);
        EXPECT_EQ(entry.Parameter(), 4);  // the other fields stay as they were
        EXPECT_EQ(entry.Value(), 3u);
        EXPECT_EQ(entry.ColourSwitch(), 1u);
    }
    EXPECT_EQ(Entry(1, kEntryA).Kind(), kKindMacro);
    EXPECT_EQ(observer_.pending, 1);
    EXPECT_EQ(AreaIds(), (std::vector<uint16_t>{1, 2, 3}));
    EXPECT_EQ(keyboard::Images().LockImage()->macros[2].NewFlag(), 0);
    EXPECT_EQ(editor_.MacroAt(2).NewFlag(), 0);

    // Once applied, the new macro 3 is an ordinary macro: keys may play it.
    AssignMacro(0, kEntryA, 3);
    observer_.pending = 0;
    ASSERT_TRUE(editor_.ApplyMacroList());
    EXPECT_EQ(Entry(0, kEntryA).Kind(), kKindMacro);
    EXPECT_EQ(observer_.pending, 0);
}

TEST_F(MacroEditorTest, ApplyGivesIdZeroTheFirstMacroOrTheDefaultWithoutMacros) {
    InstallMacros({Macro(8, "Eight"), Macro(2, "Two")});
    AssignMacro(0, kEntryA, 0);
    AssignMacro(3, kEntryB, 5);  // block 3 is settled too
    editor_.LoadMacroList();
    ASSERT_TRUE(editor_.ApplyMacroList());
    EXPECT_EQ(Entry(0, kEntryA).Kind(), kKindMacro);
    EXPECT_EQ(Entry(0, kEntryA).Value(), 8u);
    EXPECT_EQ(Entry(3, kEntryB).Kind(), kKindDefault);

    AssignMacro(0, kEntryA, 0);
    editor_.ClearMacroList();
    ASSERT_TRUE(editor_.ApplyMacroList());
    EXPECT_EQ(Entry(0, kEntryA).Kind(), kKindDefault);
    EXPECT_TRUE(keyboard::Images().LockImage()->macros.empty());
}

TEST_F(MacroEditorTest, ApplyInstallsTheSavedRowsAndCountInListOrder) {
    InstallMacros({Macro(4, "Four", 2)});
    editor_.LoadMacroList();
    editor_.AddMacro();
    editor_.InsertAction(MacroAction{30, 0x1E, 0}, true, true);
    editor_.InsertAction(MacroAction{40, 0x1E, 1}, true, true);
    editor_.SetCountText("9");
    ASSERT_TRUE(editor_.ApplyMacroList());

    const keyboard::ImageGuard guard = keyboard::Images().LockImage();
    ASSERT_EQ(guard->macros.size(), 2u);
    EXPECT_EQ(guard->macros[0].Id(), 4);
    const keyboard::MacroRecord& added = guard->macros[1];
    EXPECT_EQ(added.Id(), 1);
    EXPECT_EQ(added.RepeatCount(), 9);
    EXPECT_EQ(added.ActionCount(), 2);
    EXPECT_EQ(added.Action(0), (MacroAction{40, 0x1E, 0}));
    EXPECT_EQ(added.Action(1), (MacroAction{0, 0x1E, 1}));
    EXPECT_EQ(profiles::MacroIdAt(1), 1);
    EXPECT_EQ(profiles::MacroIndexOfId(4), 0);
}

TEST_F(MacroEditorTest, AppliedMacrosLoadBackThroughAProfileFileUnchanged) {
    InstallMacros({Macro(2, "Two", 3)});
    editor_.LoadMacroList();
    editor_.AddMacro();
    editor_.RenameMacro("D\xC3\xA9j\xC3\xA0 vu \xF0\x9F\x98\x80");
    for (int i = 0; i < 40; ++i) {
        editor_.InsertAction(MacroAction{i * 10, 0x171, static_cast<uint16_t>(i % 2)}, true, true);
    }
    editor_.SetCountText("255");
    ASSERT_TRUE(editor_.ApplyMacroList());
    const std::vector<keyboard::MacroRecord> applied = keyboard::Images().LockImage()->macros;

    const std::string path = folder_.File("macros.kpf");
    ASSERT_TRUE(profiles::SaveImageToFile(path));
    keyboard::Images().Reset();
    ASSERT_EQ(profiles::LoadImageFromFile(path), 1);

    const std::vector<keyboard::MacroRecord> loaded = keyboard::Images().LockImage()->macros;
    ASSERT_EQ(loaded.size(), applied.size());
    for (std::size_t i = 0; i < loaded.size(); ++i) {
        EXPECT_TRUE(std::equal(loaded[i].Bytes().begin(), loaded[i].Bytes().end(),
                               applied[i].Bytes().begin()))
            << i;
    }
    editor_.LoadMacroList();
    EXPECT_EQ(editor_.MacroNameAt(1), "D\xC3\xA9j\xC3\xA0 vu \xF0\x9F\x98\x80");
    EXPECT_EQ(editor_.MacroAt(1).ActionCount(), 40);
}

TEST_F(MacroEditorTest, LoadingTheListClearsNewFlagsAndTakesCopies) {
    keyboard::MacroRecord flagged = Macro(1, "One");
    flagged.SetNewFlag(1);
    InstallMacros({flagged});
    editor_.LoadMacroList();
    EXPECT_EQ(editor_.MacroAt(0).NewFlag(), 0);
    editor_.SelectMacro(0);
    editor_.RenameMacro("Changed");
    EXPECT_EQ(keyboard::Images().LockImage()->macros[0].Name(), u"One");  // until applied
    editor_.ClearMacroList();
    EXPECT_EQ(editor_.MacroCount(), 0);
    EXPECT_EQ(editor_.SelectedMacro(), kNoMacro);
}

// The keyboard plays a macro key by the macro's position in its table.
class MacroApplyOnKeyboardTest : public MacroEditorTest {
  protected:
    static constexpr std::size_t kPositionOfA = 19;  // 02 02 04 in the default layout

    int Download(bool allProfiles) {
        kb_.ClearTrace();
        const keyboard::ImageGuard guard = keyboard::Images().LockImage();
        return device::SnapshotAndDownload(
                   guard, allProfiles,
                   {kb_.Commands(), profile_, sim::kMacroUnitSize * sim::kFactoryMacroUnits,
                    device::kBuiltInDefaultLayout})
            .result;
    }
    device::KeyAction ActionOfAOnKeyboard(int profile) const {
        const std::vector<uint8_t> layout = kb_.Model().Read(
            sim::Area::kProfileLayouts, device::kKeyLayoutSize * profile, device::kKeyLayoutSize);
        return device::ActionAt(std::span<const uint8_t, device::kKeyLayoutSize>(layout),
                                kPositionOfA);
    }
    long LayoutWrites() const {
        const auto sent = kb_.CommandsSent();
        return std::count_if(sent.begin(), sent.end(), [](const device::Packet& p) {
            return p[device::kCommandOffset] == 8;
        });
    }

    mutable test_support::EmulatedKeyboard kb_;
    device::CurrentProfileCache profile_{&kb_.Commands()};  // the keyboard's is 0
};

TEST_F(MacroApplyOnKeyboardTest, DeletingAnUnusedMacroRewritesTheOtherProfilesMacroKeys) {
    InstallMacros({Macro(1, "A"), Macro(2, "B"), Macro(3, "C")});
    AssignMacro(1, kEntryA, 3);
    ASSERT_EQ(Download(true), 1);
    ASSERT_EQ(ActionOfAOnKeyboard(1), (device::KeyAction{5, 1, 2}));

    // Editing profile 0: B, which no key plays, goes without a question; C moves to 1.
    editor_.LoadMacroList();
    editor_.SelectMacro(1);
    editor_.DeleteMacro();
    ASSERT_TRUE(Questions().empty());
    ASSERT_TRUE(editor_.ApplyMacroList());
    ASSERT_EQ(Download(false), 1);
    EXPECT_EQ(ActionOfAOnKeyboard(1), (device::KeyAction{5, 1, 1}));
    EXPECT_EQ(LayoutWrites(), 18);

    // A macro added at the end moves none: Apply writes the current profile alone.
    editor_.AddMacro();
    ASSERT_TRUE(editor_.ApplyMacroList());
    ASSERT_EQ(Download(false), 1);
    EXPECT_EQ(LayoutWrites(), 6);
    EXPECT_EQ(ActionOfAOnKeyboard(1), (device::KeyAction{5, 1, 1}));
}

// ---- Apply of the key assignment window
// ------------------------------------------------------------

TEST_F(MacroEditorTest, ApplyingAMacroToAGKeyHoldsTheRepeatCountAndAssignsTheSelectedMacro) {
    InstallMacros({Macro(6, "Six"), Macro(9, "Nine")});
    editor_.LoadMacroList();
    editor_.SelectMacro(1);
    editor_.SetCountText("3");
    testing::RecordingKeyView view;
    AssignmentChoice choice;
    choice.kind = kKindMacro;

    ASSERT_TRUE(ApplyKeyAssignment(editor_, choice, BlockSelection{0, 1}, 266, view, observer_));
    const keyboard::ConstKeyEntryRef entry = Entry(0, 266);
    EXPECT_EQ(entry.Kind(), kKindMacro);
    EXPECT_EQ(entry.Parameter(), 3);
    EXPECT_EQ(entry.Value(), 9u);
    EXPECT_EQ(view.hints[1001].tooltip, "G2 set to macro Nine)");
    EXPECT_GE(observer_.pending, 1);

    editor_.ClearMacroList();  // the user deleted every macro
    ASSERT_TRUE(ApplyKeyAssignment(editor_, choice, BlockSelection{0, 1}, 266, view, observer_));
    EXPECT_EQ(Entry(0, 266).Kind(), kKindDefault);
    EXPECT_EQ(Entry(0, 266).Parameter(), 0x1302);

    AssignmentChoice media;
    media.kind = kKindMultimedia;
    media.listRow = 7;
    ASSERT_TRUE(ApplyKeyAssignment(editor_, media, BlockSelection{0, 1}, 266, view, observer_));
    EXPECT_EQ(Entry(0, 266).Parameter(), 0x1302);
    EXPECT_EQ(view.hints[1001].tooltip, "G2 set to media Mute)");
}

}  // namespace
}  // namespace qx::keyassign
