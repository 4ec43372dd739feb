#include "keyassign/macro_recorder.h"

#include <algorithm>
#include <chrono>
#include <limits>
#include <utility>

#include "keyboard/macro_record.h"
#include "settings/app_profile.h"

namespace qx::keyassign {
namespace {

int64_t SteadyMilliseconds() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

}  // namespace

MacroRecorder::MacroRecorder(MacroEditor& editor, Clock clock)
    : editor_(editor), clock_(clock ? std::move(clock) : Clock(SteadyMilliseconds)) {}

void MacroRecorder::ToggleRecording() {
    if (recording_) {
        StopRecording();
        return;
    }
    if (editor_.SelectedMacro() == kNoMacro) {
        return;
    }
    recording_ = true;
    lastEventMs_ = clock_();
    editor_.Observer().RecordingChanged(true);
}

void MacroRecorder::StopRecording() {
    if (!recording_) {
        return;
    }
    recording_ = false;
    editor_.Observer().RecordingChanged(false);
}

KeyEventVerdict MacroRecorder::HandleKeyEvent(const platform::Keystroke& keystroke) {
    if (!recording_) {
        return KeyEventVerdict::PassOn;
    }
    const keyboard::KeyCode code = KeyCodeOfEvent(keystroke);
    if (IsLeftToSystem(code)) {
        return KeyEventVerdict::PassOn;
    }
    if (keystroke.IsRepeat() || (keyboard::IsSpecialKeyCode(code) && !keystroke.IsRelease())) {
        return KeyEventVerdict::Swallow;
    }
    Record(code, keystroke.IsRelease() ? keyboard::kMacroRelease : keyboard::kMacroPress);
    return KeyEventVerdict::Swallow;
}

void MacroRecorder::Record(keyboard::KeyCode code, uint16_t action) {
    const int64_t now = clock_();
    if (keyboard::IsSpecialKeyCode(code)) {
        Insert(kOneEventPressDelayMs, code, keyboard::kMacroPress);
    }
    Insert(now - lastEventMs_, code, action);
    lastEventMs_ = now;
}

void MacroRecorder::Insert(int64_t delayMs, keyboard::KeyCode code, uint16_t action) {
    // A measured gap is kept as measured, beyond the edit limit too; only a clock that went
    // back or a gap of weeks is held to the field.
    const auto measured =
        static_cast<int32_t>(std::clamp<int64_t>(delayMs, 0, std::numeric_limits<int32_t>::max()));
    const int32_t delay = recordDelay_ == kRecordDelayOn ? measured : kFixedRecordDelayMs;
    editor_.InsertAction(keyboard::MacroAction{delay, code, action}, true, true);
}

int MacroRecorder::LoadRecordDelay() {
    recordDelay_ = settings::StoreRecordDelay(settings::ReadRecordDelay());
    return recordDelay_;
}

int MacroRecorder::ToggleRecordDelay() {
    recordDelay_ = settings::StoreRecordDelay(recordDelay_ == kRecordDelayOn ? kRecordDelayOff
                                                                             : kRecordDelayOn);
    return recordDelay_;
}

}  // namespace qx::keyassign
