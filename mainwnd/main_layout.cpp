#include "mainwnd/main_layout.h"

#include <QString>
#include <array>
#include <string_view>

#include "keyboard/key_buttons.h"
#include "lang/language.h"
#include "lang/language_keys.h"
#include "mainwnd/flip_state.h"
#include "mainwnd/link_targets.h"
#include "mainwnd/main_controls.h"
#include "mainwnd/main_ids.h"
#include "skin/font_faces.h"
#include "skin/placement.h"
#include "skin/png_button.h"
#include "skin/skin_keys.h"

namespace qx::mainwnd {
namespace {

struct ButtonPlace {
    std::string_view key;
    int id;
    const SheetPattern* pattern;
};

// The buttons outside the keyboard view, with their skin keys and sheets.
const std::array<ButtonPlace, 29>& CommandPlaces() {
    static const std::array<ButtonPlace, 29> places{{
        {"KORVEL_LINK", kIdWebLink, &kLinkPattern},
        {"FACEBOOK_LINK", kIdFacebookLink, &kLinkPattern},
        {"TWITTER_LINK", kIdTwitterLink, &kLinkPattern},
        {"FUNC_PROFILES", kIdProfiles, &kCommandPattern},
        {"FUNC_MACRO", kIdMacro, &kCommandPattern},
        {"CONTROL_OK", kIdOk, &kCommandPattern},
        {"CONTROL_CANCEL", kIdCancel, &kCommandPattern},
        {"CONTROL_HELP", kIdHelp, &kCommandPattern},
        {"CONTROL_CLOSE", kIdClose, &kCommandPattern},
        {"CONTROL_MINIMIZE", kIdMinimize, &kCommandPattern},
        {"CONTROL_MENU", kIdMenu, &kCommandPattern},
        {"CONTROL2_APPLY", kIdApply, &kApplyPattern},
        {"LOCK_CAPS", kIdCapsLock, &kIndicatorPattern},
        {"LOCK_NUM", kIdNumLock, &kIndicatorPattern},
        {"LOCK_SCROLL", kIdScrollLock, &kIndicatorPattern},
        {"LOCK_AB", kIdBankIndicator, &kIndicatorPattern},
        {"FLIP_1", kIdFlip1, &kKeyPattern},
        {"FLIP_2", kIdFlip2, &kKeyPattern},
        {"KORVEL_VER", kIdVersion, &kPlainPattern},
        {"FUNC_PROFILE1", kIdProfileButtons[0], &kKeyPattern},
        {"FUNC_PROFILE2", kIdProfileButtons[1], &kKeyPattern},
        {"FUNC_PROFILE3", kIdProfileButtons[2], &kKeyPattern},
        {"FUNC_DEFAULT", kIdDefault, &kKeyPattern},
        {"FUNC_REPORT1", kReportRateButtonIds[0], &kKeyPattern},
        {"FUNC_REPORT2", kReportRateButtonIds[1], &kKeyPattern},
        {"FUNC_REPORT3", kReportRateButtonIds[2], &kKeyPattern},
        {"FUNC_REPORT4", kReportRateButtonIds[3], &kKeyPattern},
        {"KEY_FN", kIdFn, &kKeyPattern},
        {"FLIP_0", kIdFlip0, &kPlainPattern},  // its sheets follow the flip setting
    }};
    return places;
}

// Tooltips given with the placement (the language message renews those of minimize, menu and
// close).
struct PlacedTooltip {
    int id;
    std::string_view textKey;
};
constexpr std::array<PlacedTooltip, 4> kPlacedTooltips{{
    {kIdHelp, lang::kMainHelpPrompt},
    {kIdClose, lang::kMainClosePrompt},
    {kIdMinimize, lang::kMainMinimizePrompt},
    {kIdMenu, lang::kMainMenuPrompt},
}};

QString FaceName(std::string_view face) {
    return QString::fromUtf8(face.data(), static_cast<int>(face.size()));
}

}  // namespace

MainLayout::MainLayout(const MainControls& controls, const MainSheets& sheets)
    : controls_(controls), sheets_(sheets) {}

void MainLayout::PlaceAll(const std::string& iniPath, const LinkTargets& links) {
    iniPath_ = iniPath;
    unused_.clear();
    PlaceKeyboardView();
    PlaceCommandButtons(links);
    ApplyTextSettings();
    ApplyFlipState();
}

void MainLayout::Place(int controlId, const std::string& key, const SheetPattern& pattern) {
    skin::CPngButton* button = controls_.Button(controlId);
    if (button == nullptr) {
        return;
    }
    const skin::SkinRect rect =
        skin::PlaceImageButton(*button, iniPath_, key, sheets_.Set(pattern));
    if (rect.IsUnused()) {
        unused_.insert(controlId);
    }
}

void MainLayout::PlaceOutsideSkin(int controlId, const SheetPattern& pattern) {
    skin::CPngButton* button = controls_.Button(controlId);
    const skin::SkinRect rect = skin::ParseSkinRect(skin::kDefaultRectText);
    button->setGeometry(rect.x, rect.y, rect.w, rect.h);
    button->SetSheets(rect.x, rect.y, sheets_.Set(pattern));
}

void MainLayout::PlaceKeyboardView() {
    for (int g = 0; g < keyboard::kGKeyButtonCount; ++g) {
        Place(keyboard::kGKeyButtonIds[static_cast<std::size_t>(g)], skin::GKeySkinKey(g + 1),
              kKeyPattern);
    }
    for (const keyboard::KeyButton& key : keyboard::KeyButtons()) {
        Place(key.controlId, skin::KeyButtonSkinKey(keyboard::KeyIndexOfCode(key.keyCode)),
              kKeyPattern);
    }
    // The D buttons have no key in the skin: they sit 1 × 1 at 1,1 and only the flip setting
    // enables or disables them.
    for (const int id : kIdD1ToD6) {
        PlaceOutsideSkin(id, kKeyPattern);
    }
}

void MainLayout::PlaceCommandButtons(const LinkTargets& links) {
    for (const ButtonPlace& place : CommandPlaces()) {
        Place(place.id, std::string(place.key), *place.pattern);
    }
    for (const int id : {kIdWebLink, kIdFacebookLink, kIdTwitterLink}) {
        controls_.Button(id)->SetTooltip(QString::fromStdString(LinkTargetOf(links, id)), true);
    }
    for (const PlacedTooltip& tip : kPlacedTooltips) {
        controls_.Button(tip.id)->SetTooltip(QString::fromStdString(lang::LangText(tip.textKey)),
                                             true);
    }
}

void MainLayout::ApplyTextSettings() {
    skin::CPngButton* profiles = controls_.Button(kIdProfiles);
    profiles->SetTextStyle(true, kCaptionPoints, FaceName(skin::kFaceArialUnicode), kCaptionWhite,
                           kCaptionWhite, kCaptionWhite, kCaptionGrey, kCaptionWhite);
    skin::CPngButton* version = controls_.Button(kIdVersion);
    version->setText(QString());
    version->SetTextStyle(true, kVersionPoints, FaceName(skin::kFaceVerdanaUnicode), kCaptionWhite,
                          kCaptionWhite, kCaptionWhite, kCaptionGrey, kCaptionWhite);
    version->setEnabled(false);
}

void MainLayout::ApplyCaptionStyle(int controlId) {
    if (skin::CPngButton* button = controls_.Button(controlId)) {
        button->SetTextStyle(true, kCaptionPoints, FaceName(skin::kFaceArialUnicode), kCaptionWhite,
                             kCaptionWhite, kCaptionWhite, kCaptionGrey, kCaptionWhite);
    }
}

void MainLayout::ApplyFlipState() {
    ApplyFlipState(ReadFlip());
}

void MainLayout::ApplyFlipState(bool flipOn) {
    flipOn_ = flipOn;
    // A button the skin leaves unused stays disabled whatever the flip state.
    for (const int id : FlipEnabledButtons(flipOn)) {
        controls_.Button(id)->setEnabled(!IsUnused(id));
    }
    for (const int id : FlipDisabledButtons(flipOn)) {
        controls_.Button(id)->setEnabled(false);
    }
    const Sheet face = flipOn ? Sheet::kNormal2 : Sheet::kNormal;
    controls_.Button(kIdFlip0)->SetSheetsOnly(
        sheets_.Set(SheetPattern{face, face, face, face, Sheet::kDisable}));
    PlaceArrows(kArrowFrameNormal);
}

void MainLayout::PlaceArrows(int frame) {
    arrowFrame_ = frame;
    const skin::SkinSheet* arrow = sheets_.Get(Sheet::kArrow);
    skin::PlaceArrowButton(*controls_.Button(kIdLeftArrow), iniPath_, "LEFT_ARROW",
                           LeftArrowSheetKey(flipOn_, frame), arrow);
    skin::PlaceArrowButton(*controls_.Button(kIdRightArrow), iniPath_, "RIGHT_ARROW",
                           RightArrowSheetKey(flipOn_, frame), arrow);
}

void MainLayout::RestoreKeySheets(int controlId) {
    if (skin::CPngButton* button = controls_.Button(controlId)) {
        button->SetSheetsOnly(sheets_.Set(kKeyPattern));
    }
}

}  // namespace qx::mainwnd
