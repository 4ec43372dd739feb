// Key entries of buttons, the writes of assignments and the assignment built from the key
// assignment window's choice.
#include "keyassign/assignment.h"

#include <gtest/gtest.h>

#include "keyassign/assignment_choice.h"
#include "keyassign/key_location.h"
#include "keyboard/key_buttons.h"
#include "tests/keyassign/keyassign_fixture.h"

namespace qx::keyassign {
namespace {

using testing::KeyAssignTest;

constexpr int kEntryA = 0x1E;
constexpr int kGKey1Bank0 = 256;
constexpr int kGKey3Bank1 = 267;

TEST(LocateKeyEntry, GivesTheKeysTableIndexOrTheGKeyEntryOfTheBank) {
    EXPECT_EQ(LocateKeyEntry(1058, 0), (KeyEntryLocation{0x1E, false}));  // A
    EXPECT_EQ(LocateKeyEntry(1095, 1), (KeyEntryLocation{0xC7, false}));  // Home 0x147
    EXPECT_EQ(LocateKeyEntry(1087, 0), (KeyEntryLocation{0xDC, false}));  // Right Win 0x15C
    EXPECT_EQ(LocateKeyEntry(1000, 0), (KeyEntryLocation{256, false}));   // G1
    EXPECT_EQ(LocateKeyEntry(1002, 1), (KeyEntryLocation{267, false}));   // G3, bank 1
    EXPECT_EQ(LocateKeyEntry(1143, 0), (KeyEntryLocation{264, true}));    // G9: macro-only id
    EXPECT_EQ(LocateKeyEntry(1143, 1), (KeyEntryLocation{273, true}));
    EXPECT_EQ(LocateKeyEntry(1140, 7), (KeyEntryLocation{270, false}));  // any bank but 0
    EXPECT_FALSE(LocateKeyEntry(1174, 0));  // the Fn button has no entry
    EXPECT_FALSE(LocateKeyEntry(1, 0));
    EXPECT_FALSE(LocateKeyEntry(-1, 0));
}

TEST(GCodes, BelongToTheEighteenGKeyEntriesOnly) {
    EXPECT_EQ(GCodeOfEntry(256), 0x301);
    EXPECT_EQ(GCodeOfEntry(264), 0x309);
    EXPECT_EQ(GCodeOfEntry(265), 0x1301);
    EXPECT_EQ(GCodeOfEntry(273), 0x1309);
    EXPECT_EQ(GCodeOfEntry(255), 0);
    EXPECT_EQ(GCodeOfEntry(274), 0);
    EXPECT_EQ(GCodeOfEntry(-1), 0);
}

using EntryWrites = KeyAssignTest;

TEST_F(EntryWrites, SetAssignmentWritesBytesZeroToSevenOnly) {
    keyboard::KeyEntryRef entry = MutableEntry(1, kEntryA);
    entry.SetColourSwitch(1);
    const keyboard::ImageGuard guard = keyboard::Images().LockImage();
    guard->image->Bytes()[keyboard::KeyEntryOffset(1, kEntryA) + 12] = 0xAB;

    ASSERT_TRUE(SetAssignment(AbsoluteEntryIndex(1, kEntryA), kKindKey, 0, 0x030));
    EXPECT_EQ(entry.Kind(), kKindKey);
    EXPECT_EQ(entry.Value(), 0x030u);
    EXPECT_EQ(entry.ColourSwitch(), 1u);
    EXPECT_EQ(guard->image->Bytes()[keyboard::KeyEntryOffset(1, kEntryA) + 12], 0xAB);
    EXPECT_EQ(ReadAssignment(AbsoluteEntryIndex(1, kEntryA)), (Assignment{kKindKey, 0, 0x030}));
}

TEST_F(EntryWrites, RefuseEntriesOutsideTheKeyAreaAndAReleasedImage) {
    EXPECT_FALSE(SetAssignment(-1, kKindKey, 0, 1));
    EXPECT_FALSE(SetAssignment(keyboard::kKeyEntryCount, kKindKey, 0, 1));
    EXPECT_FALSE(ReleaseEntryText(keyboard::kKeyEntryCount));
    EXPECT_FALSE(ReadAssignment(-1));
    keyboard::Images().LockImage()->image.reset();
    EXPECT_FALSE(SetAssignment(0, kKindKey, 0, 1));
    EXPECT_FALSE(ReadAssignment(0));
}

TEST_F(EntryWrites, ReleaseEntryTextLowersTheTotalByTheTextsLength) {
    {
        const keyboard::ImageGuard guard = keyboard::Images().LockImage();
        guard->texts.Set(700, u"notepad");  // 16 bytes
        guard->texts.Set(5, u"x");          // 4 bytes
    }
    ASSERT_TRUE(ReleaseEntryText(700));
    const keyboard::ImageGuard guard = keyboard::Images().LockImage();
    EXPECT_FALSE(guard->texts.HasText(700));
    EXPECT_EQ(guard->TextTotal(), 4u);
}

// ---- Building an assignment from the window's choice ----------------------------------------

AssignmentChoice TypedKey(keyboard::KeyCode code) {
    AssignmentChoice choice;
    choice.kind = kKindKey;
    choice.capturedKey = code;
    return choice;
}

TEST(BuildAssignment, TypedKeyIsKindTwoUnlessNoneOrTheKeyItself) {
    EXPECT_EQ(BuildAssignment(TypedKey(0x030), kEntryA), (Assignment{kKindKey, 0, 0x030}));
    EXPECT_EQ(BuildAssignment(TypedKey(0x01E), kEntryA), (Assignment{kKindDefault, 0, 0}));
    EXPECT_EQ(BuildAssignment(TypedKey(keyboard::kNoKey), kEntryA),
              (Assignment{kKindDefault, 0, 0}));
    // Home (0x147) sits at entry 0xC7: assigning it to itself is the default too.
    EXPECT_EQ(BuildAssignment(TypedKey(0x147), 0xC7), (Assignment{kKindDefault, 0, 0}));
    EXPECT_EQ(BuildAssignment(TypedKey(0x047), 0xC7), (Assignment{kKindKey, 0, 0x047}));
}

TEST(BuildAssignment, GKeyEntriesCarryTheirGCodeForEveryKindButMacro) {
    EXPECT_EQ(BuildAssignment(TypedKey(0x030), kGKey3Bank1), (Assignment{kKindKey, 0x1303, 0x030}));
    EXPECT_EQ(BuildAssignment(TypedKey(0), kGKey1Bank0), (Assignment{kKindDefault, 0x301, 0}));

    AssignmentChoice media;
    media.kind = kKindMultimedia;
    media.listRow = 7;
    EXPECT_EQ(BuildAssignment(media, kGKey1Bank0), (Assignment{kKindMultimedia, 0x301, 7}));

    AssignmentChoice macro;
    macro.kind = kKindMacro;
    macro.macroId = 5;
    macro.repeatCount = 12;
    EXPECT_EQ(BuildAssignment(macro, kGKey1Bank0), (Assignment{kKindMacro, 12, 5}));

    for (const uint16_t kind :
         std::initializer_list<uint16_t>{kKindDefault, kKindDisabled, kKindStopMacro}) {
        AssignmentChoice kept;
        kept.kind = kind;
        EXPECT_EQ(BuildAssignment(kept, kGKey3Bank1), (Assignment{kind, 0x1303, 0}));
        EXPECT_EQ(BuildAssignment(kept, kEntryA), (Assignment{kind, 0, 0}));
    }
}

TEST(BuildAssignment, MouseRowsGiveTheMouseCodesAndNoRowGivesZero) {
    AssignmentChoice mouse;
    mouse.kind = kKindKey;
    mouse.mouseChoice = true;
    mouse.capturedKey = 0x030;  // ignored with the mouse choice
    const keyboard::KeyCode codes[] = {0x171, 0x172, 0x173, 0x161, 0x162};
    for (int row = 0; row < kMouseListRows; ++row) {
        mouse.mouseRow = row;
        EXPECT_EQ(BuildAssignment(mouse, kEntryA), (Assignment{kKindKey, 0, codes[row]}));
    }
    mouse.mouseRow = kNoListRow;
    EXPECT_EQ(BuildAssignment(mouse, kEntryA), (Assignment{kKindKey, 0, 0}));
    mouse.mouseRow = 5;
    EXPECT_EQ(BuildAssignment(mouse, kEntryA), (Assignment{kKindKey, 0, 0}));
}

TEST(BuildAssignment, MacroNeedsMacrosAndHoldsItsCountInRange) {
    AssignmentChoice macro;
    macro.kind = kKindMacro;
    macro.macroId = 0;  // nothing selected: the next apply of the list gives it the first macro
    EXPECT_EQ(BuildAssignment(macro, kEntryA), (Assignment{kKindMacro, 1, 0}));
    macro.repeatCount = 0;
    EXPECT_EQ(BuildAssignment(macro, kEntryA)->parameter, 1);
    macro.repeatCount = 300;
    EXPECT_EQ(BuildAssignment(macro, kEntryA)->parameter, 255);
    macro.noMacros = true;
    EXPECT_EQ(BuildAssignment(macro, kEntryA), (Assignment{kKindDefault, 0, 0}));
    EXPECT_EQ(BuildAssignment(macro, kGKey1Bank0), (Assignment{kKindDefault, 0x301, 0}));
}

TEST(BuildAssignment, ListRowsOutsideTheListCountAsTheFirstRow) {
    AssignmentChoice function;
    function.kind = kKindFunction;
    function.listRow = 10;
    EXPECT_EQ(BuildAssignment(function, kEntryA), (Assignment{kKindFunction, 0, 10}));
    function.listRow = 11;
    EXPECT_EQ(BuildAssignment(function, kEntryA), (Assignment{kKindFunction, 0, 0}));
    AssignmentChoice media;
    media.kind = kKindMultimedia;
    media.listRow = kNoListRow;
    EXPECT_EQ(BuildAssignment(media, kEntryA), (Assignment{kKindMultimedia, 0, 0}));
}

TEST(BuildAssignment, TextCarryingAndUnknownKindsWithoutAChoiceStayAsTheyAre) {
    for (const uint16_t kind : std::initializer_list<uint16_t>{kKindLaunch, kKindText, 9, 0xFFFF}) {
        AssignmentChoice choice;
        choice.kind = kind;
        EXPECT_FALSE(BuildAssignment(choice, kEntryA)) << kind;
    }
}

using WriteAssignment = KeyAssignTest;

TEST_F(WriteAssignment, ReleasesTheEntrysTextAndKeepsBytesEightToFifteen) {
    keyboard::KeyEntryRef entry = MutableEntry(2, kEntryA);
    entry.SetKind(kKindLaunch);
    entry.SetColourSwitch(1);
    keyboard::Images().LockImage()->texts.Set(AbsoluteEntryIndex(2, kEntryA), u"calc");

    ASSERT_TRUE(WriteKeyAssignment(2, kEntryA, Assignment{kKindKey, 0, 0x030}));
    EXPECT_EQ(entry.Kind(), kKindKey);
    EXPECT_EQ(entry.ColourSwitch(), 1u);
    EXPECT_EQ(keyboard::Images().LockImage()->TextTotal(), 0u);
}

TEST_F(WriteAssignment, KeepsTextCarryingEntriesWhenNothingWasChosen) {
    keyboard::KeyEntryRef entry = MutableEntry(0, kEntryA);
    entry.SetKind(kKindText);
    entry.SetValue(0x40);
    keyboard::Images().LockImage()->texts.Set(kEntryA, u"hello");
    AssignmentChoice unchanged;
    unchanged.kind = kKindText;

    EXPECT_FALSE(WriteKeyAssignment(0, kEntryA, BuildAssignment(unchanged, kEntryA)));
    EXPECT_EQ(entry.Kind(), kKindText);
    EXPECT_EQ(entry.Value(), 0x40u);
    EXPECT_EQ(keyboard::Images().LockImage()->texts.Text(kEntryA), u"hello");
}

TEST_F(WriteAssignment, RefusesAnUnknownProfileAndEntriesOutsideTheBlock) {
    const Assignment key{kKindKey, 0, 0x030};
    EXPECT_FALSE(WriteKeyAssignment(-1, kEntryA, key));
    EXPECT_FALSE(WriteKeyAssignment(3, kEntryA, key));  // block 3 is no onboard profile
    EXPECT_FALSE(WriteKeyAssignment(0, 512, key));
    EXPECT_FALSE(WriteKeyAssignment(0, -1, key));
    for (int block = 0; block < keyboard::kBlockCount; ++block) {
        EXPECT_EQ(Entry(block, kEntryA).Kind(), kKindDefault);
    }
}

}  // namespace
}  // namespace qx::keyassign
