// The assignment the key assignment window writes when it applies: built from the page the user
// is on and what is chosen there, for one entry of the current profile's block.
//
//   typed key          kind 2, value the key code; kind 0 when no key was typed or the key is the
//                      entry's own key (a key assigned to itself keeps its function)
//   mouse action       kind 2, value the mouse code of the row (0 without a row)
//   macro              kind 4, parameter the repeat count 1..255, value the macro id (0 when none
//                      is selected: the next apply of the macro list gives it the first macro);
//                      kind 0 when there are no macros
//   multimedia         kind 7, value the list row 0..17
//   keyboard function  kind 8, value the list row 0..10
//   no choice made     kinds 0, 1 and 5 keep their kind, value 0
//
// Every kind but 4 carries the entry's G code in its parameter on a G-key entry (0 elsewhere).
//
// An entry of kind 3 or 6 applied without a new choice keeps everything, its text included: the
// window can neither show nor edit such a text, and writing value 0 would leave a text-carrying
// kind without its text. Kinds the program does not know are kept the same way.
#pragma once

#include <cstdint>
#include <optional>

#include "keyassign/assignment.h"
#include "keyboard/key_code.h"

namespace qx::keyassign {

inline constexpr int kNoListRow = -1;
inline constexpr int kMouseListRows = 5;  // keyboard::kMouseCodes, picker numbers 106..110

struct AssignmentChoice {
    // The page's kind: 2, 4, 7 or 8, or the entry's own kind when no page was chosen.
    uint16_t kind = kKindDefault;
    // Kind 2: the mouse choice instead of the keyboard choice.
    bool mouseChoice = false;
    keyboard::KeyCode capturedKey = keyboard::kNoKey;  // kind 2, keyboard choice
    int mouseRow = kNoListRow;                         // kind 2, mouse choice: 0..4
    // Kind 4: the id of the selected macro (0: none), the count box's number, and whether the
    // macro list is empty.
    uint16_t macroId = 0;
    int repeatCount = 1;
    bool noMacros = false;
    int listRow = 0;  // kinds 7 and 8: the list's selected row
};

// The assignment for entry `entryIndex` (0..511 of a block); nothing when the entry is to stay
// as it is (kinds 3, 6 and unknown kinds without a new choice). A row outside its list counts as
// row 0 for kinds 7 and 8 and as no row for the mouse list; a repeat count is held to 1..255.
std::optional<Assignment> BuildAssignment(const AssignmentChoice& choice, int entryIndex);

// Under the image lock: releases the text of the entry `entryIndex` of `profile`'s block and
// writes the assignment into bytes 0..7. Nothing for an empty assignment (the entry stays).
// False when nothing was written: no assignment, a profile outside 0..2, an index outside 0..511
// or no image.
bool WriteKeyAssignment(int profile, int entryIndex, const std::optional<Assignment>& assignment);

}  // namespace qx::keyassign
