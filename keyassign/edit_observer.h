// What the key assignment and macro models tell the windows. Every change a model makes reports
// MarkModified (the key assignment window then enables its Apply button) and, when the change
// touched the configuration image, SetPendingChanges (the main window then enables its own Apply).
// The list notifications let the macro selector and the action list redraw only what changed.
//
// Notifications arrive on the thread that called the model (the user-interface thread) and never
// while the model holds the image lock. A model that notifies the macro list sets its suppress
// flag first, so a selector that reports its own programmatic selection back through
// MacroEditor::SelectMacro changes nothing.
#pragma once

#include <string>

namespace qx::keyassign {

class EditObserver {
  public:
    virtual ~EditObserver() = default;

    // The key assignment window holds changes that are not applied yet.
    virtual void MarkModified() {}
    // The configuration image holds changes that the keyboard does not have yet.
    virtual void SetPendingChanges() {}

    // The macro list changed: names, order, count or the selected macro.
    virtual void MacroListChanged() {}

    // The action list was refilled (all rows replaced, or emptied).
    virtual void ActionRowsReset() {}
    // A row was inserted at `row`; rows after it moved down by one.
    virtual void ActionRowInserted(int row) { static_cast<void>(row); }
    // The row at `row` was removed; rows after it moved up by one.
    virtual void ActionRowRemoved(int row) { static_cast<void>(row); }
    // The row at `from` now sits at `to`; the rows in between shifted by one.
    virtual void ActionRowMoved(int from, int to) {
        static_cast<void>(from);
        static_cast<void>(to);
    }
    // The texts of the row at `row` changed.
    virtual void ActionRowChanged(int row) { static_cast<void>(row); }
    // The selected row changed (kNoRow: none); a view scrolls it into view.
    virtual void ActionSelectionChanged(int row) { static_cast<void>(row); }
    // The count box shows another text.
    virtual void CountTextChanged(const std::string& text) { static_cast<void>(text); }
    // The seven action buttons (record, delete, clear, top, up, down, bottom) are enabled or not.
    virtual void ActionButtonsEnabled(bool enabled) { static_cast<void>(enabled); }
    // A macro recording started or stopped (MacroRecorder): the record button's caption, tooltip
    // and marked flag follow, and the add, delete and selector controls are disabled while it runs.
    virtual void RecordingChanged(bool recording) { static_cast<void>(recording); }
};

// An observer that ignores everything.
inline EditObserver& NoEditObserver() {
    static EditObserver observer;
    return observer;
}

}  // namespace qx::keyassign
