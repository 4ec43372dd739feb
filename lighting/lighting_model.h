// The keyboard's lighting as the driver holds it, and every lighting change with its device
// traffic. Each change is written at once in a write transaction of its own (BeginWrite, the
// write, EndWrite); lighting never checks the results of those commands and never tells the user
// about a failed write: the in-memory value keeps the user's change.
//
// All addresses refer to the lighting profile index: records at profile × 42 + field offset,
// key-light pages at profile × 256 + offset.
//
// Runs on the user-interface thread (the command-line tool: its only thread). Not guarded by the
// image lock; one model per keyboard view.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "device/link/result_codes.h"
#include "lighting/lighting_layout.h"
#include "lighting/lighting_view.h"
#include "lighting/mode_table.h"
#include "lighting/panel_switch.h"
#include "lighting/working_values.h"

namespace qx::device {
class DeviceCommands;
}

namespace qx::lighting {

inline constexpr int kReadOk = 0;
inline constexpr int kReadFailed = -1;  // the state block could not be read

// The display name of a mode type (the language text of section "MODE").
using ModeNameSource = std::function<std::string(int type)>;

class LightingModel {
  public:
    LightingModel(device::DeviceCommands& commands, LightingView& view,
                  PanelSwitchFile panelSwitch = PanelSwitchFile());
    LightingModel(const LightingModel&) = delete;
    LightingModel& operator=(const LightingModel&) = delete;

    // ---- Reading ----------------------------------------------------------------------------
    // Empties the mode list, reads the state block (kReadFailed: the list stays empty and the
    // records and pages keep their contents), then in one transaction the current profile's
    // key-light page (when per-key lighting is supported) and the three records; decodes the
    // current record, reads the panel switch and rebuilds the mode table. kReadOk.
    int ReadLightingState();
    // The same without the key-light page, keeping the report rate and tool (the keyboard
    // changed its lighting with its own keys).
    int RefreshLightingRecords();

    // ---- Raw writes (one transaction each; mirrored into the in-memory record or page) -------
    // False, nothing sent, when the bytes do not fit the record (offset + size > 42) or are
    // empty.
    bool WriteLightingBytes(std::size_t offset, std::span<const uint8_t> bytes);
    // False, nothing sent, when the bytes do not fit the page or one packet (56 bytes), or are
    // empty.
    bool WriteKeyLightBytes(std::size_t offset, std::span<const uint8_t> bytes);

    // ---- Changes made in the panel ----------------------------------------------------------
    // The mode of mode-list item `index` (nothing outside the table): frames cleared, its type
    // written at offset 0, the keyboard view framed from the current layer for the per-key mode.
    void SelectMode(int index);
    // Slider positions 0..4 (others are ignored). Nothing is sent when the value is unchanged.
    void SetBrightness(int position);
    void SetSpeed(int position);  // speed = 4 - position
    // kDirectionFirst for any nonzero value, else kDirectionSecond; written at offset 4.
    void SetDirection(uint8_t value);
    // Stores layer 0..9 and writes it at offset 3 only while the panel switch is on; the check
    // pictures are released and the keyboard view shows the chosen layer.
    void SelectLayer(int layer);
    void SelectTool(int tool);     // kToolPaint / kToolErase; written at offset 16
    void SetReportRate(int rate);  // 0..3; written at offset 15
    // In the per-key mode only: paints (paint tool) or erases key i of the current layer, one
    // byte at layer × 18 + i / 8. Keys without a place in the LED matrix send nothing.
    void ToggleKeyLight(int lightingIndex);
    // A click on a button of the keyboard view while the panel switch is on: the toggle of its
    // LED; G keys and keys without an LED send nothing.
    void ToggleKeyLightOfButton(int controlId);
    // ToggleKeyLight with the result chosen by the caller instead of the tool.
    void SetKeyLight(int lightingIndex, bool lit);
    // All 18 bytes of the current layer 0xFF (on) or 0x00 (off), written in one packet.
    void SetLayerAll(bool on);
    // Mode 1, brightness 4, speed 2, direction 0; with per-key lighting layer 0 and the default
    // layers in one transaction of ten writes; then the 35-byte default record, whose decoding
    // becomes the working values (report rate 0, paint tool, ...).
    void ResetLighting();

    // ---- Panel ------------------------------------------------------------------------------
    // Everything the panel shows, from the working values and the last state block.
    void RefreshPanel();
    // Frames every button of the keyboard view from the current layer.
    void RepaintFrames();
    // The lamp: stores the switch in the settings file (no device traffic).
    void SetPanelSwitch(bool on);
    bool PanelSwitchOn() const { return panelSwitchOn_; }

    // ---- State ------------------------------------------------------------------------------
    // The profile (0..2) the addresses refer to; other values are ignored (false).
    bool SetLightingProfile(int profile);
    int LightingProfile() const { return profile_; }

    const ModeSlots& SupportedModes() const { return slots_; }
    bool PerKeySupported() const { return perKey_; }
    const ModeTable& Modes() const { return modes_; }
    int ModeIndexOfType(int type) const { return modes_.ModeIndexOfType(type); }
    int ModeTypeAt(int index) const { return modes_.ModeTypeAt(index); }
    // The mode-list selection (kNoMode: none) and its type.
    int SelectedModeIndex() const { return selectedMode_; }
    int SelectedModeType() const { return modes_.ModeTypeAt(selectedMode_); }

    const WorkingValues& Values() const { return values_; }
    const LightingRecord& Record(int profile) const;
    const KeyLightPage& Page(int profile) const;
    // Key i lit in the current layer of the current profile's page.
    bool IsKeyLit(int lightingIndex) const;

    void SetModeNameSource(ModeNameSource source) { modeName_ = std::move(source); }

    // kOk (1), or the first failing result of a data write (commands 6 and 17) since the last
    // ClearWriteResult. Lighting itself never looks at it; the command-line tool reports it.
    int WriteResult() const { return writeResult_; }
    void ClearWriteResult();

  private:
    int Read(DecodeScope scope);
    void ForgetModes();
    void ReadKeyLightPage();
    void ReadRecords();
    void RebuildModeTable();
    void NoteWrite(int result);
    void WriteLightingByte(std::size_t offset, int value);
    void RunModeChange(int index);
    void WriteDefaultLayers();
    void ShowLedFrames(int lightingIndex);
    void ShowModeControls();
    LightingRecord& CurrentRecord() { return records_[static_cast<std::size_t>(profile_)]; }
    KeyLightPage& CurrentPage() { return pages_[static_cast<std::size_t>(profile_)]; }

    device::DeviceCommands& commands_;
    LightingView& view_;
    PanelSwitchFile panelSwitch_;
    ModeNameSource modeName_;

    int profile_ = 0;
    ModeSlots slots_{};
    bool perKey_ = false;
    ModeTable modes_;
    int selectedMode_ = kNoMode;
    WorkingValues values_;
    std::array<LightingRecord, kProfileCount> records_{};
    std::array<KeyLightPage, kProfileCount> pages_{};
    bool panelSwitchOn_ = false;
    int writeResult_ = device::kOk;
};

}  // namespace qx::lighting
