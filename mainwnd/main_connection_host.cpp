#include "mainwnd/main_connection_host.h"

#include <QCoreApplication>
#include <QEvent>
#include <QThread>
#include <mutex>
#include <utility>

#include "mainwnd/main_ids.h"
#include "platform/prompt.h"
#include "widgets/tray_state.h"

namespace qx::mainwnd {

namespace {

struct TrayPicture {
    int mode;
    int iconId;
};

// The tray states as the window's tray icon takes them (widgets::TrayIconState).
TrayPicture TrayPictureOf(device::TrayState state) {
    switch (state) {
        case device::TrayState::kNoKeyboard:
            return {widgets::kTrayModeBase, widgets::kIconNoKeyboard};
        case device::TrayState::kKeyboard:
            return {widgets::kTrayModeBase, widgets::kIconKeyboard};
        case device::TrayState::kIndicatorOn:
            return {widgets::kTrayModeIndicator, widgets::kIconIndicator};
        case device::TrayState::kIndicatorOff:
            break;
    }
    return {widgets::kTrayModeBase, widgets::kIconRestoreBase};
}

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

void MainConnectionHost::KeyboardRead() {
    SendWindowMessage(kProfileReadMessage, kProfileReadCode);
}

// The window forgets what it showed of the keyboard, then goes to the tray.
void MainConnectionHost::LastKeyboardLeft() {
    SendWindowMessage(kKeyboardLeftMessage, kKeyboardLeftCode);
    RunLater([this] { window_.HideForDevice(); });
}

void MainConnectionHost::FirstAttach() {
    PostWindowMessage(kOpenMessage, kOpenCode);
}

void MainConnectionHost::GKeyBankSwitched() {
    SendWindowMessage(kBankMessage, kBankCode);
}

void MainConnectionHost::ShowGKeyBank(int bank, const device::GKeyCaptions& captions) {
    RunLater([this, bank, captions] {
        window_.ApplyBankPicture(bank);
        for (std::size_t button = 0; button < captions.size(); ++button) {
            window_.ApplyControlCaption(keyboard::kGKeyButtonIds[button], captions[button]);
        }
    });
}

void MainConnectionHost::LightingChanged() {
    if (!closed_.load()) {
        target_->SetWindowTimer(kLightingRefreshTimer, kLightingRefreshPeriod);
    }
}

void MainConnectionHost::ShowTrayState(device::TrayState state) {
    const TrayPicture picture = TrayPictureOf(state);
    RunLater([this, picture] { window_.ApplyTrayState(picture.mode, picture.iconId); });
}

void MainConnectionHost::ShowMessage(const std::string& text) {
    RunAndWait([text] { platform::CurrentPrompt().ShowMessage(text, {}, false); });
}

}  // namespace qx::mainwnd
