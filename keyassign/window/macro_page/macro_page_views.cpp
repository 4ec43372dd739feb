// The macro page as the editor's view: every report of the editor redraws the control it names.
#include <QComboBox>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QTableWidgetItem>
#include <algorithm>
#include <vector>

#include "keyassign/action_texts.h"
#include "keyassign/window/macro_page/macro_page.h"
#include "keyassign/window/macro_page/macro_page_widgets.h"
#include "lang/language_keys.h"
#include "platform/ini_file.h"
#include "skin/png_button.h"
#include "skin/report_ctrl.h"
#include "skin/skin_palette.h"

namespace qx::keyassign::window {
namespace {

// The key and action cells of a row are drawn on the skin's grey-text colour, with dark text so
// that they read on it whatever the list's own text colour is.
skin::ColorRef ColorRefOf(QRgb colour) {
    return static_cast<skin::ColorRef>(qRed(colour)) |
           (static_cast<skin::ColorRef>(qGreen(colour)) << 8U) |
           (static_cast<skin::ColorRef>(qBlue(colour)) << 16U);
}
const skin::ColorRef kGreyCellColour = ColorRefOf(skin::palette::kTextDim);
const skin::ColorRef kGreyCellTextColour = ColorRefOf(skin::palette::kWell);
// The report list's cell colours of row -1 are those of every row.
constexpr int kAllRows = -1;

}  // namespace

void MacroPage::MarkModified() {
    window_.MarkModified();
}

void MacroPage::SetPendingChanges() {
    window_.SetPendingChanges();
}

void MacroPage::MacroListChanged() {
    SyncSelector();
}

// The selector shows the editor's names and selection. While the user types a name, the edit text
// stays what they typed (the item may take a default name instead); once they leave it, it shows
// the name the macro really got.
void MacroPage::SyncSelector() {
    QComboBox& selector = *widgets_->selector;
    QLineEdit& edit = *selector.lineEdit();
    const QString typed = edit.text();
    const int cursor = edit.cursorPosition();
    const QSignalBlocker block(selector);
    const int count = editor_.MacroCount();
    while (selector.count() > count) {
        selector.removeItem(selector.count() - 1);
    }
    for (int i = 0; i < count; ++i) {
        const QString name = QString::fromStdString(editor_.MacroNameAt(i));
        if (i >= selector.count()) {
            selector.addItem(name);
        } else if (selector.itemText(i) != name) {
            selector.setItemText(i, name);
        }
    }
    selector.setCurrentIndex(editor_.SelectedMacro());
    if (renaming_) {
        edit.setText(typed);
        edit.setCursorPosition(cursor);
    } else if (editor_.SelectedMacro() != kNoMacro && edit.text() != selector.currentText()) {
        edit.setText(selector.currentText());
    }
}

void MacroPage::ActionRowsReset() {
    skin::CReportCtrl& list = *widgets_->list;
    // Up to 2000 key names from the language file, read once.
    const platform::IniReadScope readOnce;
    const bool syncing = std::exchange(syncingRows_, true);
    list.setUpdatesEnabled(false);
    list.DeleteRows(skin::kRowAll);
    const std::vector<ActionRow>& rows = editor_.Actions().Rows();
    for (int row = 0; row < static_cast<int>(rows.size()); ++row) {
        list.InsertRow(row, QString());
        ShowRowTexts(row);
    }
    // A macro's rows all have grey cells: coloured in one pass over the list, not one per row.
    const bool allGrey =
        std::all_of(rows.begin(), rows.end(), [](const ActionRow& row) { return row.greyCells; });
    if (allGrey && !rows.empty()) {
        ShowGreyCells(kAllRows);
    } else {
        for (int row = 0; row < static_cast<int>(rows.size()); ++row) {
            if (rows[static_cast<std::size_t>(row)].greyCells) {
                ShowGreyCells(row);
            }
        }
    }
    list.setUpdatesEnabled(true);
    syncingRows_ = syncing;
}

void MacroPage::ActionRowInserted(int row) {
    const bool syncing = std::exchange(syncingRows_, true);
    widgets_->list->InsertRow(row, QString());
    ShowRow(row);
    syncingRows_ = syncing;
}

void MacroPage::ActionRowRemoved(int row) {
    const bool syncing = std::exchange(syncingRows_, true);
    widgets_->list->DeleteRow(row, false);
    syncingRows_ = syncing;
}

void MacroPage::ActionRowMoved(int from, int to) {
    const bool syncing = std::exchange(syncingRows_, true);
    widgets_->list->MoveRow(from, to);
    syncingRows_ = syncing;
}

void MacroPage::ActionRowChanged(int row) {
    ShowRow(row);
}

void MacroPage::ShowRow(int row) {
    if (row < 0 || row >= editor_.Actions().Count() || row >= widgets_->list->rowCount()) {
        return;
    }
    ShowRowTexts(row);
    if (editor_.Actions().Row(row).greyCells) {
        ShowGreyCells(row);
    }
}

// The cells are set directly: the list's own SetCellText would end an in-place edit.
void MacroPage::ShowRowTexts(int row) {
    skin::CReportCtrl& list = *widgets_->list;
    const auto texts = ActionRowTexts(editor_.Actions().Row(row).action);
    for (int column = 0; column < kActionColumnCount; ++column) {
        if (QTableWidgetItem* cell = list.item(row, column)) {
            cell->setText(QString::fromStdString(texts[static_cast<std::size_t>(column)]));
        }
    }
}

// The key and action cells of `row` (kAllRows: every row) on the grey-text colour.
void MacroPage::ShowGreyCells(int row) {
    for (const int column : {kKeyColumn, kActionColumn}) {
        widgets_->list->SetCellBackColour(row, column, kGreyCellColour, false);
        widgets_->list->SetCellTextColour(row, column, kGreyCellTextColour, false);
    }
}

void MacroPage::ActionSelectionChanged(int row) {
    skin::CReportCtrl& list = *widgets_->list;
    const bool syncing = std::exchange(syncingRows_, true);
    list.clearSelection();
    if (row != kNoRow && row < list.rowCount()) {
        list.SetRowStates(row, skin::kRowSelected | skin::kRowFocused);
        list.scrollToItem(list.item(row, 0));
    }
    syncingRows_ = syncing;
}

void MacroPage::CountTextChanged(const std::string& text) {
    const QString shown = QString::fromStdString(text);
    if (widgets_->countBox->text() != shown) {
        widgets_->countBox->setText(shown);
    }
}

void MacroPage::ActionButtonsEnabled(bool enabled) {
    actionsEnabled_ = enabled;
    EnableMacroControls();
}

void MacroPage::RecordingChanged(bool recording) {
    if (!recording) {
        idleRecordKey_ = lang::kMacroActionRecord;
    }
    ShowRecordButton();
    EnableMacroControls();
    FilterKeys(recording);
}

// Add, delete and the selector are off while a recording runs, so its rows stay with one macro;
// the seven action buttons follow the editor (on while a macro is selected). A button the skin
// leaves unused stays off.
void MacroPage::EnableMacroControls() {
    Widgets& w = *widgets_;
    const bool recording = recorder_.IsRecording();
    for (std::size_t i = 0; i < kPageButtons.size(); ++i) {
        const int id = kPageButtons[i].id;
        const bool macroButton = id == kIdAddMacro || id == kIdDeleteMacro;
        const bool on = macroButton ? !recording : actionsEnabled_;
        w.buttons[i]->setEnabled(on && !w.unused[i]);
    }
    w.selector->setEnabled(!recording);
}

void MacroPage::ShowRecordButton() {
    skin::CPngButton& button = *widgets_->ButtonOf(kIdRecord);
    const bool recording = recorder_.IsRecording();
    const QString text = Text(recording ? lang::kMacroActionStopRecord : idleRecordKey_);
    button.setText(text);
    button.SetTooltip(text, true);
    button.SetMarked(recording);
}

}  // namespace qx::keyassign::window
