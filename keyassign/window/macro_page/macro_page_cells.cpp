// In-place edits of the action list: the key and action columns through a drop-down over the
// cell, the delay column through the list's own digits-only editor.
#include <QAbstractItemView>
#include <QComboBox>
#include <QFocusEvent>
#include <QHeaderView>
#include <QString>
#include <QStringList>
#include <QTableWidgetItem>
#include <algorithm>
#include <utility>

#include "keyassign/action_texts.h"
#include "keyassign/window/macro_page/macro_page.h"
#include "keyassign/window/macro_page/macro_page_widgets.h"
#include "keyboard/key_lookup.h"
#include "skin/report_ctrl.h"

namespace qx::keyassign::window {
namespace {

QStringList KeyPickerList() {
    QStringList items;
    for (const std::string& name : KeyPickerItems()) {
        items.push_back(QString::fromStdString(name));
    }
    return items;
}

QStringList ActionPickerList() {
    QStringList items;
    for (const std::string_view text : kActionPickerItems) {
        items.push_back(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    }
    return items;
}

}  // namespace

void MacroPage::SetUpActionList() {
    skin::CReportCtrl& list = *widgets_->list;
    list.SetCheckboxStyle(skin::kCheckboxNone);
    list.setSelectionMode(QAbstractItemView::SingleSelection);
    for (int column = 0; column < kActionColumnCount; ++column) {
        list.InsertColumn(column, Text(kActionColumnHeadings[static_cast<std::size_t>(column)]),
                          skin::kColumnLeft, kActionColumnWidth);
    }
    list.horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    list.SetHeaderButtons(false);
    list.SetGridLines(true);
    list.EnableEditing(true);
    list.SetEditHooks(
        [this](skin::CReportCtrl& /*list*/, int row, int column, int& extraStyles) {
            return BeginCellEdit(row, column, extraStyles);
        },
        [this](skin::CReportCtrl& /*list*/, int /*row*/, int /*column*/) { return EndCellEdit(); },
        [this](skin::CReportCtrl& /*list*/, int row, int column, QString& text) {
            return ValidateCellEdit(row, column, text);
        });

    // One drop-down serves both list columns; choosing an entry ends the edit with it.
    QComboBox* picker = new QComboBox(list.viewport());
    picker->hide();
    picker->installEventFilter(this);
    widgets_->cellPicker = picker;
    connect(picker, &QComboBox::activated, this, [this] { widgets_->list->EndEdit(true); });
}

bool MacroPage::BeginCellEdit(int row, int column, int& extraStyles) {
    if (row < 0 || row >= editor_.Actions().Count()) {
        return false;
    }
    const keyboard::MacroAction& action = editor_.Actions().Row(row).action;
    switch (column) {
        case kKeyColumn:
            ShowCellPicker(row, column, KeyPickerList(), kKeyPickerDropRows,
                           static_cast<int>(keyboard::PickerOfKeyCode(action.keyCode)));
            return false;
        case kActionColumn:
            ShowCellPicker(row, column, ActionPickerList(), kActionPickerDropRows,
                           action.action == keyboard::kMacroRelease ? 1 : 0);
            return false;
        default:
            // A delay typed while a recording runs would be moved by the next recorded row. The
            // stop records a release still held back, after this row, which ends the list's
            // edit: then the edit begins again once the list is back in its own hands.
            if (recorder_.IsRecording()) {
                StopRecording();
                if (!widgets_->list->IsEditing()) {
                    restartedEditRow_ = row;
                    editRestart_.start();
                    return false;
                }
            }
            extraStyles |= skin::kEditorDigitsOnly;
            return true;
    }
}

void MacroPage::ShowCellPicker(int row, int column, const QStringList& items, int dropRows,
                               int current) {
    Widgets& w = *widgets_;
    QComboBox& picker = *w.cellPicker;
    picker.clear();
    picker.addItems(items);
    picker.setMaxVisibleItems(dropRows);
    picker.setCurrentIndex(current >= 0 && current < picker.count() ? current : -1);
    QRect cell = w.list->visualRect(w.list->model()->index(row, column));
    cell.setHeight(std::max(cell.height(), picker.sizeHint().height()));
    picker.setGeometry(cell);
    w.pickerRow = row;
    w.pickerColumn = column;
    picker.show();
    picker.setFocus(Qt::OtherFocusReason);
    picker.showPopup();
}

// The list ends every edit through here. A drop-down edit is finished by the page: the entry shown
// when the edit ends is taken when it differs from the row's.
bool MacroPage::EndCellEdit() {
    Widgets& w = *widgets_;
    if (w.pickerRow < 0) {
        return true;
    }
    const int row = std::exchange(w.pickerRow, -1);
    const int column = std::exchange(w.pickerColumn, -1);
    const int chosen = w.cellPicker->currentIndex();
    w.cellPicker->hidePopup();
    w.cellPicker->hide();
    if (chosen >= 0) {
        if (column == kKeyColumn) {
            editor_.SetActionKey(row, chosen);
        } else {
            editor_.SetActionKind(row, chosen);
        }
    }
    w.list->setFocus(Qt::OtherFocusReason);
    return false;
}

// Leaving the drop-down for another control ends its edit, as leaving the text editor does.
bool MacroPage::FilterCellPicker(QObject* watched, const QEvent& event) {
    if (watched != widgets_->cellPicker || event.type() != QEvent::FocusOut) {
        return false;
    }
    // The drop-down's own list takes the focus while it is open.
    const bool toItsList = widgets_->cellPicker->view()->window()->isVisible();
    if (!toItsList && static_cast<const QFocusEvent&>(event).reason() != Qt::PopupFocusReason &&
        widgets_->pickerRow >= 0) {
        widgets_->list->EndEdit(true);
    }
    return false;
}

void MacroPage::RestartDelayEdit() {
    if (restartedEditRow_ >= 0) {
        widgets_->list->BeginEdit(std::exchange(restartedEditRow_, -1), kDelayColumn);
    }
}

bool MacroPage::ValidateCellEdit(int row, int column, QString& text) {
    if (column != kDelayColumn) {
        return false;
    }
    const std::optional<std::string> shown = editor_.EditActionDelay(row, text.toStdString());
    if (!shown) {
        return false;
    }
    text = QString::fromStdString(*shown);
    return true;
}

}  // namespace qx::keyassign::window
