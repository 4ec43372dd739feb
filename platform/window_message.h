// The window-message layer as the Qt-free code sees it. A window has a table of handlers keyed
// by message number; other code reaches it through a MessageTarget: post queues a message for
// the window's thread, send delivers it there and waits for the handler's result. Private
// messages carry a four-character code in wParam, and a handler ignores a code it does not
// expect, so a message with a wrong code changes nothing.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>

namespace qx::platform {

using MessageWParam = uintptr_t;
using MessageLParam = intptr_t;
using MessageResult = intptr_t;

// A message's handler: its result is what SendWindowMessage returns.
using MessageHandler = std::function<MessageResult(MessageWParam wParam, MessageLParam lParam)>;
// A window's timer handler, called with the timer's id on each tick.
using TimerHandler = std::function<void(uint32_t timerId)>;

// A timer period of 0 ticks as fast as the system allows, which is this often.
inline constexpr uint32_t kMinimumTimerPeriodMs = 10;

// Packs a four-character code, first character in the most significant byte: 'LANG'.
constexpr uint32_t FourCharCode(std::string_view code) {
    uint32_t value = 0;
    for (const char c : code) {
        value = (value << 8) | static_cast<unsigned char>(c);
    }
    return value;
}

class MessageTarget {
  public:
    virtual ~MessageTarget() = default;
    // Queues the message for the window's thread and returns at once; false when the window
    // is gone. Messages posted from one thread are handled in the order they were posted.
    virtual bool PostWindowMessage(uint32_t message, MessageWParam wParam,
                                   MessageLParam lParam) = 0;
    // Runs the window's handler on the window's thread and returns its result; called on that
    // thread it runs the handler directly. 0 when the window has no handler for the message,
    // is gone, or goes away while the caller waits.
    virtual MessageResult SendWindowMessage(uint32_t message, MessageWParam wParam,
                                            MessageLParam lParam) = 0;
    // Starts (or restarts) timer `timerId` with the period in milliseconds; callable from any
    // thread. False when the window is gone.
    virtual bool SetWindowTimer(uint32_t timerId, uint32_t periodMs) = 0;
    virtual bool KillWindowTimer(uint32_t timerId) = 0;
};

// The main window, as workers and the language broadcast reach it; empty until it is set and
// after it is cleared.
void SetMainWindowTarget(std::shared_ptr<MessageTarget> target);
std::shared_ptr<MessageTarget> MainWindowTarget();

}  // namespace qx::platform
