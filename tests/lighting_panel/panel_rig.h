// A main window stand-in for the lighting panel's tests: real image buttons for every key, G-key,
// Fn and report-rate button at their places in the skin, a recording message target, and a
// lighting panel in it that drives a lighting model on an emulated keyboard (with a settings
// file of its own).
#pragma once

#include <QWidget>
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "lighting/lighting_model.h"
#include "lighting/panel/lighting_panel.h"
#include "platform/testing/recording_message_target.h"
#include "skin/png_button.h"
#include "tests/support/emulated_keyboard.h"

namespace qx::lighting::panel::testing {

// The default skin the build generates in the run-time folder.
std::string GeneratedSkinFolder();

// A temporary folder, removed with everything in it.
class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    [[nodiscard]] const std::filesystem::path& Path() const { return path_; }

  private:
    std::filesystem::path path_;
};

class TestHost final : public LightingPanelHost {
  public:
    skin::CPngButton* ImageButton(int controlId) override;
    void RefreshKeyButtons() override { ++keyButtonRefreshes; }
    std::shared_ptr<platform::MessageTarget> WindowTarget() override { return target; }

    std::map<int, skin::CPngButton*> buttons;
    int keyButtonRefreshes = 0;
    std::shared_ptr<platform::testing::RecordingMessageTarget> target =
        std::make_shared<platform::testing::RecordingMessageTarget>();
};

class PanelRig {
  public:
    // The panel placed from `iniPath` (default: the generated Main.ini) with the bitmaps of
    // `folder` (default: the generated skin folder).
    explicit PanelRig(const std::string& iniPath = {}, const std::string& folder = {});
    ~PanelRig();
    PanelRig(const PanelRig&) = delete;
    PanelRig& operator=(const PanelRig&) = delete;

    // ---- The keyboard before the read -----------------------------------------------------------
    void SetModeSlots(const std::vector<uint8_t>& types);
    void SetRecordByte(std::size_t offset, uint8_t value);
    void SetPageBytes(std::size_t offset, const std::vector<uint8_t>& bytes);
    void StoreSwitch(bool on);
    // Reads the lighting of profile 0, refreshes the panel and forgets the read's traffic.
    void ReadAndRefresh();

    // ---- What happened --------------------------------------------------------------------------
    // Data writes since the last call: "6@2:00" (command 6 at record offset 2, one byte 00),
    // "17@54:ff ff ..." (command 17 at page offset 54).
    std::vector<std::string> TakeWrites();
    // Every packet since the last call, data writes or not.
    std::size_t TakePacketCount();
    // Ids of the panel's controls that show (relative to the window).
    std::vector<int> ShownControls() const;
    std::vector<platform::testing::RecordingMessageTarget::Record> Posts() const;
    // The stored switch ("1", "0" or "" when missing).
    std::string StoredSwitch() const;

    // ---- The user -------------------------------------------------------------------------------
    void Click(QWidget& widget);
    void ClickPicture(int controlId);
    void ChooseMode(int type);
    void ChooseLayer(int layer);

    skin::CPngButton& Button(int controlId) { return *host_.buttons.at(controlId); }
    TestHost& Host() { return host_; }
    LightingPanel& Panel() { return *panel_; }
    LightingModel& Model() { return *model_; }
    test_support::EmulatedKeyboard& Keyboard() { return keyboard_; }
    QWidget& Window() { return window_; }

  private:
    void MakeButtons(const std::string& iniPath);

    TempFolder folder_;
    std::string switchFile_;
    test_support::EmulatedKeyboard keyboard_;
    QWidget window_;
    TestHost host_;
    std::unique_ptr<LightingPanel> panel_;
    std::unique_ptr<LightingModel> model_;
};

}  // namespace qx::lighting::panel::testing
