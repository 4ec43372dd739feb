// The rows of the macro editor's action list: the actions of the selected macro while it is being
// edited, with the selected row. A row's delay is the gap after its action, so inserting a row
// between two others hands delays on to keep every gap where it was (see Insert).
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "keyboard/macro_record.h"

namespace qx::keyassign {

inline constexpr int kNoRow = -1;

struct ActionRow {
    keyboard::MacroAction action;
    bool greyCells = false;  // the key and action cells are drawn on the grey-text colour
    friend bool operator==(const ActionRow&, const ActionRow&) = default;
};

enum class RowMove { Top, Up, Down, Bottom };

class ActionList {
  public:
    int Count() const { return static_cast<int>(rows_.size()); }
    bool IsFull() const { return Count() >= keyboard::kMaxMacroActions; }
    const ActionRow& Row(int row) const { return rows_.at(static_cast<std::size_t>(row)); }
    const std::vector<ActionRow>& Rows() const { return rows_; }
    int Selected() const { return selected_; }

    // Every row removed, none selected.
    void Clear();
    // The record's actions (at most 2000) as rows with grey cells, none selected.
    void Load(const keyboard::MacroRecord& record);
    // The rows as the record's actions and action count.
    void Store(keyboard::MacroRecord& record) const;

    // Selects a row (kNoRow: none). False for a row that does not exist.
    bool Select(int row);

    // Inserts an action at the end, or after the selected row when `afterSelection` is asked
    // and a row is selected. An action above 1 is taken as a press. The row before the new one
    // takes the new action's delay and the new row the delay that row had; a new first row gets
    // delay 0. A recorded row gets grey cells and becomes the selected row, so the next recorded
    // action follows it. The new row's index; nothing when the list holds 2000 rows.
    std::optional<int> Insert(const keyboard::MacroAction& action, bool recording,
                              bool afterSelection);

    // Removes the selected row with its delay; the next row (or the previous one when it was
    // the last) becomes selected. The removed index; nothing without a selection.
    std::optional<int> DeleteSelected();

    // Moves the selected row one place up or down, or to the first or last place; it stays
    // selected. {from, to}; nothing without a selection or when the row is already there.
    struct Move {
        int from;
        int to;
    };
    std::optional<Move> MoveSelected(RowMove move);

    // In-place edits of one row; false (nothing changed) for a row that does not exist.
    bool SetKeyCode(int row, keyboard::KeyCode code);
    bool SetAction(int row, uint16_t action);
    bool SetDelay(int row, int32_t delayMs);

  private:
    std::vector<ActionRow> rows_;
    int selected_ = kNoRow;
};

}  // namespace qx::keyassign
