#include "platform/message_window.h"

#include <QCoreApplication>
#include <QEvent>
#include <QThread>
#include <QTimerEvent>
#include <algorithm>
#include <condition_variable>
#include <limits>
#include <mutex>
#include <utility>

#include "platform/system_messages.h"

namespace qx::platform {
namespace {

const QEvent::Type kMessageEventType = static_cast<QEvent::Type>(QEvent::registerEventType());

// A send waiting for its result on another thread.
struct PendingSend {
    bool done = false;
    MessageResult result = 0;
};

enum class Request { Post, Send, SetTimer, KillTimer };

struct MessageEvent : QEvent {
    MessageEvent(Request kind, uint32_t number, MessageWParam first, MessageLParam second,
                 std::shared_ptr<PendingSend> waiting = nullptr)
        : QEvent(kMessageEventType),
          request(kind),
          message(number),
          wParam(first),
          lParam(second),
          pending(std::move(waiting)) {}

    const Request request;
    const uint32_t message;      // the timer id for the timer requests
    const MessageWParam wParam;  // the period for SetTimer
    const MessageLParam lParam;
    const std::shared_ptr<PendingSend> pending;
};

}  // namespace

// The thread-safe side of a window. The window detaches it when it is destroyed; from then on
// nothing reaches the window and every waiting send is released with 0.
class MessagePort : public MessageTarget {
  public:
    explicit MessagePort(MessageWindow* window) : window_(window) {}

    void Detach() {
        const std::lock_guard lock(mutex_);
        window_ = nullptr;
        sendsReleased_.notify_all();
    }

    // Events are made and posted under this port's lock; taking it on the window's thread before
    // reading one orders the reads after the writes in terms every thread checker understands
    // (Qt's own queue locking is not visible to them).
    void Synchronize() { const std::lock_guard lock(mutex_); }

    void Complete(const std::shared_ptr<PendingSend>& pending, MessageResult result) {
        const std::lock_guard lock(mutex_);
        pending->result = result;
        pending->done = true;
        sendsReleased_.notify_all();
    }

    bool PostWindowMessage(uint32_t message, MessageWParam wParam, MessageLParam lParam) override {
        return Queue(Request::Post, message, wParam, lParam);
    }

    MessageResult SendWindowMessage(uint32_t message, MessageWParam wParam,
                                    MessageLParam lParam) override {
        std::unique_lock lock(mutex_);
        if (window_ == nullptr) {
            return 0;
        }
        if (window_->thread() == QThread::currentThread()) {
            MessageWindow* window = window_;
            lock.unlock();
            return window->CallWindowProcedure(message, wParam, lParam);
        }
        auto pending = std::make_shared<PendingSend>();
        QCoreApplication::postEvent(
            window_, new MessageEvent(Request::Send, message, wParam, lParam, pending));
        sendsReleased_.wait(lock, [&] { return pending->done || window_ == nullptr; });
        return pending->done ? pending->result : 0;
    }

    bool SetWindowTimer(uint32_t timerId, uint32_t periodMs) override {
        return ChangeTimer(Request::SetTimer, timerId, periodMs);
    }

    bool KillWindowTimer(uint32_t timerId) override {
        return ChangeTimer(Request::KillTimer, timerId, 0);
    }

  private:
    bool Queue(Request request, uint32_t message, MessageWParam wParam, MessageLParam lParam) {
        const std::lock_guard lock(mutex_);
        if (window_ == nullptr) {
            return false;
        }
        QCoreApplication::postEvent(window_, new MessageEvent(request, message, wParam, lParam));
        return true;
    }

    // On the window's thread a timer changes at once; from elsewhere the change is queued, so
    // that it reaches the window in order with the messages posted by the same thread.
    bool ChangeTimer(Request request, uint32_t timerId, uint32_t periodMs) {
        std::unique_lock lock(mutex_);
        if (window_ == nullptr) {
            return false;
        }
        if (window_->thread() != QThread::currentThread()) {
            QCoreApplication::postEvent(window_, new MessageEvent(request, timerId, periodMs, 0));
            return true;
        }
        MessageWindow* window = window_;
        lock.unlock();
        if (request == Request::SetTimer) {
            window->StartTimer(timerId, periodMs);
        } else {
            window->StopTimer(timerId);
        }
        return true;
    }

    std::mutex mutex_;
    std::condition_variable sendsReleased_;
    MessageWindow* window_;
};

MessageWindow::MessageWindow(QObject* parent)
    : QObject(parent), port_(std::make_shared<MessagePort>(this)) {}

MessageWindow::~MessageWindow() {
    port_->Detach();
    if (procedure_) {
        CallWindowProcedure(kNcDestroyMessage, 0, 0);
    }
}

bool MessageWindow::AddHandler(uint32_t message, MessageHandler handler) {
    return handlers_.emplace(message, std::move(handler)).second;
}

void MessageWindow::SetTimerHandler(TimerHandler handler) {
    timerHandler_ = std::move(handler);
}

std::shared_ptr<MessageTarget> MessageWindow::Target() const {
    return port_;
}

bool MessageWindow::PostWindowMessage(uint32_t message, MessageWParam wParam,
                                      MessageLParam lParam) {
    return port_->PostWindowMessage(message, wParam, lParam);
}

MessageResult MessageWindow::SendWindowMessage(uint32_t message, MessageWParam wParam,
                                               MessageLParam lParam) {
    return port_->SendWindowMessage(message, wParam, lParam);
}

bool MessageWindow::SetWindowTimer(uint32_t timerId, uint32_t periodMs) {
    return port_->SetWindowTimer(timerId, periodMs);
}

bool MessageWindow::KillWindowTimer(uint32_t timerId) {
    return port_->KillWindowTimer(timerId);
}

bool MessageWindow::IsTimerActive(uint32_t timerId) const {
    return timers_.contains(timerId);
}

MessageResult MessageWindow::Dispatch(uint32_t message, MessageWParam wParam,
                                      MessageLParam lParam) {
    const auto found = handlers_.find(message);
    if (found == handlers_.end() || !found->second) {
        return 0;
    }
    // A copy: the handler may register others while it runs.
    const MessageHandler handler = found->second;
    return handler(wParam, lParam);
}

WindowProcedure MessageWindow::SetWindowProcedure(WindowProcedure procedure) {
    return std::exchange(procedure_, std::move(procedure));
}

MessageResult MessageWindow::CallWindowProcedure(uint32_t message, MessageWParam wParam,
                                                 MessageLParam lParam) {
    if (!procedure_) {
        return Dispatch(message, wParam, lParam);
    }
    // A copy: the procedure may replace itself (a hook that unhooks) while it runs.
    const WindowProcedure procedure = procedure_;
    return procedure(message, wParam, lParam);
}

bool MessageWindow::event(QEvent* event) {
    port_->Synchronize();
    if (event->type() != kMessageEventType) {
        return QObject::event(event);
    }
    const auto* request = static_cast<MessageEvent*>(event);
    switch (request->request) {
        case Request::Post:
            CallWindowProcedure(request->message, request->wParam, request->lParam);
            break;
        case Request::Send: {
            // The handler may end the window; the port outlives it for the waiting sender.
            const std::shared_ptr<MessagePort> port = port_;
            port->Complete(request->pending,
                           CallWindowProcedure(request->message, request->wParam, request->lParam));
            break;
        }
        case Request::SetTimer:
            StartTimer(request->message, static_cast<uint32_t>(request->wParam));
            break;
        case Request::KillTimer:
            StopTimer(request->message);
            break;
    }
    return true;
}

void MessageWindow::timerEvent(QTimerEvent* event) {
    for (const auto& [timerId, qtTimerId] : timers_) {
        if (qtTimerId == event->timerId()) {
            const uint32_t id = timerId;  // the handler may kill the timer
            if (timerHandler_) {
                const TimerHandler handler = timerHandler_;
                handler(id);
            }
            return;
        }
    }
    QObject::timerEvent(event);
}

void MessageWindow::StartTimer(uint32_t timerId, uint32_t periodMs) {
    StopTimer(timerId);
    constexpr uint32_t kLongestPeriodMs = std::numeric_limits<int>::max();
    const int period = static_cast<int>(periodMs == 0 ? kMinimumTimerPeriodMs
                                                      : std::min(periodMs, kLongestPeriodMs));
    const int qtTimerId = startTimer(period);
    if (qtTimerId != 0) {
        timers_[timerId] = qtTimerId;
    }
}

void MessageWindow::StopTimer(uint32_t timerId) {
    const auto found = timers_.find(timerId);
    if (found != timers_.end()) {
        killTimer(found->second);
        timers_.erase(found);
    }
}

}  // namespace qx::platform
