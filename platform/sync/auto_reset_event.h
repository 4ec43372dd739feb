// An event that wakes one waiter per signal and resets itself when a waiter takes the signal.
// Signalling an already signalled event changes nothing; waits measure time on the steady clock.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace qx::platform {

class AutoResetEvent {
  public:
    AutoResetEvent() = default;
    AutoResetEvent(const AutoResetEvent&) = delete;
    AutoResetEvent& operator=(const AutoResetEvent&) = delete;

    // Signals the event: one current or future waiter returns true and the event resets.
    void Set() {
        {
            std::lock_guard lock(mutex_);
            signalled_ = true;
        }
        wakeup_.notify_one();
    }

    // Drops a pending signal.
    void Reset() {
        std::lock_guard lock(mutex_);
        signalled_ = false;
    }

    // Waits at most `timeout` for the signal. True: signalled (the event is reset again);
    // false: the time ran out.
    template <class Rep, class Period>
    bool WaitFor(std::chrono::duration<Rep, Period> timeout) {
        std::unique_lock lock(mutex_);
        if (!wakeup_.wait_for(lock, timeout, [this] { return signalled_; })) {
            return false;
        }
        signalled_ = false;
        return true;
    }

    // Waits for the signal until the steady clock reaches `deadline`. True: signalled (the event
    // is reset again); false: the time ran out.
    template <class Duration>
    bool WaitUntil(std::chrono::time_point<std::chrono::steady_clock, Duration> deadline) {
        std::unique_lock lock(mutex_);
        if (!wakeup_.wait_until(lock, deadline, [this] { return signalled_; })) {
            return false;
        }
        signalled_ = false;
        return true;
    }

    // Waits for the signal without a time limit.
    void Wait() {
        std::unique_lock lock(mutex_);
        wakeup_.wait(lock, [this] { return signalled_; });
        signalled_ = false;
    }

  private:
    std::mutex mutex_;
    std::condition_variable wakeup_;
    bool signalled_ = false;
};

}  // namespace qx::platform
