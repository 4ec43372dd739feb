// A main window for the device connection that records every call. Its tray icon follows the
// main window's rules (base icon, restore, indicator), and it can act like a real window whose
// sends wait for the user-interface thread (the test's own thread then plays that thread).
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "device/connection/connection_host.h"
#include "platform/prompt.h"

namespace qx::testing {

struct HostCall {
    enum Kind { kSend, kPost, kHide, kTray, kCaption, kBankPicture, kTimer, kMessage } kind;
    uint32_t a = 0;  // message / mode / control id / bank / timer id
    uint32_t b = 0;  // wParam / icon / period
    std::string text;
    friend bool operator==(const HostCall&, const HostCall&) = default;
};

class RecordingHost : public device::ConnectionHost {
  public:
    // ---- ConnectionHost
    void SendWindowMessage(uint32_t message, uint32_t wParam) override {
        if (sendsWaitForUi_) {
            WaitForUiThread(message, wParam);
        }
        Record({HostCall::kSend, message, wParam, {}});
        if (sendDelay_.load().count() > 0) {
            std::this_thread::sleep_for(sendDelay_.load());
        }
    }
    void PostWindowMessage(uint32_t message, uint32_t wParam) override {
        Record({HostCall::kPost, message, wParam, {}});
    }
    void HideMainWindow() override { Record({HostCall::kHide, 0, 0, {}}); }
    bool IsInitDone() override {
        std::lock_guard lock(mutex_);
        return initDone_;
    }
    void SetTrayState(int mode, int iconId) override {
        std::lock_guard lock(mutex_);
        if (mode == device::kTrayModeIndicator) {
            shownIcon_ = device::kIconIndicator;
        } else if (iconId != device::kIconRestoreBase) {
            baseIcon_ = iconId;
            shownIcon_ = iconId;
        } else {
            shownIcon_ = baseIcon_;
        }
        RecordLocked(
            {HostCall::kTray, static_cast<uint32_t>(mode), static_cast<uint32_t>(iconId), {}});
    }
    void SetControlCaption(int controlId, const std::string& caption) override {
        std::lock_guard lock(mutex_);
        captions_[controlId] = caption;
        RecordLocked({HostCall::kCaption, static_cast<uint32_t>(controlId), 0, caption});
    }
    void SetBankPicture(int bank) override {
        Record({HostCall::kBankPicture, static_cast<uint32_t>(bank), 0, {}});
    }
    void StartTimer(uint32_t timerId, uint32_t periodMs) override {
        Record({HostCall::kTimer, timerId, periodMs, {}});
    }
    void ShowMessage(const std::string& text) override {
        platform::CurrentPrompt().ShowMessage(text);
        Record({HostCall::kMessage, 0, 0, text});
    }

    // ---- Set-up
    void SetInitDone(bool done) {
        std::lock_guard lock(mutex_);
        initDone_ = done;
    }
    void SetSendDelay(std::chrono::milliseconds delay) { sendDelay_ = delay; }
    // Sends wait until the test thread, playing the user-interface thread, handles them.
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
    int CountOf(HostCall::Kind kind, uint32_t a) const {
        int n = 0;
        for (const HostCall& call : Calls()) {
            n += call.kind == kind && call.a == a ? 1 : 0;
        }
        return n;
    }
    int ShownIcon() const {
        std::lock_guard lock(mutex_);
        return shownIcon_;
    }
    std::string Caption(int controlId) const {
        std::lock_guard lock(mutex_);
        const auto it = captions_.find(controlId);
        return it == captions_.end() ? "<unset>" : it->second;
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
    void WaitForUiThread(uint32_t message, uint32_t wParam) {
        std::unique_lock lock(mutex_);
        const std::size_t ticket = handledSends_ + pendingSends_.size() + 1;
        pendingSends_.push_back({message, wParam});
        changed_.notify_all();
        changed_.wait(lock, [&] { return handledSends_ >= ticket; });
    }

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<HostCall> calls_;
    bool initDone_ = true;
    int baseIcon_ = device::kIconNoKeyboard;
    int shownIcon_ = device::kIconNoKeyboard;
    std::map<int, std::string> captions_;
    std::atomic<std::chrono::milliseconds> sendDelay_{std::chrono::milliseconds(0)};
    std::atomic<bool> sendsWaitForUi_{false};
    std::deque<std::pair<uint32_t, uint32_t>> pendingSends_;
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
