// The main window's busy state around a long transfer (Apply, the import of a profile file). The
// transfer runs on a thread of its own while the user-interface thread keeps handling events, so
// the window paints and the busy animation (timer 1050) visibly moves. Meanwhile the window takes
// no input (clicks, keys and the wheel on it are dropped), every message of its table but the
// progress picture's is held back and posted again, in order, when the busy state ends, and the
// lighting refresh of timer 1051 waits for that end too. So nothing reaches the keyboard or the
// image from that thread while the transfer runs. The same holding keeps the messages the
// window's BusyHoldRules name back (the keyboard's profile read during start-up and while a
// profile switch asks), and delivers what arrived before 'INIT' once the events then due ran.
//
// It owns the busy indicator thread too: shown for the transfer, or on request.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "mainwnd/busy_hold_rules.h"
#include "mainwnd/busy_indicator.h"
#include "platform/window_message.h"

class QEvent;
class QObject;
class QWidget;

namespace qx::platform {
class MessageWindow;
}

namespace qx::mainwnd {

class BusyState {
  public:
    // When the indicator is told to show: at once (an import), or after the start wait of the
    // timing (Apply), the window busy meanwhile.
    enum class IndicatorStart { kAtOnce, kAfterStartWait };

    BusyState(QWidget& window, platform::MessageWindow& messages, BusyTiming timing,
              BusyHoldRules rules);
    ~BusyState();
    BusyState(const BusyState&) = delete;
    BusyState& operator=(const BusyState&) = delete;

    // Registers `handler` for `message` on the window's table; the message waits while held.
    void AddHeldHandler(uint32_t message, platform::MessageHandler handler);
    // True while a transfer (or Apply's start wait) holds the window busy.
    [[nodiscard]] bool IsBusy() const { return depth_ > 0; }
    // Input to the window while busy: dropped.
    [[nodiscard]] bool IsRefusedInput(QObject* watched, const QEvent& event) const;
    // Posts the held messages again, in order, once nothing holds them any more.
    void PostHeldMessages();
    // At the end of 'INIT': the messages held until then, delivered after the events then due.
    void DeliverStartUpHeldMessages();
    // Timer 1051 fired while busy: it is started again when the busy state ends.
    void HoldLightingRefresh() { lightingRefreshHeld_ = true; }

    // Holds the window busy around `work` with the indicator shown (when a thread for it could
    // be had) and hidden after it.
    void RunShowingIndicator(IndicatorStart start, const std::function<void()>& work);
    // Runs `job` on the transfer thread while this thread keeps the window painted and its
    // timers going (busy state held); returns when the job has ended.
    void RunTransfer(const std::function<void()>& job);

    // The indicator on its own: shows the progress picture stepped by timer 1050; Stop hides it
    // after the indicator's hide wait; End ends a running one at once and joins it.
    void StartAnimation();
    void StopAnimation();
    void EndIndicator() { indicator_.reset(); }

  private:
    struct HeldMessage {
        uint32_t message;
        platform::MessageWParam wParam;
        platform::MessageLParam lParam;
    };

    void Begin() { ++depth_; }
    void End();
    [[nodiscard]] bool IsHeldBack(uint32_t message) const;
    // Lets `duration` pass while the window paints and its timers run (busy state held).
    void Wait(std::chrono::milliseconds duration);
    bool StartIndicator();

    QWidget& window_;
    platform::MessageWindow& messages_;
    BusyTiming timing_;
    BusyHoldRules rules_;
    int depth_ = 0;
    std::vector<HeldMessage> held_;
    bool lightingRefreshHeld_ = false;
    // 'INIT' was handled; what was held before it is delivered by a timer (everything waits).
    bool startUpHeld_ = false;
    std::unique_ptr<BusyIndicator> indicator_;
};

}  // namespace qx::mainwnd
