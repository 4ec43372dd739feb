// The marked flags and tooltips of the key buttons, their refresh over the current block, and
// the reset of the current block's assignments.
#include "keyassign/key_hints.h"

#include <gtest/gtest.h>

#include "keyassign/assignment.h"
#include "keyboard/key_buttons.h"
#include "tests/keyassign/keyassign_fixture.h"

namespace qx::keyassign {
namespace {

using testing::KeyAssignTest;
using testing::RecordingKeyView;

constexpr int kEntryA = 0x1E;
constexpr int kButtonA = 1058;
constexpr int kButtonG1 = 1000;
constexpr int kButtonG9 = 1143;

class KeyHints : public KeyAssignTest {
  protected:
    // The hint of key A after giving its profile-0 entry this assignment.
    KeyHint HintOfA(uint16_t kind, uint32_t value) {
        keyboard::KeyEntryRef entry = MutableEntry(0, kEntryA);
        entry.SetKind(kind);
        entry.SetValue(value);
        return BuildKeyHint(0x01E, Entry(0, kEntryA));
    }
};

TEST_F(KeyHints, DefaultAssignmentShowsTheNameAloneUnmarked) {
    EXPECT_EQ(HintOfA(kKindDefault, 0x030), (KeyHint{false, "A"}));
}

TEST_F(KeyHints, DescribeEachKindAfterTheSetText) {
    EXPECT_EQ(HintOfA(kKindKey, 0x030), (KeyHint{true, "A set to key B)"}));
    EXPECT_EQ(HintOfA(kKindKey, 0x171), (KeyHint{true, "A set to key Left Button)"}));
    EXPECT_EQ(HintOfA(kKindMultimedia, 7), (KeyHint{true, "A set to media Mute)"}));
    EXPECT_EQ(HintOfA(kKindFunction, 0), (KeyHint{true, "A set to function Lights)"}));
    EXPECT_EQ(HintOfA(kKindFunction, 10), (KeyHint{true, "A set to function Lock)"}));
    for (const uint16_t kind :
         std::initializer_list<uint16_t>{kKindDisabled, kKindLaunch, kKindStopMacro, kKindText}) {
        EXPECT_EQ(HintOfA(kind, 3), (KeyHint{true, "A set"})) << kind;
    }
}

TEST_F(KeyHints, NameTheMacroOfTheIdOrNothingWhenNoneHasIt) {
    InstallMacros({Macro(3, "Combo"), Macro(9, "Reload")});
    EXPECT_EQ(HintOfA(kKindMacro, 9), (KeyHint{true, "A set to macro Reload)"}));
    EXPECT_EQ(HintOfA(kKindMacro, 0x00010003), (KeyHint{true, "A set to macro Combo)"}));
    EXPECT_EQ(HintOfA(kKindMacro, 4), (KeyHint{true, "A set to macro )"}));
}

TEST_F(KeyHints, ShowTheHeadingAloneForIndexesOutsideTheirLists) {
    EXPECT_EQ(HintOfA(kKindMultimedia, 18), (KeyHint{true, "A set"}));
    EXPECT_EQ(HintOfA(kKindMultimedia, 0xFFFFFFFF), (KeyHint{true, "A set"}));
    EXPECT_EQ(HintOfA(kKindFunction, 11), (KeyHint{true, "A set"}));
    EXPECT_EQ(HintOfA(uint16_t{42}, 1), (KeyHint{true, "A set"}));
}

TEST_F(KeyHints, AreCutAt259Characters) {
    InstallMacros({Macro(1, std::string(249, 'm').c_str())});
    const KeyHint hint = HintOfA(kKindMacro, 1);
    EXPECT_EQ(hint.tooltip.size(), kTooltipMaxChars);
    EXPECT_EQ(hint.tooltip.substr(0, 15), "A set to macro ");

    // Cut in UTF-16 units, never inside a character.
    InstallMacros({Macro(1, (std::string(243, 'm') + "\xF0\x9F\x98\x80").c_str())});
    const std::string cut = HintOfA(kKindMacro, 1).tooltip;
    EXPECT_EQ(platform::Utf16Length(cut), 258u);  // 15 + 243: the pair needs two more units
}

TEST_F(KeyHints, GKeysAreNamedG1ToG9InBothBanks) {
    const BlockSelection selections[] = {{0, 0}, {0, 1}};
    for (const BlockSelection& selection : selections) {
        RecordingKeyView view;
        RefreshKeyHints(view, selection);
        for (int g = 0; g < keyboard::kGKeyButtonCount; ++g) {
            EXPECT_EQ(view.hints[keyboard::kGKeyButtonIds[g]].tooltip, "G" + std::to_string(g + 1))
                << "bank " << selection.gKeyBank;
        }
    }
    keyboard::KeyEntryRef g9 = MutableEntry(0, 273);
    g9.SetKind(kKindMultimedia);
    g9.SetValue(7);
    EXPECT_EQ(BuildGKeyHint(8, Entry(0, 273)), (KeyHint{true, "G9 set to media Mute)"}));
}

TEST_F(KeyHints, RefreshShowsTheCurrentBlockAndBankInTheViewsOrder) {
    MutableEntry(1, kEntryA).SetKind(kKindDisabled);
    MutableEntry(1, 265).SetKind(kKindDisabled);  // G1 in bank 1
    MutableEntry(0, 256).SetKind(kKindDisabled);  // G1 in bank 0 of another profile

    RecordingKeyView view;
    RefreshKeyButtons(view, BlockSelection{1, 1});
    ASSERT_EQ(view.order.size(), 9u + 107u);
    EXPECT_EQ(view.order.front(), kButtonG1);
    EXPECT_EQ(view.order[8], kButtonG9);
    EXPECT_EQ(view.order[9], kButtonA);  // the first key button
    EXPECT_TRUE(view.hints[kButtonA].marked);
    EXPECT_TRUE(view.hints[kButtonG1].marked);
    EXPECT_EQ(view.flips, 1);

    RecordingKeyView bank0;
    RefreshKeyHints(bank0, BlockSelection{1, 0});
    EXPECT_FALSE(bank0.hints[kButtonG1].marked);
    EXPECT_EQ(bank0.flips, 0);
}

TEST_F(KeyHints, UnknownProfileShowsEveryButtonUnassigned) {
    MutableEntry(0, kEntryA).SetKind(kKindDisabled);
    RecordingKeyView view;
    RefreshKeyHints(view, BlockSelection{-1, 0});
    ASSERT_EQ(view.hints.size(), 116u);
    EXPECT_EQ(view.hints[kButtonA], (KeyHint{false, "A"}));
    EXPECT_EQ(view.hints[kButtonG9], (KeyHint{false, "G9"}));
}

using ResetAssignments = KeyAssignTest;

TEST_F(ResetAssignments, ClearsTheCurrentBankAndProfileOnlyAndSetsPendingChanges) {
    // Every entry of every block gets an assignment and a colour switch.
    for (int block = 0; block < keyboard::kBlockCount; ++block) {
        for (int index = 0; index < keyboard::kEntriesPerBlock; ++index) {
            keyboard::KeyEntryRef entry = MutableEntry(block, index);
            entry.SetKind(kKindDisabled);
            entry.SetParameter(7);
            entry.SetColourSwitch(1);
        }
    }
    keyboard::Images().LockImage()->texts.Set(AbsoluteEntryIndex(2, kEntryA), u"calc");
    RecordingKeyView view;
    testing::RecordingObserver observer;

    ASSERT_TRUE(ResetKeyAssignments(view, BlockSelection{2, 1}, observer));

    EXPECT_EQ(observer.pending, 1);
    EXPECT_EQ(view.hints.size(), 116u);
    EXPECT_EQ(view.hints[kButtonA], (KeyHint{false, "A"}));
    int cleared = 0;
    for (int block = 0; block < keyboard::kBlockCount; ++block) {
        for (int index = 0; index < keyboard::kEntriesPerBlock; ++index) {
            const keyboard::ConstKeyEntryRef entry = Entry(block, index);
            const bool zero =
                entry.Kind() == 0 && entry.Parameter() == 0 && entry.ColourSwitch() == 0;
            cleared += zero ? 1 : 0;
            if (block != 2 || (index >= 256 && index < 265)) {
                EXPECT_FALSE(zero) << block << ":" << index;  // other profiles, bank 0
            }
        }
    }
    EXPECT_EQ(cleared, 107 + 9);
    EXPECT_TRUE(Entry(2, 265).Bytes()[8] == 0 && Entry(2, 273).Kind() == 0);
    // Texts are not released by a reset.
    EXPECT_EQ(keyboard::Images().LockImage()->TextTotal(), 10u);
}

TEST_F(ResetAssignments, DoesNothingWithAnUnknownProfile) {
    MutableEntry(0, kEntryA).SetKind(kKindDisabled);
    RecordingKeyView view;
    testing::RecordingObserver observer;
    EXPECT_FALSE(ResetKeyAssignments(view, BlockSelection{-1, 0}, observer));
    EXPECT_EQ(Entry(0, kEntryA).Kind(), kKindDisabled);
    EXPECT_EQ(observer.pending, 0);
    EXPECT_TRUE(view.hints.empty());
}

}  // namespace
}  // namespace qx::keyassign
