#include "mainwnd/busy_indicator.h"

#include <system_error>
#include <utility>

namespace qx::mainwnd {

BusyIndicator::BusyIndicator(std::shared_ptr<platform::MessageTarget> window, BusyTiming timing)
    : window_(std::move(window)), timing_(timing) {}

BusyIndicator::~BusyIndicator() {
    {
        const std::lock_guard lock(mutex_);
        ending_ = true;
    }
    wake_.notify_all();
    if (thread_.joinable()) {
        thread_.join();
    }
}

bool BusyIndicator::Start() {
    const std::lock_guard lock(mutex_);
    if (running_ || thread_.joinable()) {
        return false;
    }
    try {
        thread_ = std::thread([this] { Run(); });
    } catch (const std::system_error&) {
        return false;
    }
    running_ = true;
    return true;
}

bool BusyIndicator::Post(uint32_t message) {
    {
        const std::lock_guard lock(mutex_);
        if (!running_ || ending_) {
            return false;
        }
        queue_.push_back(message);
    }
    wake_.notify_all();
    return true;
}

bool BusyIndicator::IsRunning() const {
    const std::lock_guard lock(mutex_);
    return running_;
}

void BusyIndicator::Run() {
    uint32_t message = 0;
    while (NextMessage(message)) {
        if (message == kBusyHideMessage) {
            WaitBeforeHiding();
            Hide();
            break;
        }
        Show();
    }
    // Ended early: the picture does not stay on the window.
    if (shown_) {
        Hide();
    }
    const std::lock_guard lock(mutex_);
    running_ = false;
}

bool BusyIndicator::NextMessage(uint32_t& message) {
    std::unique_lock lock(mutex_);
    wake_.wait(lock, [this] { return ending_ || !queue_.empty(); });
    if (ending_) {
        return false;
    }
    message = queue_.front();
    queue_.pop_front();
    return true;
}

void BusyIndicator::WaitBeforeHiding() {
    std::unique_lock lock(mutex_);
    wake_.wait_for(lock, timing_.hideWait, [this] { return ending_; });
}

void BusyIndicator::Show() {
    shown_ = true;
    if (window_) {
        window_->PostWindowMessage(kProgressPictureMessage, kProgressPictureCode, 1);
        window_->SetWindowTimer(kBusyAnimationTimer, kBusyAnimationPeriodMs);
    }
}

void BusyIndicator::Hide() {
    shown_ = false;
    if (window_) {
        window_->KillWindowTimer(kBusyAnimationTimer);
        window_->PostWindowMessage(kProgressPictureMessage, kProgressPictureCode, 0);
    }
}

}  // namespace qx::mainwnd
