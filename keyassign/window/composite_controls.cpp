// The controls of the key assignment window, their places in "Skins/Composite.ini" and which page
// shows which.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <array>
#include <string_view>

#include "keyassign/window/drop_down_list.h"
#include "keyassign/window/quilvane_dlg_composite.h"
#include "keyboard/key_code.h"
#include "keyboard/key_names.h"
#include "keyboard/media_tables.h"
#include "lang/language.h"
#include "lang/language_keys.h"
#include "skin/placement.h"
#include "skin/png_button.h"
#include "skin/skin_palette.h"

namespace qx::keyassign::window {
namespace {

struct Placed {
    int id;
    std::string_view key;
};

// Image buttons, cut from the current sheets at their own place: the mask first, so that every
// other control lies above it.
constexpr std::array<Placed, 11> kImageButtons{{
    {kIdMask, "CONTROL_MASK"},
    {kIdTitle, "CONTROL_TITLE"},
    {kIdOsk, "CONTROL_OSK"},
    {kIdClear, "CONTROL_CLEAR"},
    {kIdPageMedia, "CONTROL_MEDIA"},
    {kIdPageMacro, "CONTROL_MACRO"},
    {kIdPageKey, "CONTROL_KEY"},
    {kIdPageFunction, "CONTROL_FUNCTION"},
    {kIdOk, "CONTROL_OK"},
    {kIdCancel, "CONTROL_CANCEL"},
    {kIdApply, "CONTROL2_APPLY"},
}};

// Plain controls, placed only.
constexpr std::array<Placed, 12> kPlacedControls{{
    {kIdCountLabel, "FUNC_MACRO_CYCLES_PROMPT"},
    {kIdSingleLabel, "TISHI_SINGLE_STATIC"},
    {kIdHeading, "KEY_SETTING"},
    {kIdMediaLabel, "MEDIA_SETTING_TISHI"},
    {kIdFunctionLabel, "FUNCTION_KEY_SETTING_TISHI"},
    {kIdKeyBox, "FUNC_KEY_INPUT"},
    {kIdMediaList, "FUNC_MEDIA_SELECT"},
    {kIdFunctionList, "FUNC_FUNCTION_SELECT"},
    {kIdKeyboardChoice, "FUNC_KEY_RADIO_KB"},
    {kIdKeyboardChoiceLabel, "FUNC_KEY_RADIO_KB_STATIC"},
    {kIdMouseChoice, "FUNC_KEY_RADIO_MOU"},
    {kIdMouseChoiceLabel, "FUNC_KEY_RADIO_MOU_STATIC"},
}};
// The mouse list has no place of its own: it takes the key box's place while the mouse choice is
// made.
constexpr std::string_view kMouseListKey = "FUNC_KEY_INPUT";

constexpr std::array<int, 6> kSingleKeyControls{kIdSingleLabel,    kIdKeyBox,
                                                kIdKeyboardChoice, kIdKeyboardChoiceLabel,
                                                kIdMouseChoice,    kIdMouseChoiceLabel};

constexpr std::array<int, 5> kReenabledButtons{kIdPageKey, kIdPageMacro, kIdPageMedia,
                                               kIdPageFunction, kIdClear};

}  // namespace

skin::CPngButton* Quilvane_DlgComposite::AddButton(int controlId) {
    auto* button = new skin::CPngButton(this);
    button->setFocusPolicy(Qt::NoFocus);
    controls_[controlId] = button;
    buttons_[controlId] = button;
    return button;
}

QLabel* Quilvane_DlgComposite::AddLabel(int controlId) {
    auto* label = new QLabel(this);
    controls_[controlId] = label;
    return label;
}

QComboBox* Quilvane_DlgComposite::AddList(int controlId) {
    auto* list = new DropDownList(this);
    controls_[controlId] = list;
    return list;
}

void Quilvane_DlgComposite::CreateControls() {
    for (const Placed& placed : kImageButtons) {
        AddButton(placed.id);
    }
    // The mask is the page's background: no command, no hover face; a press on it drags the
    // window like one on the background.
    Button(kIdMask)->setAttribute(Qt::WA_TransparentForMouseEvents);
    focusTimer_ = new QTimer(this);
    focusTimer_->setSingleShot(true);
    focusTimer_->setInterval(0);
    connect(focusTimer_, &QTimer::timeout, this, [this] { FocusPageControl(); });
    Button(kIdMask)->SetDrawCallback([this](skin::CPngButton&, bool) { OnMaskDrawn(); });
    Button(kIdTitle)->setAttribute(Qt::WA_TransparentForMouseEvents);
    for (const int id : {kIdHeading, kIdCountLabel, kIdSingleLabel, kIdKeyboardChoiceLabel,
                         kIdMouseChoiceLabel, kIdMediaLabel, kIdFunctionLabel}) {
        AddLabel(id);
    }
    keyBox_ = new QLineEdit(this);
    keyBox_->setReadOnly(true);
    keyBox_->setAlignment(Qt::AlignCenter);
    keyBox_->setContextMenuPolicy(Qt::NoContextMenu);
    controls_[kIdKeyBox] = keyBox_;
    keyboardChoice_ = new QCheckBox(this);
    mouseChoice_ = new QCheckBox(this);
    // The page's own control keeps the focus (each drawing of the mask gives it back): a choice
    // that took it on a press would lose it again before the release, and the click with it.
    keyboardChoice_->setFocusPolicy(Qt::NoFocus);
    mouseChoice_->setFocusPolicy(Qt::NoFocus);
    controls_[kIdKeyboardChoice] = keyboardChoice_;
    controls_[kIdMouseChoice] = mouseChoice_;
    mouseList_ = AddList(kIdMouseList);
    mediaList_ = AddList(kIdMediaList);
    mediaList_->setMaxVisibleItems(keyboard::kMultimediaCount);
    functionList_ = AddList(kIdFunctionList);
    functionList_->setMaxVisibleItems(static_cast<int>(lang::kFunctionKeyDescriptions.size()));
    setStyleSheet(skin::palette::PlainWidgetStyleSheet());
    ConnectControls();
}

void Quilvane_DlgComposite::ConnectControls() {
    for (const auto& [id, button] : buttons_) {
        if (id != kIdMask && id != kIdTitle) {
            connect(button, &QAbstractButton::clicked, this, [this, id = id] { OnCommand(id); });
        }
    }
    for (QCheckBox* choice : {keyboardChoice_, mouseChoice_}) {
        const int id = choice == keyboardChoice_ ? kIdKeyboardChoice : kIdMouseChoice;
        connect(choice, &QAbstractButton::clicked, this, [this, id] { OnCommand(id); });
    }
    // A row the user picks is a change to apply.
    for (QComboBox* list : {mouseList_, mediaList_, functionList_}) {
        connect(list, &QComboBox::activated, this, [this] { SetModified(true); });
    }
}

void Quilvane_DlgComposite::PlaceControls() {
    const std::string& ini = IniPath();
    const skin::SheetSet keySheets = sheets_.Set(SheetGroup::Key);
    // Macro editing alone disabled some of them at the last opening; a skin that leaves a
    // button unused disables it again here.
    for (const int id : kReenabledButtons) {
        Button(id)->setEnabled(true);
    }
    for (const Placed& placed : kImageButtons) {
        const skin::SheetSet sheets =
            placed.id == kIdMask ? sheets_.MaskSet(SheetGroup::Key) : keySheets;
        skin::PlaceImageButton(*Button(placed.id), ini, placed.key, sheets);
    }
    for (const Placed& placed : kPlacedControls) {
        skin::PlaceControl(*Control(placed.id), ini, placed.key);
    }
    skin::PlaceControl(*mouseList_, ini, kMouseListKey);
}

// The lists' names are made again only in another language; each opening selects row 0.
void Quilvane_DlgComposite::FillLists() {
    const int language = lang::GetLanguageIndex();
    if (language != listsLanguage_) {
        listsLanguage_ = language;
        mediaList_->clear();
        for (const keyboard::MultimediaEntry& entry : keyboard::kMultimediaList) {
            mediaList_->addItem(QString::fromStdString(keyboard::KeyNameOfCode(entry.keyCode)));
        }
        functionList_->clear();
        for (const std::string_view key : lang::kFunctionKeyDescriptions) {
            functionList_->addItem(QString::fromStdString(lang::LoadLangText(key, language)));
        }
        mouseList_->clear();
        for (const keyboard::KeyCode code : keyboard::kMouseCodes) {
            mouseList_->addItem(QString::fromStdString(keyboard::KeyNameOfCode(code)));
        }
    }
    mediaList_->setCurrentIndex(0);
    functionList_->setCurrentIndex(0);
    mouseList_->setCurrentIndex(0);
}

void Quilvane_DlgComposite::ShowPageControls(Page page) {
    const bool singleKey = page == Page::SingleKey;
    for (const int id : kSingleKeyControls) {
        Control(id)->setVisible(singleKey);
    }
    // The key box and the mouse list share a place: the choice made shows one of them.
    keyBox_->setVisible(singleKey && !mouseChoice_->isChecked());
    mouseList_->setVisible(singleKey && mouseChoice_->isChecked());
    Control(kIdMediaLabel)->setVisible(page == Page::Media);
    mediaList_->setVisible(page == Page::Media);
    Control(kIdFunctionLabel)->setVisible(page == Page::Function);
    functionList_->setVisible(page == Page::Function);
    // Hiding the macro page stops a running recording.
    if (page == Page::Macro) {
        page_->Show();
    } else {
        page_->Hide();
    }
    MarkPageButton(page);
}

void Quilvane_DlgComposite::MarkPageButton(Page page) {
    for (std::size_t i = 0; i < kPageButtonIds.size(); ++i) {
        Button(kPageButtonIds[i])->SetMarked(static_cast<std::size_t>(page) == i);
    }
}

// After every drawing of the mask the page's own control takes the focus, once the painting is
// over. The controls above the mask need no call of their own: the mask's area is drawn with
// everything that lies over it.
void Quilvane_DlgComposite::OnMaskDrawn() {
    if (IsOpen() && !focusTimer_->isActive()) {
        focusTimer_->start();
    }
}

void Quilvane_DlgComposite::FocusPageControl() {
    QWidget* target = nullptr;
    switch (CurrentPage()) {
        case Page::SingleKey:
            target = keyBox_->isVisible() ? static_cast<QWidget*>(keyBox_) : mouseList_;
            break;
        case Page::Media:
            target = mediaList_;
            break;
        case Page::Function:
            target = functionList_;
            break;
        case Page::Macro:
            break;
    }
    if (target != nullptr && target->isVisible() && !target->hasFocus()) {
        target->setFocus(Qt::OtherFocusReason);
    }
}

QWidget* Quilvane_DlgComposite::Control(int controlId) const {
    const auto found = controls_.find(controlId);
    if (found != controls_.end()) {
        return found->second;
    }
    return page_ ? page_->Control(controlId) : nullptr;
}

skin::CPngButton* Quilvane_DlgComposite::Button(int controlId) const {
    const auto found = buttons_.find(controlId);
    return found == buttons_.end() ? nullptr : found->second;
}

}  // namespace qx::keyassign::window
