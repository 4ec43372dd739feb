// The busy indicator shown while Apply or an import sends the configuration to the keyboard: a
// thread with a message queue of its own. Told to show (0x401, or any other message) it has the
// main window show the progress picture and start timer 1050, whose ticks step the picture; told
// to hide (0x402) it waits a moment, so that even a short transfer shows the animation, then has
// the window stop the timer and hide the picture. The thread never touches a widget: it reaches
// the window through its message target only (a posted message for the picture, the target's
// timer calls for the timer), and a target whose window is gone takes nothing.
//
// The thread ends by itself once it has hidden the picture; the indicator's destructor ends it
// early (hiding the picture at once if it shows) and waits for it. Qt-free.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/window_message.h"

namespace qx::mainwnd {

// Messages of the indicator's own queue.
inline constexpr uint32_t kBusyShowMessage = 0x401;
inline constexpr uint32_t kBusyHideMessage = 0x402;

// What the indicator posts to the main window: wParam kProgressPictureCode, lParam 1 shows the
// progress picture, 0 hides it.
inline constexpr uint32_t kProgressPictureMessage = 0x4a44;
inline constexpr uint32_t kProgressPictureCode = platform::FourCharCode("BUSY");

// The window's timer that steps the progress picture, and its period.
inline constexpr uint32_t kBusyAnimationTimer = 1050;
inline constexpr uint32_t kBusyAnimationPeriodMs = 50;

struct BusyTiming {
    // Apply waits this long between starting the indicator and telling it to show.
    std::chrono::milliseconds startWait{100};
    // The indicator waits this long after being told to hide.
    std::chrono::milliseconds hideWait{100};
};

class BusyIndicator {
  public:
    BusyIndicator(std::shared_ptr<platform::MessageTarget> window, BusyTiming timing = {});
    ~BusyIndicator();
    BusyIndicator(const BusyIndicator&) = delete;
    BusyIndicator& operator=(const BusyIndicator&) = delete;

    // Starts the thread; false when it could not be started (the indicator then does nothing).
    bool Start();
    // Queues a message for the thread; false when the thread does not run.
    bool Post(uint32_t message);
    // True until the thread has ended (or when it never started: false).
    [[nodiscard]] bool IsRunning() const;

  private:
    void Run();
    // Waits for the next message; nothing once the indicator is ending.
    bool NextMessage(uint32_t& message);
    // The hide wait; ends early when the indicator is ending.
    void WaitBeforeHiding();
    void Show();
    void Hide();

    std::shared_ptr<platform::MessageTarget> window_;
    BusyTiming timing_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<uint32_t> queue_;
    bool ending_ = false;
    bool running_ = false;
    bool shown_ = false;  // the thread's own record; only the thread touches it
    std::thread thread_;
};

}  // namespace qx::mainwnd
