// A main window for the device connection that records every call. Its tray follows the main
// window's rules (presence picture, indicator over it), and it can act like a real window whose
// waiting calls wait for the user-interface thread (the test's own thread then plays that
// thread).
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "device/connection/connection_host.h"
#include "platform/prompt.h"

namespace qx::testing {

struct HostCall {
    enum Kind {
        kKeyboardRead,
        kKeyboardLeft,
        kFirstAttach,
        kBankSwitched,
        kBankShown,
        kLightingChanged,
        kTray,
        kMessage
    } kind;
    uint32_t a = 0;  // bank / tray state
    std::string text{};
    friend bool operator==(const HostCall&, const HostCall&) = default;
};

inline HostCall TrayCall(device::TrayState state) {
    return {HostCall::kTray, static_cast<uint32_t>(state), {}};
}

class RecordingHost : public device::ConnectionHost {
  public:
    // ---- ConnectionHost
    void KeyboardRead() override { Wait({HostCall::kKeyboardRead}); }
    void LastKeyboardLeft() override { Wait({HostCall::kKeyboardLeft}); }
    void FirstAttach() override { Record({HostCall::kFirstAttach}); }
    void GKeyBankSwitched() override { Wait({HostCall::kBankSwitched}); }
    void ShowGKeyBank(int bank, const device::GKeyCaptions& captions) override {
        std::lock_guard lock(mutex_);
        captions_ = captions;
        RecordLocked({HostCall::kBankShown, static_cast<uint32_t>(bank), {}});
    }
    void LightingChanged() override { Record({HostCall::kLightingChanged}); }
    void ShowTrayState(device::TrayState state) override {
        std::lock_guard lock(mutex_);
        if (state == device::TrayState::kIndicatorOff) {
            shown_ = base_;
        } else if (state == device::TrayState::kIndicatorOn) {
            shown_ = state;
        } else {
            base_ = state;
            shown_ = state;
        }
        RecordLocked(TrayCall(state));
    }
    void ShowMessage(const std::string& text) override {
        platform::CurrentPrompt().ShowMessage(text);
        Record({HostCall::kMessage, 0, text});
    }
    bool IsInitDone() override {
        std::lock_guard lock(mutex_);
        return initDone_;
    }

    // ---- Set-up
    void SetInitDone(bool done) {
        std::lock_guard lock(mutex_);
        initDone_ = done;
    }
    void SetSendDelay(std::chrono::milliseconds delay) { sendDelay_ = delay; }
    // Waiting calls wait until the test thread, playing the user-interface thread, handles them.
    void MakeSendsWaitForUi() { sendsWaitForUi_ = true; }

    // ---- The user-interface thread's side of waiting sends
    bool WaitForPendingSend(std::chrono::milliseconds timeout) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, timeout, [this] { return !pendingSends_.empty(); });
    }
    void HandlePendingSends() {
        std::lock_guard lock(mutex_);
        handledSends_ += pendingSends_.size();
        pendingSends_.clear();
        changed_.notify_all();
    }

    // ---- Observations
    std::vector<HostCall> Calls() const {
        std::lock_guard lock(mutex_);
        return calls_;
    }
    std::vector<HostCall> CallsOf(HostCall::Kind kind) const {
        std::vector<HostCall> found;
        for (const HostCall& call : Calls()) {
            if (call.kind == kind) {
                found.push_back(call);
            }
        }
        return found;
    }
    int CountOf(HostCall::Kind kind) const { return static_cast<int>(CallsOf(kind).size()); }
    device::TrayState ShownTray() const {
        std::lock_guard lock(mutex_);
        return shown_;
    }
    // The caption last shown on G-key button `button` (0..8).
    std::string Caption(int button) const {
        std::lock_guard lock(mutex_);
        return captions_[static_cast<std::size_t>(button)];
    }
    void Clear() {
        std::lock_guard lock(mutex_);
        calls_.clear();
    }
    // Waits until `done` holds; checks at every recorded call and at least every 2 ms, so it
    // may also watch state outside the host.
    bool WaitFor(const std::function<bool()>& done,
                 std::chrono::milliseconds timeout = std::chrono::seconds(5)) {
        const auto until = std::chrono::steady_clock::now() + timeout;
        std::unique_lock lock(mutex_);
        while (true) {
            lock.unlock();
            const bool result = done();
            lock.lock();
            if (result) {
                return true;
            }
            if (std::chrono::steady_clock::now() >= until) {
                return false;
            }
            changed_.wait_for(lock, std::chrono::milliseconds(2));
        }
    }

  private:
    void Record(HostCall call) {
        std::lock_guard lock(mutex_);
        RecordLocked(std::move(call));
    }
    void RecordLocked(HostCall call) {
        calls_.push_back(std::move(call));
        changed_.notify_all();
    }
    // A call that waits for the window: it is recorded once the window handled it.
    void Wait(HostCall call) {
        if (sendsWaitForUi_) {
            WaitForUiThread(call);
        }
        Record(std::move(call));
        if (sendDelay_.load().count() > 0) {
            std::this_thread::sleep_for(sendDelay_.load());
        }
    }
    void WaitForUiThread(const HostCall& call) {
        std::unique_lock lock(mutex_);
        const std::size_t ticket = handledSends_ + pendingSends_.size() + 1;
        pendingSends_.push_back(call);
        changed_.notify_all();
        changed_.wait(lock, [&] { return handledSends_ >= ticket; });
    }

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<HostCall> calls_;
    bool initDone_ = true;
    device::TrayState base_ = device::TrayState::kNoKeyboard;
    device::TrayState shown_ = device::TrayState::kNoKeyboard;
    device::GKeyCaptions captions_;
    std::atomic<std::chrono::milliseconds> sendDelay_{std::chrono::milliseconds(0)};
    std::atomic<bool> sendsWaitForUi_{false};
    std::deque<HostCall> pendingSends_;
    std::size_t handledSends_ = 0;
};

// A prompt that keeps the messages it was asked to show.
class RecordingPrompt : public platform::Prompt {
  public:
    void ShowMessage(const std::string& text, const std::string& caption, bool) override {
        std::lock_guard lock(mutex_);
        shown_.push_back({text, caption});
    }
    bool AskYesNo(const std::string&, const std::string&) override { return false; }
    std::optional<std::string> OpenFile(const platform::FileDialogOptions&) override {
        return std::nullopt;
    }
    std::optional<std::string> SaveFile(const platform::FileDialogOptions&) override {
        return std::nullopt;
    }
    std::vector<std::pair<std::string, std::string>> Shown() const {
        std::lock_guard lock(mutex_);
        return shown_;
    }

  private:
    mutable std::mutex mutex_;
    std::vector<std::pair<std::string, std::string>> shown_;
};

}  // namespace qx::testing
