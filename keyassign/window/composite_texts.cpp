// The language, fonts and colours of the key assignment window.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <array>
#include <string_view>

#include "keyassign/window/quilvane_dlg_composite.h"
#include "lang/language.h"
#include "lang/language_keys.h"
#include "skin/font_faces.h"
#include "skin/png_button.h"
#include "skin/skin_font.h"
#include "skin/skin_palette.h"

namespace qx::keyassign::window {

namespace {

constexpr double kKeyBoxPoints = 18;
constexpr double kListPoints = 12;
constexpr double kActionListPoints = 8;
constexpr double kLabelPoints = 10.8;
constexpr int kCaptionPoints = 9;
constexpr skin::ColorRef kCaptionWhite = 0xFFFFFF;
constexpr skin::ColorRef kCaptionGrey = 0x7F7F7F;
constexpr unsigned kCaptionFormat = 0x25;  // centred on one line

constexpr std::array<int, 7> kLabelFontIds{
    kIdSingleLabel,   kIdMacroNameLabel,      kIdHeading,         kIdMediaLabel,
    kIdFunctionLabel, kIdKeyboardChoiceLabel, kIdMouseChoiceLabel};
// The labels drawn on the page in the skin's label colour, and the check boxes with them.
constexpr std::array<int, 12> kColouredIds{
    kIdCountLabel,    kIdRecordDelayLabel, kIdKeyboardChoiceLabel, kIdMouseChoiceLabel,
    kIdHeading,       kIdMacroNameLabel,   kIdSingleLabel,         kIdMediaLabel,
    kIdFunctionLabel, kIdRecordDelay,      kIdKeyboardChoice,      kIdMouseChoice};
// Buttons whose captions are drawn over their faces.
constexpr std::array<int, 7> kCaptionedIds{kIdPageKey, kIdPageMacro, kIdPageMedia, kIdPageFunction,
                                           kIdOk,      kIdCancel,    kIdApply};

QString FaceName(std::string_view face) {
    return QString::fromUtf8(face.data(), static_cast<qsizetype>(face.size()));
}

}  // namespace

std::string Quilvane_DlgComposite::Text(std::string_view key) const {
    return lang::LoadLangText(key, languageIndex_);
}

void Quilvane_DlgComposite::MakeFonts() {
    if (fonts_) {
        return;
    }
    const int dpi = logicalDpiY();
    const std::string_view face = skin::kFaceArialUnicode;
    fonts_ = std::make_unique<Fonts>(Fonts{
        skin::MakeSkinFont(face, kKeyBoxPoints, dpi), skin::MakeSkinFont(face, kListPoints, dpi),
        skin::MakeSkinFont(face, kListPoints, dpi), skin::MakeSkinFont(face, kListPoints, dpi),
        skin::MakeSkinFont(face, kActionListPoints, dpi),
        skin::MakeSkinFont(face, kLabelPoints, dpi)});
}

void Quilvane_DlgComposite::ApplyFonts() {
    keyBox_->setFont(fonts_->keyBox);
    mediaList_->setFont(fonts_->lists);
    mouseList_->setFont(fonts_->lists);
    functionList_->setFont(fonts_->functions);
    if (QWidget* selector = Control(kIdMacroSelector)) {
        selector->setFont(fonts_->selector);
    }
    if (QWidget* actions = Control(kIdActionList)) {
        actions->setFont(fonts_->actions);
    }
}

void Quilvane_DlgComposite::ApplyLabelFonts() {
    for (const int id : kLabelFontIds) {
        if (QWidget* label = Control(id)) {
            label->setFont(fonts_->labels);
        }
    }
}

void Quilvane_DlgComposite::ApplyLabelColours() {
    for (const int id : kColouredIds) {
        if (QWidget* label = Control(id)) {
            skin::palette::ApplyLabelColours(*label);
        }
    }
}

void Quilvane_DlgComposite::SetStaticTooltips() {
    Button(kIdClear)->SetTooltip(QString::fromStdString(Text(lang::kCompositePromptClear)), true);
    Button(kIdOsk)->SetTooltip(QString::fromStdString(Text(lang::kCompositePromptOsk)), true);
}

void Quilvane_DlgComposite::ApplyTextStyles() {
    for (const int id : kCaptionedIds) {
        Button(id)->SetTextStyle(true, kCaptionPoints, FaceName(skin::kFaceArialUnicode),
                                 kCaptionWhite, kCaptionWhite, kCaptionWhite, kCaptionGrey,
                                 kCaptionWhite, kCaptionFormat);
    }
}

void Quilvane_DlgComposite::ApplyLanguage(int languageIndex) {
    languageIndex_ = languageIndex;
    textsMacroOnly_ = macroOnly_;
    textsShown_ = true;
    const auto text = [this](std::string_view key) { return QString::fromStdString(Text(key)); };
    // Macro editing alone shows the macro page only: the other page buttons have no caption.
    const auto pageText = [&](std::string_view key) { return macroOnly_ ? QString() : text(key); };
    Button(kIdPageKey)->setText(pageText(lang::kSingleKey));
    Button(kIdPageMedia)->setText(pageText(lang::kMultiMedia));
    Button(kIdPageFunction)->setText(pageText(lang::kFunctionKey));
    Button(kIdPageMacro)->setText(text(lang::kMacroSetting));
    Button(kIdOk)->setText(text(lang::kMacroOk));
    Button(kIdCancel)->setText(text(lang::kMacroCancle));
    Button(kIdApply)->setText(text(lang::kProfileApply));
    SetStaticTooltips();
    const std::array<std::pair<int, std::string_view>, 7> labels{{
        {kIdKeyboardChoiceLabel, lang::kIdsMacroKbKey},
        {kIdMouseChoiceLabel, lang::kIdsMacroMouKey},
        {kIdCountLabel, lang::kMacroCycles},
        {kIdSingleLabel, lang::kSingleStatic},
        {kIdHeading, macroOnly_ ? lang::kMacroEditTishi : lang::kKeySettingTishi},
        {kIdMediaLabel, lang::kMediaEditTishi},
        {kIdFunctionLabel, lang::kFunctionTishi},
    }};
    for (const auto& [id, key] : labels) {
        static_cast<QLabel*>(Control(id))->setText(text(key));
    }
    // The desktop names the window by its heading (task switchers, window lists).
    setWindowTitle(static_cast<QLabel*>(Control(kIdHeading))->text());
    ApplyTextStyles();
    page_->ApplyLanguage(languageIndex);
    MakeFonts();
    ApplyLabelFonts();
}

}  // namespace qx::keyassign::window
