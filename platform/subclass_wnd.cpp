#include "platform/subclass_wnd.h"

#include <unordered_map>
#include <utility>

#include "platform/system_messages.h"

namespace qx::platform {
namespace {

thread_local CurrentMessage currentMessage;

MessageResult CallOldProcedure(MessageWindow& window, const WindowProcedure& oldProcedure,
                               uint32_t message, MessageWParam wParam, MessageLParam lParam) {
    return oldProcedure ? oldProcedure(message, wParam, lParam)
                        : window.Dispatch(message, wParam, lParam);
}

}  // namespace

// The process-wide map of hooked windows to their most recent hook, and the dispatcher every
// hooked window's procedure is replaced by.
class CSubclassWndMap {
  public:
    static CSubclassWndMap& Instance() {
        static CSubclassWndMap map;  // created on first use
        return map;
    }

    CSubclassWnd* Head(const MessageWindow* window) const {
        const auto found = heads_.find(window);
        return found == heads_.end() ? nullptr : found->second;
    }

    void Add(CSubclassWnd& hook, MessageWindow& window) {
        CSubclassWnd* const head = Head(&window);
        hook.window_ = &window;
        hook.next_ = head;
        if (head == nullptr) {
            hook.oldProcedure_ = window.SetWindowProcedure(
                [&window](uint32_t message, MessageWParam wParam, MessageLParam lParam) {
                    return Instance().Dispatch(window, message, wParam, lParam);
                });
        } else {
            hook.oldProcedure_ = head->oldProcedure_;
        }
        heads_[&window] = &hook;
    }

    void Remove(CSubclassWnd& hook) {
        MessageWindow* const window = hook.window_;
        CSubclassWnd* const head = Head(window);
        if (head == &hook) {
            if (hook.next_ != nullptr) {
                heads_[window] = hook.next_;
            } else {
                heads_.erase(window);
                window->SetWindowProcedure(hook.oldProcedure_);
            }
        } else {
            for (CSubclassWnd* link = head; link != nullptr; link = link->next_) {
                if (link->next_ == &hook) {
                    link->next_ = hook.next_;
                    break;
                }
            }
        }
        hook.window_ = nullptr;
        hook.next_ = nullptr;
        hook.oldProcedure_ = nullptr;
    }

  private:
    MessageResult Dispatch(MessageWindow& window, uint32_t message, MessageWParam wParam,
                           MessageLParam lParam) {
        const CurrentMessage saved =
            std::exchange(currentMessage, CurrentMessage{&window, message, wParam, lParam});
        MessageResult result = 0;
        CSubclassWnd* const head = Head(&window);
        if (message == kNcDestroyMessage || head == nullptr) {
            // The window is going: every hook lets go of it before its old procedure runs.
            const WindowProcedure oldProcedure = head != nullptr ? head->oldProcedure_ : nullptr;
            while (CSubclassWnd* hook = Head(&window)) {
                Remove(*hook);
            }
            result = CallOldProcedure(window, oldProcedure, message, wParam, lParam);
        } else {
            result = head->WindowProc(message, wParam, lParam);
        }
        currentMessage = saved;
        return result;
    }

    std::unordered_map<const MessageWindow*, CSubclassWnd*> heads_;
};

CSubclassWnd::~CSubclassWnd() {
    Unhook();
}

bool CSubclassWnd::HookWindow(MessageWindow* window) {
    if (window == nullptr) {
        return Unhook();
    }
    if (window_ == window) {
        return false;
    }
    Unhook();
    CSubclassWndMap::Instance().Add(*this, *window);
    return true;
}

bool CSubclassWnd::Unhook() {
    if (window_ == nullptr) {
        return false;
    }
    CSubclassWndMap::Instance().Remove(*this);
    return true;
}

MessageResult CSubclassWnd::WindowProc(uint32_t message, MessageWParam wParam,
                                       MessageLParam lParam) {
    return Default(message, wParam, lParam);
}

MessageResult CSubclassWnd::Default(uint32_t message, MessageWParam wParam, MessageLParam lParam) {
    if (window_ == nullptr) {
        return 0;
    }
    if (next_ != nullptr) {
        return next_->WindowProc(message, wParam, lParam);
    }
    return CallOldProcedure(*window_, oldProcedure_, message, wParam, lParam);
}

const CurrentMessage& CurrentHookedMessage() {
    return currentMessage;
}

CSubclassWnd* HeadHookOf(const MessageWindow* window) {
    return CSubclassWndMap::Instance().Head(window);
}

}  // namespace qx::platform
