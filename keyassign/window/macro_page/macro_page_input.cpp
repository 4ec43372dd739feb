// The macro page's controls as the user works them: the buttons, the selector, the list's
// selection, the count box and the record-delay box, each turned into the editor's operation.
#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QTableWidget>

#include "keyassign/window/macro_page/macro_page.h"
#include "keyassign/window/macro_page/macro_page_widgets.h"
#include "skin/png_button.h"
#include "skin/report_ctrl.h"

namespace qx::keyassign::window {

void MacroPage::ConnectControls() {
    Widgets& w = *widgets_;
    const auto onClick = [this](int id, auto action) {
        connect(widgets_->ButtonOf(id), &QAbstractButton::clicked, this, action);
    };
    onClick(kIdAddMacro, [this] { editor_.AddMacro(); });
    onClick(kIdDeleteMacro, [this] { editor_.DeleteMacro(); });
    onClick(kIdRecord, [this] { ToggleRecording(); });
    onClick(kIdDeleteAction, [this] { editor_.DeleteAction(); });
    onClick(kIdClearActions, [this] { editor_.ClearActions(); });
    onClick(kIdActionTop, [this] {
        editor_.MoveActionTop();
        AfterMove();
    });
    onClick(kIdActionUp, [this] {
        editor_.MoveActionUp();
        AfterMove();
    });
    onClick(kIdActionDown, [this] {
        editor_.MoveActionDown();
        AfterMove();
    });
    onClick(kIdActionBottom, [this] {
        editor_.MoveActionBottom();
        AfterMove();
    });
    connect(w.recordDelayBox, &QCheckBox::clicked, this, [this] { ToggleRecordDelay(); });
    connect(w.selector, &QComboBox::currentIndexChanged, this, &MacroPage::OnSelectorChosen);
    // Only what the user types renames: the editor's own changes of the text do not.
    connect(w.selector->lineEdit(), &QLineEdit::textEdited, this, &MacroPage::OnSelectorEdited);
    connect(w.selector->lineEdit(), &QLineEdit::editingFinished, this, [this] { SyncSelector(); });
    connect(w.list, &QTableWidget::itemSelectionChanged, this, &MacroPage::OnListSelection);
    connect(w.countBox, &QLineEdit::textEdited, this, &MacroPage::OnCountEdited);
}

void MacroPage::OnSelectorChosen(int index) {
    if (index >= 0) {
        editor_.SelectMacro(index);
    }
}

void MacroPage::OnSelectorEdited(const QString& text) {
    renaming_ = true;
    editor_.RenameMacro(text.toStdString());
    renaming_ = false;
}

void MacroPage::OnListSelection() {
    if (syncingRows_) {
        return;
    }
    const int row = widgets_->list->FindNextRow(skin::kRowSelected);
    if (row != editor_.Actions().Selected()) {
        editor_.SelectAction(row);
    }
}

void MacroPage::OnCountEdited(const QString& text) {
    editor_.SetCountText(text.toStdString());
}

void MacroPage::AfterMove() {
    const int row = editor_.Actions().Selected();
    if (row != kNoRow) {
        widgets_->list->scrollToItem(widgets_->list->item(row, 0));
    }
    widgets_->list->setFocus(Qt::OtherFocusReason);
}

void MacroPage::ToggleRecordDelay() {
    const QSignalBlocker block(widgets_->recordDelayBox);
    widgets_->recordDelayBox->setChecked(recorder_.ToggleRecordDelay() == kRecordDelayOn);
}

}  // namespace qx::keyassign::window
