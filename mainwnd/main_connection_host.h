// The device connection's view of the main window (device::ConnectionHost) over the window's
// message layer: each thing that happened becomes the message, timer or widget change the
// window's behaviour is defined by (a keyboard read is 0x5452 'PROF', the last keyboard gone
// 0x4753 and a hidden window, the first attach a posted 0x5350 'OPEN', a bank switch 0x5045
// "\0LED", a lighting change timer 1051), so the window's handlers and their "wrong code is
// ignored" rules stay the only way in. Calls come from the connection's threads; everything that
// touches widgets runs on the user-interface thread. Sends and the message box wait for that
// thread; once Close() was called every call returns at once and waiting calls are released,
// which is what lets the window stop the connection from the user-interface thread without
// waiting for itself.
#pragma once

#include <QObject>
#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "device/connection/connection_host.h"
#include "platform/message_window.h"

namespace qx::mainwnd {

// What the host asks of the window; called on the user-interface thread only.
class HostWindow {
  public:
    virtual ~HostWindow() = default;
    virtual void HideForDevice() = 0;
    virtual void ApplyTrayState(int mode, int iconId) = 0;
    virtual void ApplyControlCaption(int controlId, const std::string& caption) = 0;
    virtual void ApplyBankPicture(int bank) = 0;
};

class MainConnectionHost final : public device::ConnectionHost {
  public:
    // `messages` is the window's message layer; it must outlive every call (the window closes
    // the host, then stops the connection, then goes). Made on the user-interface thread.
    MainConnectionHost(HostWindow& window, platform::MessageWindow& messages);
    ~MainConnectionHost() override;
    MainConnectionHost(const MainConnectionHost&) = delete;
    MainConnectionHost& operator=(const MainConnectionHost&) = delete;

    // From now on nothing reaches the window and nothing waits for it.
    void Close();
    [[nodiscard]] bool IsClosed() const { return closed_.load(); }
    // 'INIT' was handled.
    void SetInitDone() { initDone_.store(true); }

    // ---- device::ConnectionHost
    void KeyboardRead() override;
    void LastKeyboardLeft() override;
    void FirstAttach() override;
    void GKeyBankSwitched() override;
    void ShowGKeyBank(int bank, const device::GKeyCaptions& captions) override;
    void LightingChanged() override;
    void ShowTrayState(device::TrayState state) override;
    void ShowMessage(const std::string& text) override;
    bool IsInitDone() override { return initDone_.load(); }

  private:
    struct PendingCall;

    // Delivers the message to the window and waits until it was handled.
    void SendWindowMessage(uint32_t message, uint32_t wParam);
    // Queues the message for the window and returns at once.
    void PostWindowMessage(uint32_t message, uint32_t wParam);

    // Runs `call` on the user-interface thread and waits for it (directly when already there).
    void RunAndWait(std::function<void()> call);
    // Queues `call` for the user-interface thread.
    void RunLater(std::function<void()> call);
    [[nodiscard]] bool OnWindowThread() const;

    class CallQueue;

    HostWindow& window_;
    platform::MessageWindow& messages_;
    // Receives the queued calls on the user-interface thread; calls still queued when the host
    // goes are dropped with it.
    std::unique_ptr<CallQueue> queue_;
    std::shared_ptr<platform::MessageTarget> target_;
    std::atomic<bool> closed_{false};
    std::atomic<bool> initDone_{false};
    std::mutex mutex_;
    std::condition_variable released_;
};

}  // namespace qx::mainwnd
