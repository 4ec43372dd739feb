#include "keyassign/window/macro_page/macro_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QWidget>
#include <utility>

#include "skin/png_button.h"
#include "skin/report_ctrl.h"

namespace qx::keyassign::window {

struct MacroPage::Widgets {
    QLabel* nameLabel = nullptr;
    QComboBox* selector = nullptr;
    skin::CReportCtrl* list = nullptr;
    QLineEdit* countBox = nullptr;
    QCheckBox* recordDelayBox = nullptr;
    QLabel* recordDelayLabel = nullptr;
    std::array<skin::CPngButton*, 9> buttons{};
};

MacroPage::MacroPage(QWidget& dialog, std::string compositeIni, MacroEditor& editor,
                     EditObserver& window, MacroRecorder::Clock clock)
    : dialog_(dialog),
      compositeIni_(std::move(compositeIni)),
      editor_(editor),
      window_(window),
      recorder_(editor, std::move(clock)),
      widgets_(std::make_unique<Widgets>()) {
    widgets_->nameLabel = new QLabel(&dialog_);
    widgets_->selector = new QComboBox(&dialog_);
    widgets_->list = new skin::CReportCtrl(&dialog_);
    widgets_->countBox = new QLineEdit(&dialog_);
    widgets_->recordDelayBox = new QCheckBox(&dialog_);
    widgets_->recordDelayLabel = new QLabel(&dialog_);
    for (skin::CPngButton*& button : widgets_->buttons) {
        button = new skin::CPngButton(&dialog_);
    }
    for (QWidget* control : Controls()) {
        control->hide();
    }
    editor_.SetObserver(*this);
}

MacroPage::~MacroPage() {
    editor_.SetObserver(NoEditObserver());
}

void MacroPage::Place(const skin::SheetSet& macroSheets) {
    static_cast<void>(macroSheets);
}
void MacroPage::Open() {
    editor_.LoadMacroList();
}
void MacroPage::PrepareApply() {
    StopRecording();
}
void MacroPage::Close() {
    StopRecording();
    editor_.ClearMacroList();
}
void MacroPage::Show() {
    shown_ = true;
}
void MacroPage::Hide() {
    StopRecording();
    shown_ = false;
}
void MacroPage::ShowMacroOfEntry(uint16_t macroId) {
    editor_.SelectMacroOfId(macroId);
}
void MacroPage::SelectFirstMacro() {
    editor_.SelectMacro(0);
}

std::vector<QWidget*> MacroPage::Controls() const {
    std::vector<QWidget*> controls{widgets_->nameLabel,      widgets_->selector,
                                   widgets_->list,           widgets_->countBox,
                                   widgets_->recordDelayBox, widgets_->recordDelayLabel};
    controls.insert(controls.end(), widgets_->buttons.begin(), widgets_->buttons.end());
    return controls;
}

QWidget* MacroPage::Control(int controlId) const {
    static_cast<void>(controlId);
    return nullptr;
}

void MacroPage::ApplyLanguage(int languageIndex) {
    languageIndex_ = languageIndex;
}
bool MacroPage::IsRecording() const {
    return recorder_.IsRecording();
}
void MacroPage::ToggleRecording() {
    recorder_.ToggleRecording();
}
void MacroPage::StopRecording() {
    recorder_.StopRecording();
}
bool MacroPage::FilterKeyEvent(QEvent& event) {
    static_cast<void>(event);
    return false;
}
void MacroPage::ToggleRecordDelay() {
    recorder_.ToggleRecordDelay();
}
uint16_t MacroPage::SelectedMacroId() const {
    return 0;
}
int MacroPage::RepeatCount() const {
    return editor_.RepeatCount();
}

QComboBox& MacroPage::Selector() const {
    return *widgets_->selector;
}
skin::CReportCtrl& MacroPage::ActionList() const {
    return *widgets_->list;
}
QLineEdit& MacroPage::CountBox() const {
    return *widgets_->countBox;
}
QCheckBox& MacroPage::RecordDelayBox() const {
    return *widgets_->recordDelayBox;
}
skin::CPngButton& MacroPage::Button(int controlId) const {
    static_cast<void>(controlId);
    return *widgets_->buttons[0];
}

bool MacroPage::eventFilter(QObject* watched, QEvent* event) {
    return QObject::eventFilter(watched, event);
}

void MacroPage::MarkModified() {
    window_.MarkModified();
}
void MacroPage::SetPendingChanges() {
    window_.SetPendingChanges();
}
void MacroPage::MacroListChanged() {}
void MacroPage::ActionRowsReset() {}
void MacroPage::ActionRowInserted(int row) {
    static_cast<void>(row);
}
void MacroPage::ActionRowRemoved(int row) {
    static_cast<void>(row);
}
void MacroPage::ActionRowMoved(int from, int to) {
    static_cast<void>(from);
    static_cast<void>(to);
}
void MacroPage::ActionRowChanged(int row) {
    static_cast<void>(row);
}
void MacroPage::ActionSelectionChanged(int row) {
    static_cast<void>(row);
}
void MacroPage::CountTextChanged(const std::string& text) {
    static_cast<void>(text);
}
void MacroPage::ActionButtonsEnabled(bool enabled) {
    static_cast<void>(enabled);
}
void MacroPage::RecordingChanged(bool recording) {
    static_cast<void>(recording);
}

void MacroPage::Connect() {}
void MacroPage::SetUpActionList() {}
void MacroPage::ShowRow(int row) {
    static_cast<void>(row);
}
void MacroPage::SyncSelector() {}
void MacroPage::ShowRecordButton() {}

}  // namespace qx::keyassign::window
