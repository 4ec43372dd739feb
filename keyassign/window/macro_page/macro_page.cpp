#include "keyassign/window/macro_page/macro_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QSignalBlocker>
#include <QWidget>
#include <chrono>
#include <stdexcept>
#include <utility>

#include "keyassign/action_texts.h"
#include "keyassign/window/macro_page/macro_page_widgets.h"
#include "lang/language.h"
#include "lang/language_keys.h"
#include "skin/font_faces.h"
#include "skin/placement.h"
#include "skin/png_button.h"
#include "skin/report_ctrl.h"
#include "skin/skin_font.h"

namespace qx::keyassign::window {
namespace {

// Fonts, made once with the page.
constexpr double kNameLabelPoints = 10.8;
constexpr double kSelectorPoints = 12;
constexpr double kListPoints = 8;

// The action buttons' captions: white, grey while disabled, centred on one line.
constexpr int kActionButtonPoints = 9;
constexpr int kRecordButtonPoints = 8;
constexpr skin::ColorRef kCaptionColour = 0xFFFFFF;
constexpr skin::ColorRef kDisabledCaptionColour = 0x7F7F7F;

struct ButtonText {
    int id;
    std::string_view key;
};
// The record button's caption follows the recording (ShowRecordButton).
constexpr std::array<ButtonText, 6> kActionButtonTexts{{
    {kIdDeleteAction, lang::kADelete},
    {kIdClearActions, lang::kAClear},
    {kIdActionTop, lang::kATop},
    {kIdActionUp, lang::kAUp},
    {kIdActionDown, lang::kADown},
    {kIdActionBottom, lang::kABottom},
}};

int64_t SteadyMilliseconds() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void MakeLabelLook(QWidget& widget) {
    widget.setAttribute(Qt::WA_TranslucentBackground);
    widget.setAutoFillBackground(false);
    QPalette palette = widget.palette();
    palette.setColor(QPalette::WindowText, skin::ColourOfColorRef(kLabelTextColour));
    widget.setPalette(palette);
}

}  // namespace

int MacroPage::Widgets::ButtonIndex(int id) const {
    for (std::size_t i = 0; i < kPageButtons.size(); ++i) {
        if (kPageButtons[i].id == id) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

skin::CPngButton* MacroPage::Widgets::ButtonOf(int id) const {
    const int index = ButtonIndex(id);
    return index < 0 ? nullptr : buttons[static_cast<std::size_t>(index)];
}

MacroPage::MacroPage(QWidget& dialog, std::string compositeIni, MacroEditor& editor,
                     EditObserver& window, MacroRecorder::Clock clock)
    : dialog_(dialog),
      compositeIni_(std::move(compositeIni)),
      editor_(editor),
      window_(window),
      clock_(clock ? std::move(clock) : MacroRecorder::Clock(SteadyMilliseconds)),
      recorder_(editor, [this] { return clockOverride_ ? *clockOverride_ : clock_(); }),
      widgets_(std::make_unique<Widgets>()) {
    idleRecordKey_ = lang::kARecord;
    Widgets& w = *widgets_;
    const int dpiY = dialog_.logicalDpiY();
    w.nameLabel = new QLabel(&dialog_);
    w.nameLabel->setFont(skin::MakeSkinFont(skin::kFaceArialUnicode, kNameLabelPoints, dpiY));
    MakeLabelLook(*w.nameLabel);
    w.recordDelayLabel = new QLabel(&dialog_);
    w.recordDelayLabel->setWordWrap(true);  // its place has room for two lines
    MakeLabelLook(*w.recordDelayLabel);
    w.recordDelayBox = new QCheckBox(&dialog_);
    MakeLabelLook(*w.recordDelayBox);

    // The selector: an editable drop-down that neither completes what is typed nor inserts it on
    // Enter; the editor names the macros. Duplicates are "allowed" so that Enter on a text equal to
    // another macro's name does not jump to that macro.
    w.selector = new QComboBox(&dialog_);
    w.selector->setEditable(true);
    w.selector->setCompleter(nullptr);
    w.selector->setInsertPolicy(QComboBox::NoInsert);
    w.selector->setDuplicatesEnabled(true);
    w.selector->setFont(skin::MakeSkinFont(skin::kFaceArialUnicode, kSelectorPoints, dpiY));

    w.list = new skin::CReportCtrl(&dialog_);
    w.list->setFont(skin::MakeSkinFont(skin::kFaceArialUnicode, kListPoints, dpiY));
    SetUpActionList();

    w.countBox = new QLineEdit(&dialog_);
    w.countBox->setText(QString::fromStdString(editor_.CountText()));

    for (skin::CPngButton*& button : w.buttons) {
        button = new skin::CPngButton(&dialog_);
    }
    for (QWidget* control : Controls()) {
        control->hide();
    }
    editor_.SetObserver(*this);
    releaseTimer_.setSingleShot(true);
    releaseTimer_.setInterval(kHeldReleaseMs);
    connect(&releaseTimer_, &QTimer::timeout, this, &MacroPage::FlushRelease);
    editRestart_.setSingleShot(true);
    editRestart_.setInterval(0);
    connect(&editRestart_, &QTimer::timeout, this, &MacroPage::RestartDelayEdit);
    ConnectControls();
    EnableMacroControls();
}

MacroPage::~MacroPage() {
    FilterKeys(false);
    // The controls belong to the window and may outlive the page: nothing of theirs calls back.
    widgets_->list->SetEditHooks({}, {}, {});
    editor_.SetObserver(NoEditObserver());
}

// ---- Opening and closing ------------------------------------------------------------------------

void MacroPage::Place(const skin::SheetSet& macroSheets) {
    Widgets& w = *widgets_;
    skin::SheetSet sheets = macroSheets;
    if (sheets.marked == nullptr) {
        sheets.marked = sheets.down;  // a set's marked face is its down sheet
    }
    for (std::size_t i = 0; i < kPageButtons.size(); ++i) {
        w.unused[i] =
            skin::PlaceImageButton(*w.buttons[i], compositeIni_, kPageButtons[i].skinKey, sheets)
                .IsUnused();
    }
    skin::PlaceControl(*w.recordDelayBox, compositeIni_, "FUNC_MACRO_RECORD_DELAY");
    skin::PlaceControl(*w.list, compositeIni_, "FUNC_MACRO_LIST2");
    skin::PlaceControl(*w.countBox, compositeIni_, "FUNC_MACRO_CYCLES");
    skin::PlaceControl(*w.nameLabel, compositeIni_, "MARCO_NAME_SETTING");
    skin::PlaceControl(*w.recordDelayLabel, compositeIni_, "FUNC_MACRO_RECORD_DELAY2");
    skin::PlaceControl(*w.selector, compositeIni_, "FUNC_MACRO_LIST");
    EnableMacroControls();
}

void MacroPage::Open() {
    StopRecording();
    const QSignalBlocker block(widgets_->recordDelayBox);
    widgets_->recordDelayBox->setText(QString());
    widgets_->recordDelayBox->setChecked(recorder_.LoadRecordDelay() == kRecordDelayOn);
    editor_.SetCountText("1");
    editor_.LoadMacroList();
}

void MacroPage::PrepareApply() {
    widgets_->list->EndEdit(true);
    StopRecording();
}

void MacroPage::Close() {
    StopRecording();
    widgets_->list->EndEdit(false);
    editor_.ClearMacroList();
}

// ---- The page -----------------------------------------------------------------------------------

void MacroPage::Show() {
    shown_ = true;
    for (QWidget* control : Controls()) {
        control->show();
    }
}

void MacroPage::Hide() {
    StopRecording();
    widgets_->list->EndEdit(true);
    shown_ = false;
    for (QWidget* control : Controls()) {
        control->hide();
    }
}

void MacroPage::ShowMacroOfEntry(uint16_t macroId) {
    editor_.SelectMacroOfId(macroId);
}

void MacroPage::SelectFirstMacro() {
    if (editor_.MacroCount() > 0) {
        editor_.SelectMacro(0);
    }
}

std::vector<QWidget*> MacroPage::Controls() const {
    const Widgets& w = *widgets_;
    std::vector<QWidget*> controls{w.nameLabel, w.selector,       w.list,
                                   w.countBox,  w.recordDelayBox, w.recordDelayLabel};
    controls.insert(controls.end(), w.buttons.begin(), w.buttons.end());
    return controls;
}

QWidget* MacroPage::Control(int controlId) const {
    const Widgets& w = *widgets_;
    switch (controlId) {
        case kIdMacroNameLabel:
            return w.nameLabel;
        case kIdMacroSelector:
            return w.selector;
        case kIdActionList:
            return w.list;
        case kIdCountBox:
            return w.countBox;
        case kIdRecordDelay:
            return w.recordDelayBox;
        case kIdRecordDelayLabel:
            return w.recordDelayLabel;
        default:
            return w.ButtonOf(controlId);
    }
}

// ---- Language -----------------------------------------------------------------------------------

QString MacroPage::Text(std::string_view key) const {
    return QString::fromStdString(lang::LoadLangText(key, languageIndex_));
}

void MacroPage::ApplyLanguage(int languageIndex) {
    languageIndex_ = languageIndex;
    Widgets& w = *widgets_;
    for (const ButtonText& text : kActionButtonTexts) {
        skin::CPngButton& button = *w.ButtonOf(text.id);
        button.setText(Text(text.key));
        button.SetTooltip(Text(text.key), true);
    }
    for (const int id : kActionButtonIds) {
        w.ButtonOf(id)->SetTextStyle(
            true, id == kIdRecord ? kRecordButtonPoints : kActionButtonPoints,
            QString::fromUtf8(skin::kFaceArialUnicode.data(),
                              static_cast<qsizetype>(skin::kFaceArialUnicode.size())),
            kCaptionColour, kCaptionColour, kCaptionColour, kDisabledCaptionColour, kCaptionColour,
            skin::kDefaultTextFormat);
    }
    idleRecordKey_ = lang::kARecord;
    ShowRecordButton();
    w.nameLabel->setText(Text(lang::kMacroNameSetting));
    w.recordDelayLabel->setText(Text(lang::kRecordDelay));
    for (int column = 0; column < kActionColumnCount; ++column) {
        if (QTableWidgetItem* heading = w.list->horizontalHeaderItem(column)) {
            heading->setText(Text(kActionColumnHeadings[static_cast<std::size_t>(column)]));
        }
    }
}

// ---- The assignment -----------------------------------------------------------------------------

uint16_t MacroPage::SelectedMacroId() const {
    const int selected = editor_.SelectedMacro();
    return selected == kNoMacro ? 0 : editor_.MacroAt(selected).Id();
}

int MacroPage::RepeatCount() const {
    return editor_.RepeatCount();
}

// ---- The controls -------------------------------------------------------------------------------

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
    skin::CPngButton* button = widgets_->ButtonOf(controlId);
    if (button == nullptr) {
        throw std::out_of_range("not a button of the macro page");
    }
    return *button;
}

}  // namespace qx::keyassign::window
