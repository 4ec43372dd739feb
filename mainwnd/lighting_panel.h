// The lighting panel of the main window: its controls, made with the window and placed from the
// skin, the bitmaps they show, and the look the lighting model asks for (lighting::LightingView).
// Turning the controls' clicks and selections into lighting changes is not wired up yet: the
// panel shows, it does not edit.
#pragma once

#include <QPixmap>
#include <QString>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "lighting/lighting_view.h"
#include "mainwnd/panel_look.h"

class QComboBox;
class QObject;
class QLabel;
class QWidget;

namespace qx::mainwnd {

class KeyView;
class MainControls;
class PanelPicture;

class LightingPanel final : public lighting::LightingView {
  public:
    // Makes every control of the panel as a child of `window` (hidden until placed).
    LightingPanel(QWidget& window, KeyView& keyView, const MainControls& controls);

    // Places every control from the skin file, loads the panel's bitmaps from `skinFolder` and
    // shows the start pictures and the look of the stored panel switch.
    void Place(const std::string& iniPath, const std::string& skinFolder);
    // Reports clicks on the panel's pictures and selections in its two lists with the control's
    // id, in the context of `receiver`.
    void ConnectControls(QObject& receiver, const std::function<void(int controlId)>& onControl);
    // The label texts of section "LIGHT" in the language of `languageIndex`.
    void ApplyLabelTexts(int languageIndex);
    // Fills the layer list with "USER_MODE1".."USER_MODE10" of the current language.
    void FillLayerList();
    // The busy animation's next frame ("jdt1.bmp".."jdt10.bmp" in a cycle), or none.
    void StepProgress();
    void ClearProgress();

    [[nodiscard]] QWidget* Control(int controlId) const;
    [[nodiscard]] QComboBox* ModeList() const { return modeList_; }
    [[nodiscard]] QComboBox* LayerList() const { return layerList_; }
    [[nodiscard]] bool SwitchShownOn() const { return switchOn_; }
    [[nodiscard]] const PanelLook& Look() const { return look_; }
    [[nodiscard]] QString PictureOf(int controlId) const;

    // ---- lighting::LightingView
    void ClearModeList() override;
    void AddMode(int type, const std::string& name) override;
    void SelectModeItem(int index) override;
    void ShowModeControls(int type, uint8_t direction) override;
    void SetSliderPositions(int brightnessPosition, int speedPosition) override;
    void SelectLayerItem(int layer) override;
    void ShowTool(int tool) override;
    void ShowLayerFill(lighting::LayerFill fill) override;
    void ShowReportRate(int rate) override;
    void ShowPanelSwitch(bool on) override;
    void SetKeyFrame(int controlId, bool lit) override;
    void ClearFrames() override;

  private:
    void AddPicture(QWidget& window, int controlId);
    void AddLabel(QWidget& window, int controlId);
    void ShowPicture(int controlId, std::string_view name);
    const QPixmap& Bitmap(std::string_view name);
    void ApplyLook();
    void SetShown(int controlId, bool shown);

    KeyView& keyView_;
    const MainControls& controls_;
    std::map<int, QWidget*> controlsById_;
    std::map<int, PanelPicture*> pictures_;
    QComboBox* modeList_ = nullptr;
    QComboBox* layerList_ = nullptr;
    std::string iniPath_;
    std::string skinFolder_;
    std::map<std::string, QPixmap, std::less<>> bitmaps_;
    bool switchOn_ = false;
    int type_ = -1;
    uint8_t direction_ = 0;
    PanelLook look_;
    int progressFrame_ = 0;
};

}  // namespace qx::mainwnd
