#include "keyassign/key_assignment_apply.h"

#include "profiles/macro_area.h"

namespace qx::keyassign {

bool ApplyKeyAssignment(MacroEditor& editor, AssignmentChoice choice,
                        const BlockSelection& selection, int entryIndex, KeyButtonView& view,
                        EditObserver& observer) {
    editor.ApplyMacroList();
    if (choice.kind == kKindMacro) {
        choice.macroId = profiles::MacroIdAt(editor.SelectedMacro());
        choice.repeatCount = editor.RepeatCount();
        choice.noMacros = editor.MacroCount() == 0;
    }
    const bool written =
        selection.IsKnown() &&
        WriteKeyAssignment(selection.profile, entryIndex, BuildAssignment(choice, entryIndex));
    RefreshKeyHints(view, selection);
    observer.SetPendingChanges();
    return written;
}

}  // namespace qx::keyassign
