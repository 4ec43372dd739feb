// Apply of the key assignment window (also the first step of OK), without its widgets: the macro
// list becomes the macro area, the assignment chosen on the window's page is written into the
// edited entry, every key button is given its hint again and pending changes are set. The window
// ends cell edits and stops a recording before, and clears its own modified state after.
#pragma once

#include "keyassign/assignment_choice.h"
#include "keyassign/edit_observer.h"
#include "keyassign/key_hints.h"
#include "keyassign/key_location.h"
#include "keyassign/macro_editor.h"

namespace qx::keyassign {

// `choice` holds the page's kind and its choice (typed key or mouse row, list row); for a macro
// the editor supplies the selected macro's id (MacroIdAt of the selected index, after the macro
// list was applied), the count box's number and whether there are macros. `entryIndex` is the
// edited entry in the block of `selection`'s profile. True when the entry was written (false:
// kept as it was, or an unknown profile).
bool ApplyKeyAssignment(MacroEditor& editor, AssignmentChoice choice,
                        const BlockSelection& selection, int entryIndex, KeyButtonView& view,
                        EditObserver& observer);

}  // namespace qx::keyassign
