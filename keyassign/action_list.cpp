#include "keyassign/action_list.h"

#include <algorithm>

namespace qx::keyassign {
namespace {

bool IsRow(const std::vector<ActionRow>& rows, int row) {
    return row >= 0 && row < static_cast<int>(rows.size());
}

int TargetOf(RowMove move, int row, int count) {
    switch (move) {
        case RowMove::Top:
            return 0;
        case RowMove::Up:
            return std::max(row - 1, 0);
        case RowMove::Down:
            return std::min(row + 1, count - 1);
        case RowMove::Bottom:
            return count - 1;
    }
    return row;
}

}  // namespace

void ActionList::Clear() {
    rows_.clear();
    selected_ = kNoRow;
}

void ActionList::Load(const keyboard::MacroRecord& record) {
    Clear();
    const int count = record.UsableActionCount();
    rows_.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        rows_.push_back(ActionRow{record.Action(i), true});
    }
}

void ActionList::Store(keyboard::MacroRecord& record) const {
    for (int i = 0; i < keyboard::kMaxMacroActions; ++i) {
        // Slots past the last row are cleared, so a record holds no actions it no longer plays.
        record.SetAction(
            i, i < Count() ? rows_[static_cast<std::size_t>(i)].action : keyboard::MacroAction{});
    }
    record.SetActionCount(static_cast<uint16_t>(Count()));
}

bool ActionList::Select(int row) {
    if (row != kNoRow && !IsRow(rows_, row)) {
        return false;
    }
    selected_ = row;
    return true;
}

std::optional<int> ActionList::Insert(const keyboard::MacroAction& action, bool recording,
                                      bool afterSelection) {
    if (IsFull()) {
        return std::nullopt;
    }
    ActionRow row{action, recording};
    if (row.action.action > keyboard::kMacroRelease) {
        row.action.action = keyboard::kMacroPress;
    }
    const int position = afterSelection && selected_ != kNoRow ? selected_ + 1 : Count();
    if (position > 0) {
        keyboard::MacroAction& before = rows_[static_cast<std::size_t>(position - 1)].action;
        row.action.delayMs = before.delayMs;
        before.delayMs = action.delayMs;
    } else {
        row.action.delayMs = 0;
    }
    rows_.insert(rows_.begin() + position, row);
    if (recording) {
        selected_ = position;
    }
    return position;
}

std::optional<int> ActionList::DeleteSelected() {
    if (selected_ == kNoRow) {
        return std::nullopt;
    }
    const int removed = selected_;
    rows_.erase(rows_.begin() + removed);
    selected_ = rows_.empty() ? kNoRow : std::min(removed, Count() - 1);
    return removed;
}

std::optional<ActionList::Move> ActionList::MoveSelected(RowMove move) {
    if (selected_ == kNoRow) {
        return std::nullopt;
    }
    const int from = selected_;
    const int to = TargetOf(move, from, Count());
    if (to == from) {
        return std::nullopt;
    }
    const ActionRow row = rows_[static_cast<std::size_t>(from)];
    rows_.erase(rows_.begin() + from);
    rows_.insert(rows_.begin() + to, row);
    selected_ = to;
    return Move{from, to};
}

bool ActionList::SetKeyCode(int row, keyboard::KeyCode code) {
    if (!IsRow(rows_, row)) {
        return false;
    }
    rows_[static_cast<std::size_t>(row)].action.keyCode = code;
    return true;
}

bool ActionList::SetAction(int row, uint16_t action) {
    if (!IsRow(rows_, row)) {
        return false;
    }
    rows_[static_cast<std::size_t>(row)].action.action = action;
    return true;
}

bool ActionList::SetDelay(int row, int32_t delayMs) {
    if (!IsRow(rows_, row)) {
        return false;
    }
    rows_[static_cast<std::size_t>(row)].action.delayMs = delayMs;
    return true;
}

}  // namespace qx::keyassign
