// Long random sequences of editor operations (seeded, so a failure repeats) against the limits
// every state must keep: unique macro ids within 1..100, at most 100 macros and 2000 actions, and
// after every apply no key that plays a macro the macro area lacks.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>

#include "keyassign/assignment.h"
#include "keyassign/macro_editor.h"
#include "tests/keyassign/keyassign_fixture.h"

namespace qx::keyassign {
namespace {

using keyboard::MacroAction;

class EditorProperties : public testing::KeyAssignTest,
                         public ::testing::WithParamInterface<unsigned> {
  protected:
    int Random(int low, int high) { return std::uniform_int_distribution(low, high)(random_); }
    bool Chance(int percent) { return Random(1, 100) <= percent; }

    void Step(MacroEditor& editor) {
        switch (Random(0, 19)) {
            case 0:
            case 1:
            case 2:
                editor.AddMacro();
                break;
            case 3:
                editor.RenameMacro(RandomName());
                break;
            case 4:
                prompt_.QueueYesNo(Chance(50));
                editor.DeleteMacro();
                break;
            case 5:
            case 6:
                editor.SelectMacro(Random(-2, editor.MacroCount()));
                break;
            case 7:
            case 8:
            case 9:
                InsertActions(editor, Chance(3) ? 2100 : 1);  // now and then past the limit
                break;
            case 10:
                editor.SelectAction(Random(-1, editor.Actions().Count()));
                editor.DeleteAction();
                break;
            case 11:
                prompt_.QueueYesNo(Chance(30));
                editor.ClearActions();
                break;
            case 12:
                editor.SelectAction(Random(-1, editor.Actions().Count()));
                MoveRandomly(editor);
                break;
            case 13:
                editor.SetActionKey(Random(-1, editor.Actions().Count()), Random(-1, 112));
                editor.EditActionDelay(Random(-1, editor.Actions().Count()),
                                       std::to_string(Random(0, 60000)));
                break;
            case 14:
                editor.SetCountText(std::to_string(Random(-5, 300)));
                break;
            case 15:
                AssignRandomMacroKey();
                break;
            case 16:
                ApplyAndCheck(editor);
                break;
            case 17:
                if (Chance(20)) {
                    editor.ClearMacroList();
                    editor.LoadMacroList();
                }
                break;
            default:
                editor.SelectMacroOfId(static_cast<uint16_t>(Random(0, 110)));
                break;
        }
        prompt_.Clear();
    }

    std::string RandomName() {
        static const char* const kNames[] = {
            "", "M", "Macro", "macro1", "Fire", "fire at will", "\xC3\x89t\xC3\xA9", "Macro10"};
        if (Chance(5)) {
            return std::string(static_cast<std::size_t>(Random(240, 400)), 'x');
        }
        return kNames[Random(0, 7)];
    }

    void InsertActions(MacroEditor& editor, int count) {
        for (int i = 0; i < count; ++i) {
            const MacroAction action{Random(0, 50000),
                                     static_cast<keyboard::KeyCode>(Random(1, 0x17E)),
                                     static_cast<uint16_t>(Random(0, 3))};
            editor.InsertAction(action, Chance(70), Chance(70));
        }
    }

    static void MoveRandomly(MacroEditor& editor) {
        switch (editor.Actions().Count() % 4) {
            case 0:
                editor.MoveActionTop();
                break;
            case 1:
                editor.MoveActionUp();
                break;
            case 2:
                editor.MoveActionDown();
                break;
            default:
                editor.MoveActionBottom();
                break;
        }
    }

    // A key of any block made to play any id, as the window's apply and profile files can.
    void AssignRandomMacroKey() {
        const int entry = Random(0, keyboard::kKeyEntryCount - 1);
        const uint32_t id = static_cast<uint32_t>(Random(0, 110));
        SetAssignment(entry, kKindMacro, static_cast<uint16_t>(Random(1, 255)), id);
    }

    void ApplyAndCheck(MacroEditor& editor) {
        ASSERT_TRUE(editor.ApplyMacroList());
        const keyboard::ImageGuard guard = keyboard::Images().LockImage();
        std::set<uint16_t> ids;
        for (const keyboard::MacroRecord& macro : guard->macros) {
            ids.insert(macro.Id());
            EXPECT_EQ(macro.NewFlag(), 0);
        }
        for (int entry = 0; entry < keyboard::kKeyEntryCount; ++entry) {
            const keyboard::ConstKeyEntryRef key =
                std::as_const(*guard->image).Entry(entry / 512, entry % 512);
            if (key.Kind() == kKindMacro) {
                EXPECT_TRUE(ids.count(static_cast<uint16_t>(key.Value() & kMacroIdMask)) == 1)
                    << "entry " << entry << " plays macro " << key.Value();
            }
        }
    }

    static void CheckLimits(const MacroEditor& editor) {
        ASSERT_LE(editor.MacroCount(), keyboard::kMaxMacros);
        std::set<uint16_t> ids;
        for (int i = 0; i < editor.MacroCount(); ++i) {
            const keyboard::MacroRecord& macro = editor.MacroAt(i);
            ASSERT_GE(macro.Id(), keyboard::kFirstMacroId);
            ASSERT_LE(macro.Id(), keyboard::kLastMacroId);
            ASSERT_TRUE(ids.insert(macro.Id()).second) << "duplicate id " << macro.Id();
            ASSERT_LE(macro.ActionCount(), keyboard::kMaxMacroActions);
            ASSERT_GE(macro.RepeatCount(), keyboard::kMinRepeatCount);
            ASSERT_LE(macro.Name().size(), keyboard::kMacroNameMaxChars);
        }
        ASSERT_LE(editor.Actions().Count(), keyboard::kMaxMacroActions);
        const int selected = editor.SelectedMacro();
        ASSERT_TRUE(selected == kNoMacro || (selected >= 0 && selected < editor.MacroCount()));
        ASSERT_EQ(editor.ActionButtonsEnabled(), selected != kNoMacro);
        for (const ActionRow& row : editor.Actions().Rows()) {
            ASSERT_LE(row.action.action, keyboard::kMacroRelease);
        }
    }

    std::mt19937 random_{GetParam()};
};

TEST_P(EditorProperties, KeepIdsCountsAndKeysConsistent) {
    MacroEditor editor(NoEditObserver(), {&prompt_, [] {}});
    editor.LoadMacroList();
    constexpr int kSteps = 2500;
    for (int step = 0; step < kSteps; ++step) {
        Step(editor);
        CheckLimits(editor);
        if (HasFatalFailure() || HasFailure()) {
            FAIL() << "seed " << GetParam() << ", step " << step;
        }
    }
    ApplyAndCheck(editor);
}

INSTANTIATE_TEST_SUITE_P(Seeds, EditorProperties, ::testing::Values(1u, 2u, 3u, 20240611u));

}  // namespace
}  // namespace qx::keyassign
