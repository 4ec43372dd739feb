#include "mainwnd/main_connection_host.h"

#include <QCoreApplication>
#include <QEvent>
#include <QThread>
#include <mutex>
#include <utility>

#include "platform/prompt.h"

namespace qx::mainwnd {

namespace {

const QEvent::Type kCallEventType = static_cast<QEvent::Type>(QEvent::registerEventType());

struct CallEvent : QEvent {
    explicit CallEvent(std::function<void()> work)
        : QEvent(kCallEventType), call(std::move(work)) {}
    std::function<void()> call;
};

}  // namespace

class MainConnectionHost::CallQueue : public QObject {
  public:
    // Queues `call`; the queue takes it over.
    void Post(std::function<void()> call) {
        const std::lock_guard lock(postLock_);
        QCoreApplication::postEvent(this, new CallEvent(std::move(call)));
    }

  protected:
    bool event(QEvent* event) override {
        // Events are made and posted under this lock; taking it before reading one orders the
        // reads after the poster's writes in terms thread checkers understand (Qt's own queue
        // locking is not visible to them).
        { const std::lock_guard lock(postLock_); }
        if (event->type() != kCallEventType) {
            return QObject::event(event);
        }
        static_cast<CallEvent*>(event)->call();
        return true;
    }

  private:
    std::mutex postLock_;
};

struct MainConnectionHost::PendingCall {
    bool done = false;
};

MainConnectionHost::MainConnectionHost(HostWindow& window, platform::MessageWindow& messages)
    : window_(window),
      messages_(messages),
      queue_(std::make_unique<CallQueue>()),
      target_(messages.Target()) {}

MainConnectionHost::~MainConnectionHost() {
    Close();
}

void MainConnectionHost::Close() {
    const std::lock_guard lock(mutex_);
    closed_.store(true);
    released_.notify_all();
}

bool MainConnectionHost::OnWindowThread() const {
    return queue_->thread() == QThread::currentThread();
}

void MainConnectionHost::RunAndWait(std::function<void()> call) {
    if (closed_.load()) {
        return;
    }
    if (OnWindowThread()) {
        call();
        return;
    }
    auto pending = std::make_shared<PendingCall>();
    std::unique_lock lock(mutex_);
    queue_->Post([this, pending, work = std::move(call)] {
        if (!closed_.load()) {
            work();
        }
        const std::lock_guard done(mutex_);
        pending->done = true;
        released_.notify_all();
    });
    released_.wait(lock, [&] { return pending->done || closed_.load(); });
}

void MainConnectionHost::RunLater(std::function<void()> call) {
    if (closed_.load()) {
        return;
    }
    queue_->Post([this, work = std::move(call)] {
        if (!closed_.load()) {
            work();
        }
    });
}

void MainConnectionHost::SendWindowMessage(uint32_t message, uint32_t wParam) {
    RunAndWait([this, message, wParam] { messages_.SendWindowMessage(message, wParam, 0); });
}

void MainConnectionHost::PostWindowMessage(uint32_t message, uint32_t wParam) {
    if (!closed_.load()) {
        target_->PostWindowMessage(message, wParam, 0);
    }
}

void MainConnectionHost::HideMainWindow() {
    RunLater([this] { window_.HideForDevice(); });
}

void MainConnectionHost::SetTrayState(int mode, int iconId) {
    RunLater([this, mode, iconId] { window_.ApplyTrayState(mode, iconId); });
}

void MainConnectionHost::SetControlCaption(int controlId, const std::string& caption) {
    RunLater([this, controlId, caption] { window_.ApplyControlCaption(controlId, caption); });
}

void MainConnectionHost::SetBankPicture(int bank) {
    RunLater([this, bank] { window_.ApplyBankPicture(bank); });
}

void MainConnectionHost::StartTimer(uint32_t timerId, uint32_t periodMs) {
    if (!closed_.load()) {
        target_->SetWindowTimer(timerId, periodMs);
    }
}

void MainConnectionHost::ShowMessage(const std::string& text) {
    RunAndWait([text] { platform::CurrentPrompt().ShowMessage(text, {}, false); });
}

}  // namespace qx::mainwnd
