// Window-procedure hooks: a CSubclassWnd sees every message of the window it hooks before the
// window's own handlers do, and passes it on. A window may carry several hooks; they form a chain,
// most recent first, and may be removed in any order. A process-wide map (CSubclassWndMap) knows
// the most recent hook of each hooked window; the window's procedure is replaced by a shared
// dispatcher while at least one hook is on it and restored when the last one goes.
//
// User-interface thread only, like the windows themselves.
#pragma once

#include "platform/message_window.h"

namespace qx::platform {

class CSubclassWnd {
  public:
    CSubclassWnd() = default;
    // Unhooks.
    virtual ~CSubclassWnd();
    CSubclassWnd(const CSubclassWnd&) = delete;
    CSubclassWnd& operator=(const CSubclassWnd&) = delete;

    // Hooks `window` (a hook already on another window is taken off it first); null unhooks.
    // False when the window was already hooked by this hook.
    bool HookWindow(MessageWindow* window);
    // Takes this hook off its window; false when it was not on one.
    bool Unhook();

    [[nodiscard]] bool IsHooked() const { return window_ != nullptr; }
    [[nodiscard]] MessageWindow* HookedWindow() const { return window_; }

  protected:
    // The hook's window procedure. The default passes the message on (Default).
    virtual MessageResult WindowProc(uint32_t message, MessageWParam wParam, MessageLParam lParam);
    // Passes a message to the next hook of the window, or to the window's procedure from before
    // the first hook when this is the last.
    MessageResult Default(uint32_t message, MessageWParam wParam, MessageLParam lParam);

  private:
    friend class CSubclassWndMap;

    MessageWindow* window_ = nullptr;
    WindowProcedure oldProcedure_;  // the window's procedure from before the first hook
    CSubclassWnd* next_ = nullptr;  // the next (older) hook of the same window
};

// The message being dispatched to hooked windows on this thread (zeros when none is): what
// the framework's thread state keeps as its current message.
struct CurrentMessage {
    MessageWindow* window = nullptr;
    uint32_t message = 0;
    MessageWParam wParam = 0;
    MessageLParam lParam = 0;
};
const CurrentMessage& CurrentHookedMessage();

// The most recent hook of `window`, or null when it has none.
CSubclassWnd* HeadHookOf(const MessageWindow* window);

}  // namespace qx::platform
