// The panel's controls: making and placing them, and what the user's clicks, selections and the
// main window's calls do with the lighting model.
#include "lighting/panel/lighting_panel.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QWidget>

#include "lang/language.h"
#include "lang/language_keys.h"
#include "lighting/lighting_layout.h"
#include "lighting/lighting_model.h"
#include "lighting/panel/bitmap_slider.h"
#include "lighting/panel/panel_look.h"
#include "lighting/panel/panel_picture.h"
#include "skin/font_faces.h"
#include "skin/placement.h"
#include "skin/skin_files.h"
#include "skin/skin_font.h"
#include "skin/skin_palette.h"

namespace qx::lighting::panel {
namespace {

// Label and list texts are drawn in the skin's caption face; the report-rate label sits over the
// small report-rate buttons and is a size smaller.
constexpr double kTextPoints = 9;
constexpr double kReportRateLabelPoints = 8;

bool IsArrowKey(int key) {
    return key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down;
}

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

// The slider a slider message names; 0 for anything else.
int SliderIdOf(platform::MessageWParam wParam) {
    for (const int id : {kIdBrightnessSlider, kIdSpeedSlider}) {
        if (wParam == static_cast<platform::MessageWParam>(id)) {
            return id;
        }
    }
    return 0;
}

}  // namespace

LightingPanel::LightingPanel(QWidget& window, PanelSkin skin, LightingPanelHost& host)
    : host_(host), skin_(std::move(skin)) {
    bitmaps_.Load(skin_.folder);
    CreateControls(window);
    ReadDirectionPlaces();
    ShowStartPictures();
    ConnectControls();
    ApplyLook();
}

LightingPanel::~LightingPanel() = default;

void LightingPanel::SetModel(LightingModel* model) {
    model_ = model;
}

// ---- Making and placing the controls ------------------------------------------------------------

void LightingPanel::CreateControls(QWidget& window) {
    for (const PanelControl& control : PanelControls()) {
        QWidget* widget = CreateControl(window, control);
        skin::PlaceControl(*widget, skin_.iniPath, control.skinKey);
        widget->hide();
        controls_[control.id] = widget;
    }
}

QWidget* LightingPanel::CreateControl(QWidget& window, const PanelControl& control) {
    switch (control.kind) {
        case ControlKind::kPicture: {
            auto* picture = new PanelPicture(control.id, &window);
            pictures_[control.id] = picture;
            return picture;
        }
        case ControlKind::kLabel:
            return CreateLabel(window, control.id);
        case ControlKind::kList: {
            QComboBox* list = CreateList(window);
            (control.id == kIdModeList ? modeList_ : layerList_) = list;
            return list;
        }
        case ControlKind::kSlider: {
            auto* slider = new BitmapSlider(
                control.id, [this] { return host_.WindowTarget(); }, &window);
            sliders_[control.id] = slider;
            return slider;
        }
        case ControlKind::kColourButton:
            break;
    }
    return new QPushButton(&window);
}

QLabel* LightingPanel::CreateLabel(QWidget& window, int controlId) {
    auto* label = new QLabel(&window);
    const double points = controlId == kIdReportRateLabel ? kReportRateLabelPoints : kTextPoints;
    label->setFont(skin::MakeSkinFont(skin::kFaceArialUnicode, points, window.logicalDpiY()));
    skin::palette::ApplyLabelColours(*label);
    label->setAttribute(Qt::WA_TranslucentBackground);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return label;
}

QComboBox* LightingPanel::CreateList(QWidget& window) {
    auto* list = new QComboBox(&window);
    list->setFont(skin::MakeSkinFont(skin::kFaceArialUnicode, kTextPoints, window.logicalDpiY()));
    list->setStyleSheet(skin::palette::ListStyleSheet());
    list->setFocusPolicy(Qt::StrongFocus);
    return list;
}

void LightingPanel::ReadDirectionPlaces() {
    for (const std::string_view key : DirectionPlaceKeys()) {
        const skin::SkinRect rect = skin::ReadSkinRect(skin_.iniPath, key);
        directionPlaces_[std::string(key)] = QPoint(rect.x, rect.y);
    }
}

void LightingPanel::ShowStartPictures() {
    ShowPicture(kIdLamp, LampPicture(false));
    ShowTool(kToolPaint);
    ShowLayerFill(LayerFill::kNeither);
    ShowHiddenChecks();
    ShowPicture(kIdSingleKeyTrigger, CheckPicture(false));
    ShowPicture(kIdGridTrigger, CheckPicture(false));
    namespace files = skin::files;
    const std::array<std::string_view, 4> colours{files::kRed, files::kYellow, files::kGreen,
                                                  files::kBlue};
    for (std::size_t i = 0; i < colours.size(); ++i) {
        ShowPicture(kIdColourPictures[i], colours[i]);
    }
    ShowPicture(kIdProgress, ProgressFramePicture(progressFrame_));
    for (const auto& [id, slider] : sliders_) {
        const SliderChannel channel =
            id == kIdBrightnessSlider ? SliderChannel::kBrightness : SliderChannel::kSpeed;
        BitmapSlider::Channels channels;
        for (int position = 0; position < kSliderPositionCount; ++position) {
            const std::string name = SliderChannelPicture(channel, position);
            channels[static_cast<std::size_t>(position)] = {Text(name), bitmaps_.Get(name)};
        }
        slider->SetChannels(std::move(channels));
    }
}

void LightingPanel::ConnectControls() {
    for (const auto& [id, picture] : pictures_) {
        QObject::connect(picture, &PanelPicture::clicked, this,
                         [this](int controlId) { OnPictureClicked(controlId); });
    }
    // Only the user's choices count: the program's own selections (refresh) change nothing.
    QObject::connect(modeList_, &QComboBox::activated, this,
                     [this](int index) { OnModeChosen(index); });
    QObject::connect(layerList_, &QComboBox::activated, this,
                     [this](int index) { OnLayerChosen(index); });
    modeList_->installEventFilter(this);
}

bool LightingPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched != modeList_) {
        return QObject::eventFilter(watched, event);
    }
    switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
            return IsArrowKey(static_cast<QKeyEvent*>(event)->key());
        case QEvent::Wheel:
            // The closed list would step to the next mode and write it; the open one scrolls.
            return !modeList_->view()->isVisible();
        default:
            return QObject::eventFilter(watched, event);
    }
}

// ---- Calls of the main window -------------------------------------------------------------------

void LightingPanel::ApplyLanguage(int languageIndex) {
    for (const LabelText& label : PanelLabelTexts()) {
        if (auto* widget = qobject_cast<QLabel*>(Control(label.id))) {
            widget->setText(Text(lang::LoadLightText(label.lightKey, languageIndex)));
        }
    }
}

void LightingPanel::FillLayerList(int languageIndex) {
    layerList_->clear();
    for (const std::string_view key : lang::kUserModeNames) {
        layerList_->addItem(Text(lang::LoadLangText(key, languageIndex)));
    }
    SelectLayerItem(layer_);
}

void LightingPanel::Refresh() {
    if (model_ == nullptr) {
        return;
    }
    model_->RefreshPanel();
    ShowHiddenChecks();
}

void LightingPanel::RefreshAfterKeyboardChange() {
    if (model_ == nullptr) {
        return;
    }
    model_->RefreshLightingRecords();
    Refresh();
}

platform::MessageResult LightingPanel::HandleSliderMessage(platform::MessageWParam wParam,
                                                           platform::MessageLParam lParam) {
    const int sliderId = SliderIdOf(wParam);
    if (sliderId == 0 || lParam < kSliderFirstPosition || lParam > kSliderLastPosition) {
        return 0;
    }
    const int position = static_cast<int>(lParam);
    Slider(sliderId)->SetPosition(position);
    if (model_ != nullptr) {
        if (sliderId == kIdBrightnessSlider) {
            model_->SetBrightness(position);
        } else {
            model_->SetSpeed(position);
        }
    }
    return 0;
}

platform::MessageHandler LightingPanel::SliderMessageHandler() {
    return [this](platform::MessageWParam wParam, platform::MessageLParam lParam) {
        return HandleSliderMessage(wParam, lParam);
    };
}

bool LightingPanel::HandleKeyClick(int controlId) {
    if (model_ == nullptr || !model_->PanelSwitchOn()) {
        return false;
    }
    model_->ToggleKeyLightOfButton(controlId);
    return true;
}

bool LightingPanel::HandleReportRateClick(int controlId) {
    const int rate = ReportRateOfButton(controlId);
    if (rate < 0) {
        return false;
    }
    if (model_ != nullptr) {
        model_->SetReportRate(rate);
    } else {
        ShowReportRate(rate);
    }
    return true;
}

void LightingPanel::ToggleSwitch() {
    if (model_ == nullptr) {
        return;
    }
    const bool on = !model_->PanelSwitchOn();
    model_->SetPanelSwitch(on);
    if (!on) {
        host_.RefreshKeyButtons();
    }
}

void LightingPanel::SetSwitch(bool on) {
    if (model_ != nullptr && model_->PanelSwitchOn() != on) {
        ToggleSwitch();
    }
}

bool LightingPanel::SwitchOn() const {
    return model_ != nullptr ? model_->PanelSwitchOn() : switchOn_;
}

void LightingPanel::ShowProgress(bool shown) {
    progressShown_ = shown;
    Control(kIdProgress)->setVisible(shown);
}

void LightingPanel::StepProgress() {
    progressFrame_ = (progressFrame_ + 1) % skin::files::kProgressFrames;
    ShowPicture(kIdProgress, ProgressFramePicture(progressFrame_));
}

// ---- The user's clicks and choices --------------------------------------------------------------

void LightingPanel::OnPictureClicked(int controlId) {
    if (controlId == kIdLamp) {
        ToggleSwitch();
        return;
    }
    if (model_ == nullptr) {
        return;
    }
    switch (controlId) {
        case kIdDirectionFirst:
            model_->SetDirection(kDirectionFirst);
            break;
        case kIdDirectionSecond:
            model_->SetDirection(kDirectionSecond);
            break;
        case kIdPaintTool:
            model_->SelectTool(kToolPaint);
            break;
        case kIdEraseTool:
            model_->SelectTool(kToolErase);
            break;
        case kIdAllOff:
            model_->SetLayerAll(false);
            break;
        case kIdAllOn:
            model_->SetLayerAll(true);
            break;
        default:
            break;  // the pictures that are never shown do nothing
    }
}

void LightingPanel::OnModeChosen(int index) {
    if (model_ != nullptr) {
        model_->SelectMode(index);
    }
}

void LightingPanel::OnLayerChosen(int index) {
    if (model_ != nullptr) {
        model_->SelectLayer(index);
    }
}

// ---- Controls -----------------------------------------------------------------------------------

QWidget* LightingPanel::Control(int controlId) const {
    const auto found = controls_.find(controlId);
    return found == controls_.end() ? nullptr : found->second;
}

BitmapSlider* LightingPanel::Slider(int controlId) const {
    const auto found = sliders_.find(controlId);
    return found == sliders_.end() ? nullptr : found->second;
}

PanelPicture* LightingPanel::Picture(int controlId) const {
    const auto found = pictures_.find(controlId);
    return found == pictures_.end() ? nullptr : found->second;
}

QString LightingPanel::PictureOf(int controlId) const {
    if (const PanelPicture* picture = Picture(controlId)) {
        return picture->PictureName();
    }
    if (const BitmapSlider* slider = Slider(controlId)) {
        return slider->PictureName();
    }
    return {};
}

}  // namespace qx::lighting::panel
