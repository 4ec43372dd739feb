// The busy state around a long transfer (Apply, the import of a profile file). The transfer runs
// on a thread of its own while this thread keeps handling events, so the window paints and the
// busy animation (timer 1050) visibly moves. Meanwhile the window takes no input (clicks, keys
// and the wheel on it are dropped), every message of its table but the progress picture's is
// held back and posted again, in order, when the busy state ends, and the lighting refresh of
// timer 1051 waits for that end too. So nothing reaches the keyboard or the image from this
// thread while the transfer runs. The same holding keeps the keyboard's profile read and its
// departure back while a profile switch asks about pending changes, and the profile read until
// 'INIT' was handled and the events then due were (a keyboard read during start-up holds up
// neither the end of it nor the answer to another instance).
#include <QEvent>
#include <QEventLoop>
#include <QTimer>
#include <QWidget>
#include <atomic>
#include <system_error>
#include <thread>

#include "mainwnd/main_ids.h"
#include "mainwnd/quilvane_dlg.h"
#include "mainwnd/thread_relay.h"
#include "mainwnd/window_thread_prompt.h"

namespace qx::mainwnd {
namespace {

bool IsInputEvent(QEvent::Type type) {
    switch (type) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::Wheel:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::ContextMenu:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::TabletPress:
        case QEvent::TabletRelease:
        case QEvent::TabletMove:
            return true;
        default:
            return false;
    }
}

}  // namespace

void CQuilvaneDlg::AddHeldHandler(uint32_t message, platform::MessageHandler handler) {
    messages_->AddHandler(
        message, [this, message, handler = std::move(handler)](platform::MessageWParam wParam,
                                                               platform::MessageLParam lParam) {
            if (IsHeldBack(message)) {
                held_.push_back(HeldMessage{message, wParam, lParam});
                return platform::MessageResult{0};
            }
            return handler(wParam, lParam);
        });
}

bool CQuilvaneDlg::IsRefusedInput(QObject* watched, const QEvent& event) const {
    if (!IsBusy() || !IsInputEvent(event.type())) {
        return false;
    }
    const auto* widget = qobject_cast<const QWidget*>(watched);
    return widget != nullptr && widget->window() == this;
}

void CQuilvaneDlg::BeginBusy() {
    ++busyDepth_;
}

bool CQuilvaneDlg::IsHeldBack(uint32_t message) const {
    if (IsBusy() || startUpHeld_) {
        return true;
    }
    if (message == kProfileReadMessage && !initDone_) {
        return true;
    }
    return profileSwitch_.IsAsking() &&
           (message == kProfileReadMessage || message == kKeyboardLeftMessage);
}

void CQuilvaneDlg::EndBusy() {
    if (--busyDepth_ > 0) {
        return;
    }
    PostHeldMessages();
    if (std::exchange(lightingRefreshHeld_, false)) {
        messages_->SetWindowTimer(kLightingRefreshTimer, 0);
    }
}

void CQuilvaneDlg::PostHeldMessages() {
    if (IsBusy() || profileSwitch_.IsAsking() || !initDone_ || startUpHeld_) {
        return;
    }
    std::vector<HeldMessage> held;
    held.swap(held_);
    for (const HeldMessage& message : held) {
        messages_->PostWindowMessage(message.message, message.wParam, message.lParam);
    }
}

// What arrived before 'INIT' (a keyboard read during start-up) is handled once the events already
// due were: a timer runs after them in the event loop's pass, so another instance's request is
// answered without waiting for the read-back. Everything else waits behind the held messages
// meanwhile, so they keep their order.
void CQuilvaneDlg::DeliverStartUpHeldMessages() {
    if (held_.empty()) {
        return;
    }
    startUpHeld_ = true;
    auto* timer = new QTimer(this);
    timer->setSingleShot(true);
    connect(timer, &QTimer::timeout, this, [this, timer] {
        timer->deleteLater();
        startUpHeld_ = false;
        std::vector<HeldMessage> held;
        held.swap(held_);
        for (const HeldMessage& message : held) {
            messages_->SendWindowMessage(message.message, message.wParam, message.lParam);
        }
    });
    timer->start(0);
}

void CQuilvaneDlg::WaitBusy(std::chrono::milliseconds duration) {
    BeginBusy();
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    timer.start(duration);
    loop.exec();
    EndBusy();
}

void CQuilvaneDlg::RunTransfer(const std::function<void()>& job) {
    BeginBusy();
    {
        // Whatever the transfer thread asks of the prompt is shown by this thread.
        const WindowThreadPrompt prompt;
        QEventLoop loop;
        ThreadRelay relay;
        connect(&relay, &ThreadRelay::Finished, &loop, &QEventLoop::quit, Qt::QueuedConnection);
        std::atomic<bool> done{false};
        std::thread worker;
        try {
            worker = std::thread([&] {
                job();
                done.store(true);
                emit relay.Finished();
            });
        } catch (const std::system_error&) {
            job();  // no thread to be had: the transfer runs here, without the animation
            done.store(true);
        }
        while (!done.load()) {
            loop.exec();
        }
        if (worker.joinable()) {
            worker.join();
        }
    }
    EndBusy();
}

// Starts a new indicator thread (one still hiding the picture ends at once); false when no
// thread could be started, and the window then goes without the animation.
bool CQuilvaneDlg::StartIndicator() {
    busyIndicator_.reset();
    auto indicator = std::make_unique<BusyIndicator>(Target(), options_.busyTiming);
    if (!indicator->Start()) {
        return false;
    }
    busyIndicator_ = std::move(indicator);
    return true;
}

void CQuilvaneDlg::StartBusyAnimation() {
    if (StartIndicator()) {
        busyIndicator_->Post(kBusyShowMessage);
    }
}

void CQuilvaneDlg::StopBusyAnimation() {
    if (busyIndicator_) {
        busyIndicator_->Post(kBusyHideMessage);
    }
}

}  // namespace qx::mainwnd
