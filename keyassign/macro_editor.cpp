#include "keyassign/macro_editor.h"

#include <algorithm>
#include <climits>
#include <new>
#include <utility>

#include "device/transfer/image_transfer.h"
#include "keyassign/action_texts.h"
#include "keyassign/macro_entries.h"
#include "keyassign/macro_names.h"
#include "keyboard/image_holders.h"
#include "keyboard/key_lookup.h"
#include "keyboard/key_table.h"
#include "lang/language.h"
#include "lang/language_keys.h"
#include "lang/text_format.h"
#include "platform/prompt.h"
#include "platform/unicode_text.h"

namespace qx::keyassign {

// Marks the editor's own changes of the selector, so that the selector reporting them back does
// not select or reload anything.
class MacroEditor::Suppress {
  public:
    explicit Suppress(MacroEditor& editor) : editor_(editor), was_(editor.suppress_) {
        editor_.suppress_ = true;
    }
    ~Suppress() { editor_.suppress_ = was_; }
    Suppress(const Suppress&) = delete;
    Suppress& operator=(const Suppress&) = delete;

  private:
    MacroEditor& editor_;
    bool was_;
};

MacroEditor::MacroEditor(EditObserver& observer, MacroEditorServices services)
    : observer_(&observer), services_(std::move(services)) {}

MacroEditor::~MacroEditor() = default;

platform::Prompt& MacroEditor::Prompt() const {
    return services_.prompt != nullptr ? *services_.prompt : platform::CurrentPrompt();
}

// ---- The macro list --------------------------------------------------------------------------

void MacroEditor::LoadMacroList() {
    macros_.clear();
    try {
        const keyboard::ImageGuard guard = keyboard::Images().LockImage();
        const std::size_t count = std::min<std::size_t>(guard->macros.size(), keyboard::kMaxMacros);
        for (std::size_t i = 0; i < count; ++i) {
            auto copy = std::make_unique<keyboard::MacroRecord>(guard->macros[i]);
            copy->SetNewFlag(0);
            macros_.push_back(std::move(copy));
        }
    } catch (const std::bad_alloc&) {
        // The records copied so far make the list.
    }
    selected_ = kNoMacro;
    ShowActions();
    const Suppress suppress(*this);
    observer_->MacroListChanged();
}

void MacroEditor::ClearMacroList() {
    macros_.clear();
    macros_.shrink_to_fit();
    selected_ = kNoMacro;
    actions_.Clear();
    observer_->ActionRowsReset();
    observer_->ActionButtonsEnabled(false);
    const Suppress suppress(*this);
    observer_->MacroListChanged();
}

const keyboard::MacroRecord& MacroEditor::MacroAt(int index) const {
    return *macros_.at(static_cast<std::size_t>(index));
}

std::string MacroEditor::MacroNameAt(int index) const {
    return platform::Utf16ToUtf8(MacroAt(index).Name());
}

keyboard::MacroRecord* MacroEditor::Selected() {
    return selected_ == kNoMacro ? nullptr : macros_[static_cast<std::size_t>(selected_)].get();
}

void MacroEditor::SelectMacro(int index) {
    if (suppress_ || (index != kNoMacro && (index < 0 || index >= MacroCount()))) {
        return;
    }
    SaveActions(selected_);
    selected_ = index;
    ShowActions();
    const Suppress suppress(*this);
    observer_->MacroListChanged();
}

void MacroEditor::SelectMacroOfId(uint16_t id) {
    if (macros_.empty()) {
        SelectMacro(kNoMacro);
        return;
    }
    const auto found = std::find_if(macros_.begin(), macros_.end(),
                                    [id](const auto& macro) { return macro->Id() == id; });
    SelectMacro(found == macros_.end() ? 0 : static_cast<int>(found - macros_.begin()));
}

bool MacroEditor::NameInUse(std::string_view name, int exceptIndex) const {
    for (int i = 0; i < MacroCount(); ++i) {
        if (i != exceptIndex && BeginsWithIgnoringCase(MacroNameAt(i), name)) {
            return true;
        }
    }
    return false;
}

std::string MacroEditor::NextDefaultName() {
    nameCounter_ = nameCounter_ == INT_MAX ? 1 : nameCounter_ + 1;
    return DefaultMacroName(nameCounter_);
}

uint16_t MacroEditor::SmallestFreeId() const {
    for (uint16_t id = keyboard::kFirstMacroId; id <= keyboard::kLastMacroId; ++id) {
        const bool used = std::any_of(macros_.begin(), macros_.end(),
                                      [id](const auto& macro) { return macro->Id() == id; });
        if (!used) {
            return id;
        }
    }
    return 0;  // not reached: a list below 100 macros always leaves an id free
}

std::unique_ptr<keyboard::MacroRecord> MacroEditor::NewRecord(std::string_view name) const {
    auto record = std::make_unique<keyboard::MacroRecord>();
    record->SetName(StoredMacroName(name));
    record->SetRepeatCount(keyboard::kMinRepeatCount);
    record->SetNewFlag(kNewMacroFlag);
    record->SetId(SmallestFreeId());
    return record;
}

void MacroEditor::AddMacro() {
    if (MacroCount() >= keyboard::kMaxMacros) {
        Prompt().ShowMessage(
            lang::FormatText(lang::LangText(lang::kMacroErrMax), {keyboard::kMaxMacros}));
        return;
    }
    if (macros_.empty()) {
        nameCounter_ = 0;
    }
    // Each candidate a name begins with is taken; there are only finitely many such prefixes.
    std::string name = NextDefaultName();
    while (NameInUse(name, kNoMacro)) {
        name = NextDefaultName();
    }
    try {
        auto record = NewRecord(name);
        macros_.reserve(macros_.size() + 1);
        SaveActions(selected_);
        macros_.push_back(std::move(record));
    } catch (const std::bad_alloc&) {
        return;
    }
    selected_ = MacroCount() - 1;
    ShowActions();
    observer_->MarkModified();
    const Suppress suppress(*this);
    observer_->MacroListChanged();
}

void MacroEditor::RenameMacro(std::string_view text) {
    if (macros_.empty()) {
        // The first macro made by typing a name counts as added to an empty list.
        nameCounter_ = 0;
        const std::string name = text.empty() ? NextDefaultName() : std::string(text);
        try {
            macros_.insert(macros_.begin(), NewRecord(name));
        } catch (const std::bad_alloc&) {
            return;
        }
        selected_ = 0;
        ShowActions();
    } else if (keyboard::MacroRecord* macro = Selected()) {
        std::string name(text);
        if (name.empty() || NameInUse(name, selected_)) {
            name = NextDefaultName();
        }
        macro->SetName(StoredMacroName(name));
    } else {
        return;  // macros exist but none is selected: the text waits for a selection
    }
    observer_->MarkModified();
    const Suppress suppress(*this);
    observer_->MacroListChanged();
}

void MacroEditor::DeleteMacro() {
    const keyboard::MacroRecord* macro = Selected();
    if (macro == nullptr || !CheckMacroUse(*macro)) {
        return;
    }
    const int deleted = selected_;
    macros_.erase(macros_.begin() + deleted);
    selected_ = macros_.empty() ? kNoMacro : std::max(deleted - 1, 0);
    ShowActions();  // the rows of the deleted macro go without being saved
    observer_->MarkModified();
    const Suppress suppress(*this);
    observer_->MacroListChanged();
}

bool MacroEditor::CheckMacroUse(const keyboard::MacroRecord& macro) {
    if (macro.NewFlag() != 0 || !AnyKeyPlaysMacro(macro.Id())) {
        return true;
    }
    if (services_.setRewriteAll) {
        services_.setRewriteAll();
    } else {
        device::SetRewriteAll();
    }
    return Prompt().AskYesNo(lang::LangText(lang::kMacroDeleteConfirmOfKeys));
}

void MacroEditor::SaveActions(int index) {
    if (index < 0 || index >= MacroCount()) {
        return;
    }
    keyboard::MacroRecord& record = *macros_[static_cast<std::size_t>(index)];
    record.SetRepeatCount(RepeatCount());
    actions_.Store(record);
}

void MacroEditor::ShowActions() {
    actions_.Clear();
    if (const keyboard::MacroRecord* macro = Selected()) {
        ShowCount(NormaliseCountText(std::to_string(macro->RepeatCount())));
        actions_.Load(*macro);
    }
    observer_->ActionRowsReset();
    observer_->ActionSelectionChanged(kNoRow);
    observer_->ActionButtonsEnabled(ActionButtonsEnabled());
}

// ---- The action list -------------------------------------------------------------------------

void MacroEditor::SelectAction(int row) {
    if (actions_.Select(row)) {
        observer_->ActionSelectionChanged(row);
    }
}

std::optional<int> MacroEditor::InsertAction(const keyboard::MacroAction& action, bool recording,
                                             bool afterSelection) {
    // Rows belong to the selected macro; without one they would be lost at the next selection.
    if (selected_ == kNoMacro) {
        return std::nullopt;
    }
    const std::optional<int> row = actions_.Insert(action, recording, afterSelection);
    if (!row) {
        return std::nullopt;
    }
    observer_->ActionRowInserted(*row);
    if (*row > 0) {
        observer_->ActionRowChanged(*row - 1);  // it took the new action's delay
    }
    if (recording) {
        observer_->ActionSelectionChanged(*row);
    }
    observer_->MarkModified();
    return row;
}

void MacroEditor::DeleteAction() {
    if (const std::optional<int> row = actions_.DeleteSelected()) {
        observer_->ActionRowRemoved(*row);
        observer_->ActionSelectionChanged(actions_.Selected());
        observer_->MarkModified();
    }
}

void MacroEditor::ClearActions() {
    if (actions_.Count() == 0 ||
        !Prompt().AskYesNo(lang::LangText(lang::kMacroActionClearConfirm))) {
        return;
    }
    actions_.Clear();
    observer_->ActionRowsReset();
    observer_->ActionSelectionChanged(kNoRow);
    observer_->MarkModified();
}

void MacroEditor::MoveAction(RowMove move) {
    if (const std::optional<ActionList::Move> moved = actions_.MoveSelected(move)) {
        observer_->ActionRowMoved(moved->from, moved->to);
        observer_->ActionSelectionChanged(moved->to);
        observer_->MarkModified();
    }
}

void MacroEditor::MoveActionTop() {
    MoveAction(RowMove::Top);
}
void MacroEditor::MoveActionUp() {
    MoveAction(RowMove::Up);
}
void MacroEditor::MoveActionDown() {
    MoveAction(RowMove::Down);
}
void MacroEditor::MoveActionBottom() {
    MoveAction(RowMove::Bottom);
}

bool MacroEditor::SetActionKey(int row, int picker) {
    if (picker < 0 || picker > keyboard::kLastPickerNumber || row < 0 || row >= actions_.Count()) {
        return false;
    }
    const auto number = static_cast<uint16_t>(picker);
    if (number == keyboard::PickerOfKeyCode(actions_.Row(row).action.keyCode)) {
        return false;
    }
    actions_.SetKeyCode(row, keyboard::KeyCodeOfPicker(number));
    observer_->ActionRowChanged(row);
    observer_->MarkModified();
    return true;
}

bool MacroEditor::SetActionKind(int row, int action) {
    if ((action != keyboard::kMacroPress && action != keyboard::kMacroRelease) || row < 0 ||
        row >= actions_.Count() || actions_.Row(row).action.action == action) {
        return false;
    }
    actions_.SetAction(row, static_cast<uint16_t>(action));
    observer_->ActionRowChanged(row);
    observer_->MarkModified();
    return true;
}

std::optional<std::string> MacroEditor::EditActionDelay(int row, std::string_view text) {
    const DelayEdit edit = ParseDelayEdit(text);
    if (!edit.delayMs || row < 0 || row >= actions_.Count()) {
        return std::nullopt;
    }
    if (edit.cutToMaximum) {
        Prompt().ShowMessage(lang::FormatText(lang::LangText(lang::kMacroActionErrDelayMax),
                                              {keyboard::kMaxMacroDelayMs}));
    }
    actions_.SetDelay(row, *edit.delayMs);
    observer_->ActionRowChanged(row);
    observer_->MarkModified();
    return ActionDelayText(*edit.delayMs);
}

// ---- The count box ---------------------------------------------------------------------------

void MacroEditor::ShowCount(const std::string& text) {
    countText_ = text;
    observer_->CountTextChanged(countText_);
    observer_->MarkModified();  // also when ShowActions set the text
}

std::string MacroEditor::SetCountText(std::string_view text) {
    ShowCount(NormaliseCountText(text));
    return countText_;
}

uint8_t MacroEditor::RepeatCount() const {
    return RepeatCountOfText(countText_);
}

// ---- Apply -----------------------------------------------------------------------------------

bool MacroEditor::ApplyMacroList() {
    SaveActions(selected_);
    std::vector<keyboard::MacroRecord> area;
    try {
        area.reserve(macros_.size());
        for (const auto& macro : macros_) {
            area.push_back(*macro);
        }
    } catch (const std::bad_alloc&) {
        return false;
    }
    const int changed = SettleMacroEntries(area);
    for (auto& macro : macros_) {
        macro->SetNewFlag(0);
    }
    for (keyboard::MacroRecord& record : area) {
        record.SetNewFlag(0);
    }
    {
        const keyboard::ImageGuard guard = keyboard::Images().LockImage();
        guard->macros.swap(area);
    }
    if (changed > 0) {
        observer_->SetPendingChanges();
    }
    return true;
}

}  // namespace qx::keyassign
