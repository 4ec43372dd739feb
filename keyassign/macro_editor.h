// The macro editor of the key assignment window, without widgets: the macro list (the window's
// working copy of the applied macros), the selected macro, the action list of that macro, the
// count box, and the apply that installs the list as the macro area and settles the key entries
// that play macros.
//
// One editor lives as long as the program; the window loads the list when it opens, applies it on
// Apply and OK, and clears it when it closes (Cancel discards every edit since the last apply).
// The name counter survives between openings.
//
// Everything runs on the user-interface thread. The macro area and the key entries are read and
// written under the image lock, never while an observer is being notified.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "keyassign/action_list.h"
#include "keyassign/edit_observer.h"
#include "keyboard/macro_record.h"

namespace qx::platform {
class Prompt;
}

namespace qx::keyassign {

inline constexpr int kNoMacro = -1;
// The new flag of a macro made in the editor since the last apply.
inline constexpr uint16_t kNewMacroFlag = 1;

// What the editor asks of the rest of the program; tests replace them.
struct MacroEditorServices {
    platform::Prompt* prompt = nullptr;   // null: platform::CurrentPrompt()
    std::function<void()> setRewriteAll;  // empty: device::SetRewriteAll
};

class MacroEditor {
  public:
    explicit MacroEditor(EditObserver& observer = NoEditObserver(),
                         MacroEditorServices services = {});
    MacroEditor(const MacroEditor&) = delete;
    MacroEditor& operator=(const MacroEditor&) = delete;
    ~MacroEditor();

    void SetObserver(EditObserver& observer) { observer_ = &observer; }
    EditObserver& Observer() const { return *observer_; }

    // ---- The macro list -----------------------------------------------------------------------
    // Replaces the list with copies of the macro area's records (under the image lock), their
    // new flags cleared; nothing selected, no rows.
    void LoadMacroList();
    // Frees every record of the list; nothing selected, no rows.
    void ClearMacroList();

    int MacroCount() const { return static_cast<int>(macros_.size()); }
    const keyboard::MacroRecord& MacroAt(int index) const;
    std::string MacroNameAt(int index) const;  // UTF-8
    int SelectedMacro() const { return selected_; }
    int NameCounter() const { return nameCounter_; }
    bool IsSuppressed() const { return suppress_; }

    // Saves the rows into the selected macro, selects `index` (kNoMacro: none) and shows its
    // actions. While the editor itself changes the selector (suppressed) nothing happens: the
    // editor's own selection is already in effect. An index outside the list is ignored.
    void SelectMacro(int index);
    // The macro page opened from a key entry: the macro with that id, or the first one when none
    // has it, is selected and shown.
    void SelectMacroOfId(uint16_t id);

    // Appends a new empty macro and selects it: the smallest free id, repeat count 1, new flag 1,
    // the next default name that is not in use (candidates are tried one after the other without
    // a pause; the list cannot change in between). At 100 macros "MACRO_ERR_MAX" is shown instead.
    void AddMacro();
    // The selector's edit text changed. An empty list gets a first macro of that name (or the
    // next default name for an empty text). Otherwise the selected macro takes the text as its
    // name, or the next default name (not checked again) when the text is empty or in use by
    // another macro. The name is cut to 249 characters. Ignored while nothing is selected.
    void RenameMacro(std::string_view text);
    // Deletes the selected macro after CheckMacroUse; the selection moves to the previous macro
    // (the first when the deleted one was first). Its unsaved row edits are discarded.
    void DeleteMacro();
    // True when the macro may be deleted: a new macro always; otherwise when no key entry (all
    // 2048 except 256) plays it, or the user answers Yes to "MACRO_DELETE_CONFIRM_OF_KEYS". A
    // macro that keys play sets the rewrite-all flag, whatever the answer.
    bool CheckMacroUse(const keyboard::MacroRecord& macro);

    // The count box and the rows into the record of macro `index`.
    void SaveActions(int index);
    // Refills the rows from the selected macro and sets the count box to its repeat count; no
    // rows without a selection. The action buttons are enabled exactly while a macro is selected.
    void ShowActions();
    bool ActionButtonsEnabled() const { return selected_ != kNoMacro; }

    // ---- The action list ----------------------------------------------------------------------
    const ActionList& Actions() const { return actions_; }
    void SelectAction(int row);
    // Inserts one row (ActionList::Insert); nothing at 2000 rows. The new row's index.
    std::optional<int> InsertAction(const keyboard::MacroAction& action, bool recording,
                                    bool afterSelection);
    void DeleteAction();
    // Asks "MACRO_ACTION_CLEAR_CONFIRM" (Yes/No) and removes every row on Yes; nothing for an
    // empty list.
    void ClearActions();
    void MoveActionTop();
    void MoveActionUp();
    void MoveActionDown();
    void MoveActionBottom();

    // In-place edits (EditActionCell). Key column: picker number 0..110; a number other than the
    // row's own sets the key to KeyCodeOfPicker. Action column: 0 press, 1 release. Delay column:
    // the edited text (ParseDelayEdit); above 40000 "MACRO_ACTION_ERR_DELAY_MAX" is shown. Each
    // returns whether the row changed; the delay edit returns the cell's new text.
    bool SetActionKey(int row, int picker);
    bool SetActionKind(int row, int action);
    std::optional<std::string> EditActionDelay(int row, std::string_view text);

    // ---- The count box ------------------------------------------------------------------------
    // The count box's text changed: normalised (NormaliseCountText); the normalised text.
    std::string SetCountText(std::string_view text);
    const std::string& CountText() const { return countText_; }
    uint8_t RepeatCount() const;

    // ---- Apply --------------------------------------------------------------------------------
    // Saves the selected macro's rows, then settles every kind-4 key entry against the list (an
    // id of 0 takes the first macro's id; an id no macro has, or one of a new macro, makes the
    // entry kind 0 with its other fields kept; each change sets pending changes), clears the
    // list's new flags and installs copies of the list as the macro area. The window ends any
    // cell edit and stops a recording before. False when memory for the new area ran out: then
    // the macro area and the key entries are untouched.
    bool ApplyMacroList();

  private:
    class Suppress;

    keyboard::MacroRecord* Selected();
    bool NameInUse(std::string_view name, int exceptIndex) const;
    std::string NextDefaultName();
    uint16_t SmallestFreeId() const;
    std::unique_ptr<keyboard::MacroRecord> NewRecord(std::string_view name) const;
    void ShowCount(const std::string& text);
    void MoveAction(RowMove move);
    platform::Prompt& Prompt() const;

    EditObserver* observer_;
    MacroEditorServices services_;
    std::vector<std::unique_ptr<keyboard::MacroRecord>> macros_;
    int selected_ = kNoMacro;
    int nameCounter_ = 0;
    bool suppress_ = false;
    ActionList actions_;
    std::string countText_ = "1";
};

}  // namespace qx::keyassign
