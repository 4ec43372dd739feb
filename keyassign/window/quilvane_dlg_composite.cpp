#include "keyassign/window/quilvane_dlg_composite.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGuiApplication>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QTimer>
#include <algorithm>

#include "app/main_window_port.h"
#include "keyassign/assignment.h"
#include "keyassign/assignment_choice.h"
#include "keyassign/key_assignment_apply.h"
#include "keyassign/key_hints.h"
#include "keyassign/window/onscreen_keyboard.h"
#include "keyassign/window/window_placement.h"
#include "keyboard/key_names.h"
#include "lang/language.h"
#include "platform/ini_file.h"
#include "skin/picture_file.h"
#include "skin/png_button.h"
#include "skin/skin_keys.h"

namespace qx::keyassign::window {
namespace {

// How often the window looks whether its sheets are made, to draw itself once in advance.
constexpr int kWarmUpPollMs = 100;

// The key buttons of a window that has none (a window made without a main window).
class NoKeyButtons final : public KeyButtonView {
  public:
    void ShowKeyHint(int, const KeyHint&) override {}
};

KeyButtonView& NoKeyButtonView() {
    static NoKeyButtons view;
    return view;
}

// The row of a mouse code in the mouse list; -1 for any other key.
int MouseRowOf(keyboard::KeyCode code) {
    const auto found = std::find(keyboard::kMouseCodes.begin(), keyboard::kMouseCodes.end(), code);
    return found == keyboard::kMouseCodes.end()
               ? -1
               : static_cast<int>(found - keyboard::kMouseCodes.begin());
}

// A stored list row, or none when the list has no such row.
int ListRowOf(const QComboBox& list, uint32_t value) {
    return value < static_cast<uint32_t>(list.count()) ? static_cast<int>(value) : -1;
}

SheetGroup SheetGroupOf(Page page) {
    switch (page) {
        case Page::Macro:
            return SheetGroup::Macro;
        case Page::Media:
            return SheetGroup::Media;
        case Page::Function:
            return SheetGroup::Function;
        case Page::SingleKey:
            break;
    }
    return SheetGroup::Key;
}

}  // namespace

Quilvane_DlgComposite::Quilvane_DlgComposite(std::string iniPath, std::string skinFolder,
                                             CompositeHost host, QWidget* parent)
    : skin::CBaseDialog(kCompositeTemplateId, parent, std::move(iniPath), std::move(skinFolder)),
      host_(std::move(host)),
      editor_(static_cast<EditObserver&>(*this)) {
    SetKeepSkin(true);
    if (!host_.openHelp) {
        host_.openHelp = [] { app::OpenHelp(); };
    }
    if (!host_.startOnScreenKeyboard) {
        host_.startOnScreenKeyboard = [] { return StartOnScreenKeyboard(); };
    }
    CreateControls();
    page_ =
        std::make_unique<MacroPage>(*this, IniPath(), editor_, static_cast<EditObserver&>(*this));
    ApplyLabelColours();
}

Quilvane_DlgComposite::~Quilvane_DlgComposite() {
    if (filterInstalled_) {
        qApp->removeEventFilter(this);
    }
}

void Quilvane_DlgComposite::Prepare() {
    if (sheets_.IsPrepared()) {
        return;
    }
    // The background and the outline are made now, while nobody waits, when both pictures are
    // there; a missing one ends the program at the first opening, never at start-up.
    const skin::CIniFile ini(IniPath());
    const std::string main =
        ini.GetString(skin::kScreenSection, skin::kScreenMainKey, "").value_or("");
    const std::string mask =
        ini.GetString(skin::kScreenSection, skin::kScreenMaskKey, main).value_or("");
    if (QImageReader(QString::fromStdString(SkinFolder() + main)).canRead() &&
        QImageReader(QString::fromStdString(SkinFolder() + mask)).canRead()) {
        ApplySkin();
    }
    // The sheets have the window's size, which is its background picture's.
    const QSize size = QImageReader(QString::fromStdString(SkinFolder() + main)).size();
    sheets_.Prepare(SkinFolder(), size.isValid() ? size : QSize());
    // Style sheets, fonts and the native window are resolved now rather than at the first
    // showing.
    ensurePolished();
    winId();
    WarmUpWhenSheetsAreMade();
}

// Once the background thread has made the sheets, the window is laid out and drawn once off
// screen, so that the first opening finds fonts, glyphs and styles ready as later ones do.
void Quilvane_DlgComposite::WarmUpWhenSheetsAreMade() {
    warmUpTimer_ = new QTimer(this);
    warmUpTimer_->setInterval(kWarmUpPollMs);
    connect(warmUpTimer_, &QTimer::timeout, this, [this] {
        if (IsOpen() || sheetsChecked_) {
            warmUpTimer_->stop();
        } else if (sheets_.AllReady()) {
            warmUpTimer_->stop();
            WarmUp();
        }
    });
    warmUpTimer_->start();
}

// Set up as an opening sets it up (for an unassigned key, the window not shown), then every page
// drawn once, so that each control has been shown and drawn before and the first opening finds
// its controls in the state a later one does.
void Quilvane_DlgComposite::WarmUp() {
    const platform::IniReadScope skinAndTexts;
    InitialiseControls();
    QImage drawn(size(), QImage::Format_RGB32);
    for (const Page page : {Page::Macro, Page::Media, Page::Function, Page::SingleKey}) {
        ShowPageControls(page);
        render(&drawn);
    }
    ShowPage(true);
    // And left as closing leaves it.
    SetCaptureActive(false);
    page_->Close();
    SetModified(false);
    warmedUp_ = true;
}

int Quilvane_DlgComposite::OpenForKey(int controlId) {
    const std::optional<KeyEntryLocation> location = LocateKeyEntry(controlId);
    if (!location || IsOpen()) {
        return -1;
    }
    controlId_ = controlId;
    entryIndex_ = location->entryIndex;
    macroOnly_ = location->macroOnly;
    selection_ = CurrentBlockSelection();
    return exec();
}

int Quilvane_DlgComposite::CloseIfOpen() {
    if (IsOpen()) {
        OnCancel();
    }
    return 1;
}

// The initialisation of each opening, in this order.
void Quilvane_DlgComposite::OnInitDialog() {
    // The skin file and the language file are read once for the whole initialisation.
    const platform::IniReadScope skinAndTexts;
    skin::CBaseDialog::OnInitDialog();
    ++openCount_;
    if (!filterInstalled_) {
        qApp->installEventFilter(this);
        filterInstalled_ = true;
    }
    // The first opening: every picture must be there (a broken installation ends the program
    // here, never at start-up).
    if (!sheets_.IsPrepared()) {
        Prepare();
    }
    if (!sheetsChecked_) {
        sheetsChecked_ = true;
        if (!sheets_.AllLoaded()) {
            skin::EndProgramForSkin();
        }
    }
    InitialiseControls();
}

// What every opening sets up once the skin is applied, in this order.
void Quilvane_DlgComposite::InitialiseControls() {
    PlaceControls();
    page_->Place(sheets_.Set(SheetGroup::Macro));
    // The record-delay setting, the count box, no recording and the macro list.
    page_->Open();
    MakeFonts();
    ApplyFonts();
    FillLists();
    firstMacroPage_ = true;
    ReadEntry();
    if (macroOnly_) {
        EnterMacroOnlyMode();
    }
    InitialiseOpening();
    PlaceWindow();
    ApplyLabelFonts();
    // The texts of this language and mode are shown already when the last opening (or the
    // drawing in advance) left them; they are set again only when either changed.
    const int language = lang::GetLanguageIndex();
    if (language != languageIndex_ || macroOnly_ != textsMacroOnly_ || !textsShown_) {
        ApplyLanguage(language);
    }
}

void Quilvane_DlgComposite::ReadEntry() {
    const std::optional<Assignment> assignment =
        selection_.IsKnown() ? ReadAssignment(AbsoluteEntryIndex(selection_.profile, entryIndex_))
                             : std::nullopt;
    const Assignment entry = assignment.value_or(Assignment{});
    kind_ = entry.kind;
    storedValue_ = entry.value;
    storedParameter_ = entry.parameter;
}

// Macro editing alone: only the macro page can be reached.
void Quilvane_DlgComposite::EnterMacroOnlyMode() {
    kind_ = kKindMacro;
    const skin::SheetSet macro2 = sheets_.Set(SheetGroup::Macro2);
    for (const int id : {kIdPageKey, kIdPageMedia, kIdPageFunction, kIdClear}) {
        Button(id)->setEnabled(false);
        Button(id)->SetSheetsOnly(macro2);
    }
    Button(kIdTitle)->SetSheetsOnly(macro2);
    for (const int id : {kIdSingleLabel, kIdMediaLabel, kIdFunctionLabel}) {
        Control(id)->hide();
    }
}

void Quilvane_DlgComposite::InitialiseOpening() {
    keyboardChoice_->setText(QString());
    mouseChoice_->setText(QString());
    keyBox_->clear();
    capturedKey_ = keyboard::kNoKey;
    ShowPage(true);
    SetModified(false);
}

void Quilvane_DlgComposite::PlaceWindow() {
    const QRect key = host_.keyButtonRect ? host_.keyButtonRect(controlId_) : QRect();
    QScreen* screen = key.isValid() ? QGuiApplication::screenAt(key.center()) : nullptr;
    if (screen == nullptr) {
        screen = QGuiApplication::primaryScreen();
    }
    if (screen == nullptr) {
        return;
    }
    const QRect area = screen->geometry();
    PlacementInput input;
    input.screenWidth = area.width();
    input.screenHeight = area.height();
    // Edges as the placement rules count them: right and bottom just past the key.
    input.key = {key.left() - area.x(), key.top() - area.y(), key.right() + 1 - area.x(),
                 key.bottom() + 1 - area.y()};
    input.windowWidth = width();
    input.windowHeight = height();
    input.macroOnly = macroOnly_ || !key.isValid();
    const ScreenPoint place = PlaceCompositeWindow(input);
    move(area.x() + place.x, area.y() + place.y);
}

Page Quilvane_DlgComposite::CurrentPage() const {
    switch (kind_) {
        case kKindMacro:
            return Page::Macro;
        case kKindMultimedia:
            return Page::Media;
        case kKindFunction:
            return Page::Function;
        default:
            return Page::SingleKey;
    }
}

void Quilvane_DlgComposite::ShowPage(bool fromEntry) {
    const Page page = CurrentPage();
    Button(kIdMask)->SetSheetsOnly(sheets_.MaskSet(SheetGroupOf(page)));
    if (page != Page::SingleKey) {
        SetCaptureActive(false);
    }
    switch (page) {
        case Page::Macro:
            if (fromEntry) {
                page_->ShowMacroOfEntry(static_cast<uint16_t>(storedValue_ & kMacroIdMask));
            } else if (firstMacroPage_) {
                firstMacroPage_ = false;
                if (storedValue_ == 0) {
                    page_->SelectFirstMacro();
                }
            }
            break;
        case Page::Media:
            if (fromEntry) {
                mediaList_->setCurrentIndex(ListRowOf(*mediaList_, storedValue_));
            }
            break;
        case Page::Function:
            if (fromEntry) {
                functionList_->setCurrentIndex(ListRowOf(*functionList_, storedValue_));
            }
            break;
        case Page::SingleKey:
            ShowSingleKeyPage(fromEntry);
            break;
    }
    ShowPageControls(page);
}

void Quilvane_DlgComposite::ShowSingleKeyPage(bool fromEntry) {
    SetCaptureActive(true);
    if (fromEntry) {
        capturedKey_ = static_cast<keyboard::KeyCode>(storedValue_);
    }
    if (kind_ != kKindKey) {
        MakeKeyboardChoice();
        return;
    }
    const int mouseRow = MouseRowOf(capturedKey_);
    if (mouseRow >= 0) {
        mouseList_->setCurrentIndex(mouseRow);
        MakeMouseChoice();
        return;
    }
    if (capturedKey_ != keyboard::kNoKey) {
        keyBox_->setText(QString::fromStdString(keyboard::KeyNameOfCode(capturedKey_)));
    }
    MakeKeyboardChoice();
}

bool Quilvane_DlgComposite::KeyboardChoice() const {
    return keyboardChoice_->isChecked();
}

void Quilvane_DlgComposite::MakeKeyboardChoice() {
    keyBox_->setEnabled(true);
    mouseList_->setEnabled(false);
    keyboardChoice_->setChecked(true);
    mouseChoice_->setChecked(false);
    if (CurrentPage() == Page::SingleKey) {
        ShowPageControls(Page::SingleKey);
    }
}

void Quilvane_DlgComposite::MakeMouseChoice() {
    keyBox_->setEnabled(false);
    mouseList_->setEnabled(true);
    keyboardChoice_->setChecked(false);
    mouseChoice_->setChecked(true);
    if (CurrentPage() == Page::SingleKey) {
        ShowPageControls(Page::SingleKey);
    }
}

void Quilvane_DlgComposite::OnCommand(int controlId) {
    switch (controlId) {
        case kIdPageKey:
        case kIdPageMacro:
        case kIdPageMedia:
        case kIdPageFunction:
            OnPageButton(controlId);
            break;
        case kIdClear:
            OnClear();
            break;
        case kIdOsk:
            OnOnScreenKeyboard();
            break;
        case kIdKeyboardChoice:
            MakeKeyboardChoice();
            kind_ = kKindKey;
            break;
        case kIdMouseChoice:
            MakeMouseChoice();
            kind_ = kKindKey;
            break;
        case kIdApply:
            ApplyKeyAssignment();
            break;
        case kIdOk:
            OnOK();
            break;
        case kIdCancel:
            OnCancel();
            break;
        default:
            break;
    }
}

void Quilvane_DlgComposite::OnPageButton(int controlId) {
    if (controlId == kIdPageKey) {
        // Kinds 0 and 2 are the single-key page's own.
        if (kind_ != kKindKey && kind_ != kKindDefault) {
            kind_ = kKindKey;
            ShowPage(false);
            SetModified(true);
        }
        return;
    }
    const uint16_t kind = controlId == kIdPageMacro   ? kKindMacro
                          : controlId == kIdPageMedia ? kKindMultimedia
                                                      : kKindFunction;
    if (kind_ != kind) {
        kind_ = kind;
        ShowPage(false);
        SetModified(true);
    }
}

// Clear gives the key its own function back: the single-key page with no key.
void Quilvane_DlgComposite::OnClear() {
    OnPageButton(kIdPageKey);
    if (kind_ == kKindKey) {
        keyBox_->clear();
        kind_ = kKindDefault;
        MakeKeyboardChoice();
    }
}

void Quilvane_DlgComposite::OnOnScreenKeyboard() {
    host_.startOnScreenKeyboard();
}

void Quilvane_DlgComposite::ApplyKeyAssignment() {
    page_->PrepareApply();
    AssignmentChoice choice;
    choice.kind = kind_;
    choice.mouseChoice = mouseChoice_->isChecked();
    choice.capturedKey = capturedKey_;
    choice.mouseRow = mouseList_->currentIndex();
    choice.listRow =
        kind_ == kKindMultimedia ? mediaList_->currentIndex() : functionList_->currentIndex();
    KeyButtonView& view = host_.keyButtons != nullptr ? *host_.keyButtons : NoKeyButtonView();
    keyassign::ApplyKeyAssignment(editor_, choice, selection_, entryIndex_, view, *this);
    SetModified(false);
}

void Quilvane_DlgComposite::OnOK() {
    if (!IsOpen()) {
        return;
    }
    ApplyKeyAssignment();
    RunClosingSteps();
    skin::CBaseDialog::OnOK();
}

void Quilvane_DlgComposite::OnCancel() {
    if (!IsOpen()) {
        return;
    }
    RunClosingSteps();
    skin::CBaseDialog::OnCancel();
}

void Quilvane_DlgComposite::RunClosingSteps() {
    SetCaptureActive(false);
    page_->Close();
    SetModified(false);
    --openCount_;
    if (filterInstalled_) {
        qApp->removeEventFilter(this);
        filterInstalled_ = false;
    }
}

void Quilvane_DlgComposite::SetModified(bool modified) {
    modified_ = modified;
    Button(kIdApply)->setEnabled(modified);
}

void Quilvane_DlgComposite::MarkModified() {
    SetModified(true);
}

void Quilvane_DlgComposite::SetPendingChanges() {
    if (host_.setPendingChanges) {
        host_.setPendingChanges();
    }
}

}  // namespace qx::keyassign::window
