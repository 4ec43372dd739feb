// The window-message layer on Qt: a window object with a handler table keyed by message number
// and a timer handler, living on the user-interface thread. Post queues an event; send runs the
// handler on the window's thread and waits for it (directly when already on that thread); timers
// are numbered as the program numbers them. Other threads, and the Qt-free layers, reach the
// window through Target(), which stays safe to use after the window is gone: posts fail, sends
// and waiting sends return 0. Every message passes through the window's procedure, which is the
// handler table until a hook chain (platform/subclass_wnd.h) replaces it.
#pragma once

#include <QObject>
#include <map>
#include <memory>
#include <unordered_map>

#include "platform/window_message.h"

namespace qx::platform {

class MessagePort;

// A window procedure: every message of a window goes through it.
using WindowProcedure =
    std::function<MessageResult(uint32_t message, MessageWParam wParam, MessageLParam lParam)>;

class MessageWindow : public QObject {
  public:
    explicit MessageWindow(QObject* parent = nullptr);
    ~MessageWindow() override;
    MessageWindow(const MessageWindow&) = delete;
    MessageWindow& operator=(const MessageWindow&) = delete;

    // Registers the handler of a message. The first handler registered for a number is the one
    // that runs; a later one is refused (false), as in a message map.
    bool AddHandler(uint32_t message, MessageHandler handler);
    // The handler of every timer tick (with the timer's id).
    void SetTimerHandler(TimerHandler handler);

    // The window as other threads and the Qt-free layers reach it.
    std::shared_ptr<MessageTarget> Target() const;

    bool PostWindowMessage(uint32_t message, MessageWParam wParam, MessageLParam lParam);
    MessageResult SendWindowMessage(uint32_t message, MessageWParam wParam, MessageLParam lParam);
    bool SetWindowTimer(uint32_t timerId, uint32_t periodMs);
    bool KillWindowTimer(uint32_t timerId);
    bool IsTimerActive(uint32_t timerId) const;

    // Runs the handler of the message on the calling (window) thread; 0 when there is none.
    MessageResult Dispatch(uint32_t message, MessageWParam wParam, MessageLParam lParam);

    // Replaces the window's procedure and returns the one it replaces; an empty procedure is
    // the handler table (Dispatch). Window thread only.
    WindowProcedure SetWindowProcedure(WindowProcedure procedure);
    // Runs the message through the window's procedure on the calling (window) thread. Posted
    // and sent messages arrive here; a window that has a procedure of its own receives
    // kNcDestroyMessage through it as it is destroyed.
    MessageResult CallWindowProcedure(uint32_t message, MessageWParam wParam, MessageLParam lParam);

  protected:
    bool event(QEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

  private:
    friend class MessagePort;
    void StartTimer(uint32_t timerId, uint32_t periodMs);
    void StopTimer(uint32_t timerId);

    std::shared_ptr<MessagePort> port_;
    std::unordered_map<uint32_t, MessageHandler> handlers_;
    WindowProcedure procedure_;
    TimerHandler timerHandler_;
    std::map<uint32_t, int> timers_;  // timer id -> Qt's timer id
};

}  // namespace qx::platform
