#include "mainwnd/busy_state.h"

#include <QEvent>
#include <QEventLoop>
#include <QTimer>
#include <QWidget>
#include <atomic>
#include <system_error>
#include <thread>
#include <utility>

#include "mainwnd/main_ids.h"
#include "mainwnd/thread_relay.h"
#include "mainwnd/window_thread_prompt.h"
#include "platform/message_window.h"

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

BusyState::BusyState(QWidget& window, platform::MessageWindow& messages, BusyTiming timing,
                     BusyHoldRules rules)
    : window_(window), messages_(messages), timing_(timing), rules_(std::move(rules)) {}

BusyState::~BusyState() = default;

void BusyState::AddHeldHandler(uint32_t message, platform::MessageHandler handler) {
    messages_.AddHandler(
        message, [this, message, handler = std::move(handler)](platform::MessageWParam wParam,
                                                               platform::MessageLParam lParam) {
            if (IsHeldBack(message)) {
                held_.push_back(HeldMessage{message, wParam, lParam});
                return platform::MessageResult{0};
            }
            return handler(wParam, lParam);
        });
}

bool BusyState::IsRefusedInput(QObject* watched, const QEvent& event) const {
    if (!IsBusy() || !IsInputEvent(event.type())) {
        return false;
    }
    const auto* widget = qobject_cast<const QWidget*>(watched);
    return widget != nullptr && widget->window() == &window_;
}

bool BusyState::IsHeldBack(uint32_t message) const {
    return IsBusy() || startUpHeld_ || rules_.holds(message);
}

void BusyState::End() {
    if (--depth_ > 0) {
        return;
    }
    PostHeldMessages();
    if (std::exchange(lightingRefreshHeld_, false)) {
        messages_.SetWindowTimer(kLightingRefreshTimer, 0);
    }
}

void BusyState::PostHeldMessages() {
    if (IsBusy() || startUpHeld_ || rules_.keepsHeld()) {
        return;
    }
    std::vector<HeldMessage> held;
    held.swap(held_);
    for (const HeldMessage& message : held) {
        messages_.PostWindowMessage(message.message, message.wParam, message.lParam);
    }
}

// What arrived before 'INIT' (a keyboard read during start-up) is handled once the events already
// due were: a timer runs after them in the event loop's pass, so another instance's request is
// answered without waiting for the read-back. Everything else waits behind the held messages
// meanwhile, so they keep their order. The timer is the window's, so it goes with it.
void BusyState::DeliverStartUpHeldMessages() {
    if (held_.empty()) {
        return;
    }
    startUpHeld_ = true;
    auto* timer = new QTimer(&window_);
    timer->setSingleShot(true);
    QObject::connect(timer, &QTimer::timeout, &window_, [this, timer] {
        timer->deleteLater();
        startUpHeld_ = false;
        std::vector<HeldMessage> held;
        held.swap(held_);
        for (const HeldMessage& message : held) {
            messages_.SendWindowMessage(message.message, message.wParam, message.lParam);
        }
    });
    timer->start(0);
}

void BusyState::RunShowingIndicator(IndicatorStart start, const std::function<void()>& work) {
    Begin();
    const bool indicator = StartIndicator();
    if (start == IndicatorStart::kAfterStartWait) {
        Wait(timing_.startWait);
    }
    if (indicator) {
        indicator_->Post(kBusyShowMessage);
    }
    work();
    if (indicator) {
        indicator_->Post(kBusyHideMessage);
    }
    End();
}

void BusyState::Wait(std::chrono::milliseconds duration) {
    Begin();
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    timer.start(duration);
    loop.exec();
    End();
}

void BusyState::RunTransfer(const std::function<void()>& job) {
    Begin();
    {
        // Whatever the transfer thread asks of the prompt is shown by this thread.
        const WindowThreadPrompt prompt;
        QEventLoop loop;
        ThreadRelay relay;
        QObject::connect(&relay, &ThreadRelay::Finished, &loop, &QEventLoop::quit,
                         Qt::QueuedConnection);
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
    End();
}

// Starts a new indicator thread (one still hiding the picture ends at once); false when no
// thread could be started, and the window then goes without the animation.
bool BusyState::StartIndicator() {
    indicator_.reset();
    auto indicator = std::make_unique<BusyIndicator>(messages_.Target(), timing_);
    if (!indicator->Start()) {
        return false;
    }
    indicator_ = std::move(indicator);
    return true;
}

void BusyState::StartAnimation() {
    if (StartIndicator()) {
        indicator_->Post(kBusyShowMessage);
    }
}

void BusyState::StopAnimation() {
    if (indicator_) {
        indicator_->Post(kBusyHideMessage);
    }
}

}  // namespace qx::mainwnd
