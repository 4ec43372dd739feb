// The lighting panel of the main window as one component: it makes and places every control of
// the panel from the main skin, loads the panel's bitmaps, shows what the lighting model tells it
// (it is the model's LightingView, keyboard view frames included) and turns the user's clicks,
// selections and slider moves into the model's lighting changes.
//
// The main window creates it with itself as parent and host, then hands it the lighting model
// once the model exists (the model is made with the panel as its view):
//
//   panel_ = std::make_unique<LightingPanel>(*this, PanelSkin{iniPath, skinFolder}, host);
//   model_ = std::make_unique<LightingModel>(commands, *panel_);
//   panel_->SetModel(model_.get());
//
// and calls it for the language texts, panel refreshes, the slider message, key clicks while the
// switch is on, report-rate clicks and the busy animation. User-interface thread only. The panel
// lives no longer than its window; the window's controls live as the window's children.
#pragma once

#include <QObject>
#include <QPoint>
#include <QString>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include "lighting/lighting_view.h"
#include "lighting/panel/lighting_panel_host.h"
#include "lighting/panel/panel_bitmaps.h"
#include "lighting/panel/panel_controls.h"
#include "platform/window_message.h"
#include "skin/png_button_face.h"

class QComboBox;
class QLabel;
class QWidget;

namespace qx::lighting {
class LightingModel;
}

namespace qx::lighting::panel {

class BitmapSlider;
class PanelPicture;

// Frames of the keyboard view: white around a lit key, black around the others.
inline constexpr skin::ColorRef kLitFrameColour = 0xFFFFFF;
inline constexpr skin::ColorRef kUnlitFrameColour = 0x000000;
inline constexpr int kFrameLevel = 50;

// The main skin: its INI file ("Skins/Main.ini") and the folder of its bitmaps.
struct PanelSkin {
    std::string iniPath;
    std::string folder;
};

class LightingPanel final : public QObject, public LightingView {
  public:
    // Makes every control as a child of `window`, places it from the skin and loads the bitmaps.
    // Until a refresh only the lamp (off), its label and the report-rate label show; the sliders
    // show their position-0 pictures.
    LightingPanel(QWidget& window, PanelSkin skin, LightingPanelHost& host);
    ~LightingPanel() override;
    LightingPanel(const LightingPanel&) = delete;
    LightingPanel& operator=(const LightingPanel&) = delete;

    // The model the panel's controls drive (null: the controls change nothing).
    void SetModel(LightingModel* model);
    [[nodiscard]] LightingModel* Model() const { return model_; }

    // ---- Calls of the main window ---------------------------------------------------------------
    // The label texts of section "LIGHT" in the language of `languageIndex`.
    void ApplyLanguage(int languageIndex);
    // The layer list's items "USER_MODE1".."USER_MODE10" in that language.
    void FillLayerList(int languageIndex);
    // The panel refresh (after a lighting read, a profile change): everything from the model.
    void Refresh();
    // The keyboard changed its lighting with its own keys: re-read the records, then refresh.
    void RefreshAfterKeyboardChange();
    // The slider message (wParam = slider id, lParam = position 0..4): the slider's picture and
    // the model's brightness or speed. Anything else is ignored. Returns 0.
    platform::MessageResult HandleSliderMessage(platform::MessageWParam wParam,
                                                platform::MessageLParam lParam);
    // HandleSliderMessage as a handler for the window's message table.
    platform::MessageHandler SliderMessageHandler();
    // A click on a key, G-key or Fn button: with the switch on it edits the key's light and the
    // result is true; with the switch off nothing happens here (false: the click is the key
    // assignment's).
    bool HandleKeyClick(int controlId);
    // A click on a report-rate button: writes that rate and marks the button (false for any
    // other id).
    bool HandleReportRateClick(int controlId);
    // The lamp: toggles the switch. Turning it off hands the keyboard view back to the key
    // assignments. No device traffic.
    void ToggleSwitch();
    // As the lamp, when the switch is not already in that state.
    void SetSwitch(bool on);
    [[nodiscard]] bool SwitchOn() const;
    // The busy indicator's progress picture: shown or hidden, and its next frame.
    void ShowProgress(bool shown);
    void StepProgress();
    [[nodiscard]] bool ProgressShown() const { return progressShown_; }

    // ---- Controls (focus handling of the main window, tests) ------------------------------------
    [[nodiscard]] QWidget* Control(int controlId) const;
    [[nodiscard]] QComboBox* ModeList() const { return modeList_; }
    [[nodiscard]] QComboBox* LayerList() const { return layerList_; }
    [[nodiscard]] BitmapSlider* Slider(int controlId) const;
    [[nodiscard]] PanelPicture* Picture(int controlId) const;
    // The file name of the picture a picture control or slider shows; empty for other ids.
    [[nodiscard]] QString PictureOf(int controlId) const;

    // ---- LightingView ---------------------------------------------------------------------------
    void ClearModeList() override;
    void AddMode(int type, const std::string& name) override;
    void SelectModeItem(int index) override;
    void ShowModeControls(int type, uint8_t direction) override;
    void SetSliderPositions(int brightnessPosition, int speedPosition) override;
    void SelectLayerItem(int layer) override;
    void ShowTool(int tool) override;
    void ShowLayerFill(LayerFill fill) override;
    void ShowReportRate(int rate) override;
    void ShowPanelSwitch(bool on) override;
    void SetKeyFrame(int controlId, bool lit) override;
    void ClearFrames() override;

  protected:
    // Swallows the arrow keys and, while the list is closed, the wheel on the mode list: a mode
    // changes only by a deliberate choice.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void CreateControls(QWidget& window);
    QWidget* CreateControl(QWidget& window, const PanelControl& control);
    QLabel* CreateLabel(QWidget& window, int controlId);
    QComboBox* CreateList(QWidget& window);
    void ReadDirectionPlaces();
    void ShowStartPictures();
    void ConnectControls();

    void OnPictureClicked(int controlId);
    void OnModeChosen(int index);
    void OnLayerChosen(int index);

    void ApplyLook();
    void MoveTo(int controlId, std::string_view skinKey);
    void ShowPicture(int controlId, std::string_view name);
    void ShowHiddenChecks();

    LightingPanelHost& host_;
    PanelSkin skin_;
    PanelBitmaps bitmaps_;
    LightingModel* model_ = nullptr;

    std::map<int, QWidget*> controls_;
    std::map<int, PanelPicture*> pictures_;
    std::map<int, BitmapSlider*> sliders_;
    QComboBox* modeList_ = nullptr;
    QComboBox* layerList_ = nullptr;
    // Positions of the direction controls' usual and alternative skin keys.
    std::map<std::string, QPoint, std::less<>> directionPlaces_;

    bool switchOn_ = false;  // as last shown; the model's switch decides once there is a model
    int type_ = -1;          // the selected mode type; -1 none
    uint8_t direction_ = 0;
    int layer_ = -1;  // the layer to select once the layer list has its items
    bool progressShown_ = false;
    int progressFrame_ = 0;
};

}  // namespace qx::lighting::panel
