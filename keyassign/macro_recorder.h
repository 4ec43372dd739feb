// Macro recording: while it runs, every key press and release typed into the key assignment
// window becomes an action row of the selected macro (MacroEditor::InsertAction, recorded, after
// the selected row), with the measured time since the previous event as its delay, or 50 ms when
// the record-delay setting is off. One recorder lives beside the program's one macro editor and
// reports through the editor's observer.
//
// The recording filter swallows every event it sees except those of no key and of the multimedia
// keys: automatic repeats unrecorded (a held key is one press and one release), Escape, Enter and
// F1 recorded like any key, so they neither close the window nor open help. Print Screen, Sys
// Req and the two Korean language keys count as one event each: their press is swallowed
// unrecorded and their release records a press (delay 2) and then the release, so one stroke
// gives one pair of rows wherever its press went.
//
// Everything runs on the user-interface thread.
#pragma once

#include <cstdint>
#include <functional>

#include "keyassign/key_event.h"
#include "keyassign/macro_editor.h"
#include "platform/keystroke.h"

namespace qx::keyassign {

// The record-delay setting: measured delays, or this fixed one.
inline constexpr int kRecordDelayOff = 0;
inline constexpr int kRecordDelayOn = 1;
inline constexpr int32_t kFixedRecordDelayMs = 50;
// The delay of the press recorded before a one-event key's release.
inline constexpr int32_t kOneEventPressDelayMs = 2;

class MacroRecorder {
  public:
    // Milliseconds of a monotonic clock; empty: the steady clock.
    using Clock = std::function<int64_t()>;

    explicit MacroRecorder(MacroEditor& editor, Clock clock = {});

    bool IsRecording() const { return recording_; }
    // The record button: starts a recording when none runs, stops the running one. A recording
    // starts only while a macro is selected (the button is usable only then); the time of the
    // start is the time of the first row's "previous event". Reports RecordingChanged.
    void ToggleRecording();
    // Stops a running recording. The window calls it when it shows another page, when a delay
    // cell's edit begins, before MacroEditor::ApplyMacroList (Apply and OK) and when it closes.
    void StopRecording();

    // The recording filter, for every key event of the window; PassOn while not recording.
    KeyEventVerdict HandleKeyEvent(const platform::Keystroke& keystroke);

    // The working copy of the record-delay setting (check box 1027).
    int RecordDelay() const { return recordDelay_; }
    // At each opening of the window: the stored setting, stored back as 0 or 1, becomes the
    // working copy; returned for the check box.
    int LoadRecordDelay();
    // The check box was clicked: 0 when the setting was 1, else 1; stored and taken as the
    // working copy; returned for the check box.
    int ToggleRecordDelay();

  private:
    void Record(keyboard::KeyCode code, uint16_t action);
    void Insert(int64_t delayMs, keyboard::KeyCode code, uint16_t action);

    MacroEditor& editor_;
    Clock clock_;
    bool recording_ = false;
    int64_t lastEventMs_ = 0;
    int recordDelay_ = kRecordDelayOff;
};

}  // namespace qx::keyassign
