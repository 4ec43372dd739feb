#include "mainwnd/lighting_panel.h"

#include <QComboBox>
#include <QLabel>
#include <QSignalBlocker>
#include <QWidget>
#include <array>
#include <initializer_list>
#include <span>

#include "app/language.h"
#include "app/language_keys.h"
#include "lighting/lighting_layout.h"
#include "mainwnd/key_view.h"
#include "mainwnd/main_controls.h"
#include "mainwnd/main_ids.h"
#include "mainwnd/panel_picture.h"
#include "platform/data_folder.h"
#include "skin/picture_file.h"
#include "skin/placement.h"
#include "skin/png_button.h"
#include "skin/skin_files.h"
#include "skin/skin_palette.h"

namespace qx::mainwnd {
namespace {

namespace files = skin::files;

struct PanelControlKey {
    int id;
    std::string_view key;
};

constexpr std::array<PanelControlKey, 10> kPictures{{
    {kIdLamp, "CONTROL_DengStaPic"},
    {kIdBrightnessSlider, "CONTROL_LightSlider"},
    {kIdSpeedSlider, "CONTROL_SpeedSlider"},
    {kIdDirectionFirst, "CONTROL_BLFXLStaPic"},
    {kIdDirectionSecond, "CONTROL_BLFXRStaPic"},
    {kIdPaintTool, "CONTROL_USERgjStaPic1"},
    {kIdEraseTool, "CONTROL_USERgjStaPic2"},
    {kIdAllOff, "CONTROL_HXsjsStaPic"},
    {kIdAllOn, "CONTROL_LEDsjsStaPic"},
    {kIdProgress, "CONTROL_JDTStatic"},
}};

constexpr std::array<PanelControlKey, 8> kLabels{{
    {kIdLampLabel, "CONTROL_DengStatic"},
    {kIdBrightnessLabel, "CONTROL_LightStatic"},
    {kIdSpeedLabel, "CONTROL_SpeedStatic"},
    {kIdDirectionLabel, "CONTROL_BLFXStatic"},
    {kIdToolLabel, "CONTROL_USERgjStatic"},
    {kIdAllOffLabel, "CONTROL_HXsjsStatic"},
    {kIdAllOnLabel, "CONTROL_LEDsjsStatic"},
    {kIdReportLabel, "CONTROL_UsbStatic"},
}};

constexpr std::array<PanelControlKey, 2> kLists{{
    {kIdModeList, "CONTROL_XGcombox"},
    {kIdLayerList, "CONTROL_umCombo"},
}};

// Laid out from the skin, then never shown: the colour buttons, the random-colour, trigger and
// rainbow pictures and the four colour pictures, with their labels.
constexpr std::array<PanelControlKey, 17> kHiddenPictures{{
    {1152, "CONTROL_FYYSButton"},
    {1155, "CONTROL_HXysButton"},
    {1158, "CONTROL_JTysButton"},
    {1160, "CONTROL_USERysButton"},
    {1162, "CONTROL_USERjsButton"},
    {1187, "CONTROL_TSysButton"},
    {1191, "CONTROL_CDysButton"},
    {1175, "CONTROL_FYSJSStaPic"},
    {1183, "CONTROL_FYdjcfStaPic"},
    {1180, "CONTROL_FYggcfStaPic"},
    {1188, "CONTROL_TSsjsStaPic"},
    {1192, "CONTROL_CDsjsStaPic"},
    {1194, "CONTROL_HONGPIC"},
    {1195, "CONTROL_HUANGPIC"},
    {1196, "CONTROL_LVPIC"},
    {1197, "CONTROL_LANPIC"},
    {1176, "CONTROL_FYSJSStatic"},
}};
constexpr std::array<PanelControlKey, 12> kHiddenLabels{{
    {1151, "CONTROL_FYYSStatic"},
    {1154, "CONTROL_HXysStatic"},
    {1157, "CONTROL_JTysStatic"},
    {1159, "CONTROL_USERysStatic"},
    {1161, "CONTROL_USERjsStatic"},
    {1186, "CONTROL_TSysStatic"},
    {1190, "CONTROL_CDysStatic"},
    {1182, "CONTROL_FYCFStatic"},
    {1181, "CONTROL_FYdjcfStatic"},
    {1184, "CONTROL_FYggcfStatc"},
    {1189, "CONTROL_TSsjsStatic"},
    {1193, "CONTROL_CDsjsStatic"},
}};

// The hidden colour pictures show their plain colour.
constexpr std::array<std::pair<int, std::string_view>, 4> kColourPictures{{
    {1194, files::kRed},
    {1195, files::kYellow},
    {1196, files::kGreen},
    {1197, files::kBlue},
}};

// Section "LIGHT": which label shows which text.
struct LabelText {
    std::string_view key;
    std::initializer_list<int> ids;
};
const std::array<LabelText, 10>& LabelTexts() {
    static const std::array<LabelText, 10> texts{{
        {app::lang::kLightUsb, {kIdReportLabel}},
        {app::lang::kLightDeng, {kIdLampLabel}},
        {app::lang::kLightLight, {kIdBrightnessLabel}},
        {app::lang::kLightFX, {kIdDirectionLabel}},
        {app::lang::kLightSpeed, {kIdSpeedLabel}},
        {app::lang::kLightColor, {1151, 1154, 1159}},
        {app::lang::kLightJColor, {1161}},
        {app::lang::kLightDC, {kIdAllOffLabel, 1176}},
        {app::lang::kLightTool, {kIdToolLabel}},
        {app::lang::kLightLEDOFF, {kIdAllOnLabel}},
    }};
    return texts;
}

// Shown whatever the switch and the mode.
constexpr std::array kAlwaysShown{kIdLamp, kIdLampLabel, kIdProgress, kIdReportLabel};
constexpr std::array kBrightnessGroup{kIdBrightnessLabel, kIdBrightnessSlider};
constexpr std::array kSpeedGroup{kIdSpeedLabel, kIdSpeedSlider};
constexpr std::array kDirectionGroup{kIdDirectionLabel, kIdDirectionFirst, kIdDirectionSecond};
constexpr std::array kPerKeyGroup{kIdToolLabel, kIdPaintTool,   kIdEraseTool, kIdLayerList,
                                  kIdAllOff,    kIdAllOffLabel, kIdAllOn,     kIdAllOnLabel};

// The direction controls and their two skin places (the second for mode types 1, 2 and 3).
struct DirectionPlace {
    int id;
    std::string_view key;
    std::string_view alternativeKey;
};
constexpr std::array<DirectionPlace, 3> kDirectionPlaces{{
    {kIdDirectionLabel, "CONTROL_BLFXStatic", "CONTROL_BLFXStatic2"},
    {kIdDirectionFirst, "CONTROL_BLFXLStaPic", "CONTROL_BLFXLStaPic2"},
    {kIdDirectionSecond, "CONTROL_BLFXRStaPic", "CONTROL_BLFXRStaPic2"},
}};

std::string NumberedBitmap(int number) {
    return std::to_string(number) + std::string(files::kBitmapSuffix);
}

std::string ProgressBitmap(int frame) {
    return std::string(files::kProgressFramePrefix) + std::to_string(frame) +
           std::string(files::kBitmapSuffix);
}

}  // namespace

LightingPanel::LightingPanel(QWidget& window, KeyView& keyView, const MainControls& controls)
    : keyView_(keyView), controls_(controls) {
    for (const PanelControlKey& picture : kPictures) {
        AddPicture(window, picture.id);
    }
    for (const PanelControlKey& picture : kHiddenPictures) {
        AddPicture(window, picture.id);
    }
    for (const PanelControlKey& label : kLabels) {
        AddLabel(window, label.id);
    }
    for (const PanelControlKey& label : kHiddenLabels) {
        AddLabel(window, label.id);
    }
    modeList_ = new QComboBox(&window);
    layerList_ = new QComboBox(&window);
    controlsById_[kIdModeList] = modeList_;
    controlsById_[kIdLayerList] = layerList_;
    for (QComboBox* list : {modeList_, layerList_}) {
        list->setStyleSheet(skin::palette::PlainWidgetStyleSheet());
        list->hide();
    }
}

void LightingPanel::AddPicture(QWidget& window, int controlId) {
    auto* picture = new PanelPicture(&window);
    picture->hide();
    pictures_[controlId] = picture;
    controlsById_[controlId] = picture;
}

void LightingPanel::AddLabel(QWidget& window, int controlId) {
    auto* label = new QLabel(&window);
    label->setStyleSheet(skin::palette::PlainWidgetStyleSheet());
    label->hide();
    controlsById_[controlId] = label;
}

QWidget* LightingPanel::Control(int controlId) const {
    const auto found = controlsById_.find(controlId);
    return found == controlsById_.end() ? nullptr : found->second;
}

QString LightingPanel::PictureOf(int controlId) const {
    const auto found = pictures_.find(controlId);
    return found == pictures_.end() ? QString() : found->second->PictureName();
}

void LightingPanel::Place(const std::string& iniPath, const std::string& skinFolder) {
    iniPath_ = iniPath;
    skinFolder_ = skinFolder;
    bitmaps_.clear();
    for (const PanelControlKey& control : kPictures) {
        skin::PlaceControl(*Control(control.id), iniPath, control.key);
    }
    for (const PanelControlKey& control : kLabels) {
        skin::PlaceControl(*Control(control.id), iniPath, control.key);
    }
    for (const PanelControlKey& control : kLists) {
        skin::PlaceControl(*Control(control.id), iniPath, control.key);
    }
    for (const PanelControlKey& control : kHiddenPictures) {
        skin::PlaceControl(*Control(control.id), iniPath, control.key);
    }
    for (const PanelControlKey& control : kHiddenLabels) {
        skin::PlaceControl(*Control(control.id), iniPath, control.key);
    }
    ShowPicture(kIdBrightnessSlider, NumberedBitmap(files::kBrightnessChannelFirst));
    ShowPicture(kIdSpeedSlider, NumberedBitmap(files::kSpeedChannelFirst));
    ShowPicture(kIdPaintTool, files::kPaintReleased);
    ShowPicture(kIdEraseTool, files::kEraseReleased);
    ShowPicture(kIdAllOff, files::kCheckOff);
    ShowPicture(kIdAllOn, files::kCheckOff);
    for (const auto& [id, name] : kColourPictures) {
        ShowPicture(id, name);
    }
    switchOn_ = platform::ReadLightingPanelSwitch();
    ShowPicture(kIdLamp, switchOn_ ? files::kLampOn : files::kLampOff);
    ApplyLook();
}

const QPixmap& LightingPanel::Bitmap(std::string_view name) {
    const auto found = bitmaps_.find(name);
    if (found != bitmaps_.end()) {
        return found->second;
    }
    // A bitmap that cannot be loaded stays empty; nothing is reported.
    const QImage image =
        skin::DecodePictureFile(QString::fromStdString(skinFolder_ + std::string(name)));
    return bitmaps_.emplace(std::string(name), QPixmap::fromImage(image)).first->second;
}

void LightingPanel::ShowPicture(int controlId, std::string_view name) {
    const auto found = pictures_.find(controlId);
    if (found != pictures_.end()) {
        found->second->ShowPicture(QString::fromUtf8(name.data(), static_cast<int>(name.size())),
                                   Bitmap(name));
    }
}

void LightingPanel::ConnectControls(QObject& receiver, const std::function<void(int)>& onControl) {
    for (const auto& [id, picture] : pictures_) {
        QObject::connect(picture, &PanelPicture::clicked, &receiver,
                         [onControl, controlId = id] { onControl(controlId); });
    }
    for (QComboBox* list : {modeList_, layerList_}) {
        const int controlId = list == modeList_ ? kIdModeList : kIdLayerList;
        QObject::connect(list, &QComboBox::currentIndexChanged, &receiver,
                         [onControl, controlId] { onControl(controlId); });
    }
}

void LightingPanel::ApplyLabelTexts(int languageIndex) {
    for (const LabelText& text : LabelTexts()) {
        const QString value = QString::fromStdString(app::LoadLightText(text.key, languageIndex));
        for (const int id : text.ids) {
            if (auto* label = qobject_cast<QLabel*>(Control(id))) {
                label->setText(value);
            }
        }
    }
}

void LightingPanel::FillLayerList() {
    const QSignalBlocker blocker(layerList_);
    layerList_->clear();
    for (const std::string_view key : app::lang::kUserModeNames) {
        layerList_->addItem(QString::fromStdString(app::LangText(key)));
    }
}

void LightingPanel::StepProgress() {
    progressFrame_ = progressFrame_ % files::kProgressFrames + 1;
    ShowPicture(kIdProgress, ProgressBitmap(progressFrame_));
}

void LightingPanel::ClearProgress() {
    progressFrame_ = 0;
    pictures_.at(kIdProgress)->ShowPicture({}, QPixmap());
}

void LightingPanel::SetShown(int controlId, bool shown) {
    if (QWidget* control = Control(controlId)) {
        control->setVisible(shown);
    }
}

void LightingPanel::ApplyLook() {
    look_ = PanelLookFor(switchOn_, type_, direction_);
    for (const DirectionPlace& place : kDirectionPlaces) {
        skin::MoveControl(*Control(place.id), iniPath_,
                          look_.alternativePlace ? place.alternativeKey : place.key);
    }
    ShowPicture(kIdDirectionFirst, look_.firstPicture);
    ShowPicture(kIdDirectionSecond, look_.secondPicture);
    for (const auto& [id, control] : controlsById_) {
        control->hide();
    }
    const auto showGroup = [this](std::span<const int> ids, bool shown) {
        for (const int id : ids) {
            SetShown(id, shown);
        }
    };
    showGroup(kAlwaysShown, true);
    SetShown(kIdModeList, look_.modeList);
    showGroup(kBrightnessGroup, look_.brightness);
    showGroup(kSpeedGroup, look_.speed);
    showGroup(kDirectionGroup, look_.direction);
    showGroup(kPerKeyGroup, look_.perKey);
}

// ---- lighting::LightingView ------------------------------------------------------------------

void LightingPanel::ClearModeList() {
    const QSignalBlocker blocker(modeList_);
    modeList_->clear();
}

void LightingPanel::AddMode(int type, const std::string& name) {
    const QSignalBlocker blocker(modeList_);
    modeList_->addItem(QString::fromStdString(name), type);
}

void LightingPanel::SelectModeItem(int index) {
    const QSignalBlocker blocker(modeList_);
    modeList_->setCurrentIndex(index >= 0 && index < modeList_->count() ? index : -1);
}

void LightingPanel::ShowModeControls(int type, uint8_t direction) {
    type_ = type;
    direction_ = direction;
    ApplyLook();
}

void LightingPanel::SetSliderPositions(int brightnessPosition, int speedPosition) {
    ShowPicture(kIdBrightnessSlider,
                NumberedBitmap(files::kBrightnessChannelFirst + brightnessPosition));
    ShowPicture(kIdSpeedSlider, NumberedBitmap(files::kSpeedChannelFirst + speedPosition));
}

void LightingPanel::SelectLayerItem(int layer) {
    const QSignalBlocker blocker(layerList_);
    layerList_->setCurrentIndex(layer >= 0 && layer < layerList_->count() ? layer : -1);
}

void LightingPanel::ShowTool(int tool) {
    const bool paint = tool == lighting::kToolPaint;
    ShowPicture(kIdPaintTool, paint ? files::kPaintPressed : files::kPaintReleased);
    ShowPicture(kIdEraseTool, paint ? files::kEraseReleased : files::kErasePressed);
}

void LightingPanel::ShowLayerFill(lighting::LayerFill fill) {
    ShowPicture(kIdAllOn, fill == lighting::LayerFill::kAllOn ? files::kCheckOn : files::kCheckOff);
    ShowPicture(kIdAllOff,
                fill == lighting::LayerFill::kAllOff ? files::kCheckOn : files::kCheckOff);
}

void LightingPanel::ShowReportRate(int rate) {
    for (std::size_t i = 0; i < kIdReportButtons.size(); ++i) {
        if (skin::CPngButton* button = controls_.Button(kIdReportButtons[i])) {
            button->SetMarked(static_cast<int>(i) == rate);
        }
    }
}

void LightingPanel::ShowPanelSwitch(bool on) {
    switchOn_ = on;
    ShowPicture(kIdLamp, on ? files::kLampOn : files::kLampOff);
    ApplyLook();
}

void LightingPanel::SetKeyFrame(int controlId, bool lit) {
    keyView_.SetKeyFrame(controlId, lit);
}

void LightingPanel::ClearFrames() {
    keyView_.ClearFrames();
}

}  // namespace qx::mainwnd
