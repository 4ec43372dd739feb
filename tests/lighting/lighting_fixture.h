// A lighting model on an emulated keyboard, with a view that records what it was told and a
// settings file of its own, plus a compact spelling of the packets the model sent:
//   "begin", "end", "state"         commands 1, 2, 3
//   "read5 @84 n56"                 a read: command, address, length
//   "write6 @2 [03]"                a write: command, address, data bytes
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "lighting/lighting_model.h"
#include "lighting/lighting_view.h"
#include "sim/keyboard_memory.h"
#include "tests/support/emulated_keyboard.h"

namespace qx::lighting::testing {

// The view as a list of events ("frame 1058 on", "modes cleared", ...) plus the last state.
class RecordingView : public LightingView {
  public:
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

    std::vector<std::string> events;
    std::vector<std::string> modeNames;
    int selectedItem = -2;  // never told
    int brightnessPosition = -1;
    int speedPosition = -1;
    int layerItem = -1;
    int tool = -1;
    int reportRate = -1;
    LayerFill fill = LayerFill::kNeither;
    // Frames currently shown: control id -> lit.
    std::vector<std::pair<int, bool>> frames;
    bool FrameOf(int controlId, bool& lit) const;
};

// The packets sent to the keyboard, spelt as above.
std::vector<std::string> SpellCommands(const std::vector<device::Packet>& packets);

class LightingTest : public ::testing::Test {
  protected:
    LightingTest();
    ~LightingTest() override;

    // The keyboard's supported-mode slots (the rest of the 32 slots empty).
    void SetModeSlots(const std::vector<uint8_t>& types);
    void SetRecordByte(int profile, std::size_t offset, uint8_t value);
    std::vector<uint8_t> KeyboardRecord(int profile);
    std::vector<uint8_t> KeyboardPage(int profile);

    // Packets since the last call (or since the start).
    std::vector<std::string> TakeCommands();

    // Reads the state on `profile` and forgets the traffic and view events of the read.
    void ReadOn(int profile);

    std::filesystem::path folder_;
    test_support::EmulatedKeyboard keyboard_;
    RecordingView view_;
    LightingModel model_;
};

}  // namespace qx::lighting::testing
