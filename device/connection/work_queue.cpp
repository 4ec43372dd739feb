#include "device/connection/work_queue.h"

namespace qx::device {

WorkQueue::WorkQueue() : thread_([this] { Run(); }) {}

WorkQueue::~WorkQueue() {
    Stop();
}

bool WorkQueue::Enqueue(std::function<void()> job) {
    {
        std::lock_guard lock(mutex_);
        if (stopping_) {
            return false;
        }
        jobs_.push_back(std::move(job));
    }
    changed_.notify_all();
    return true;
}

void WorkQueue::Stop() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        jobs_.clear();
    }
    changed_.notify_all();
    if (thread_.joinable() && thread_.get_id() != std::this_thread::get_id()) {
        thread_.join();
    }
}

bool WorkQueue::StopRequested() const {
    std::lock_guard lock(mutex_);
    return stopping_;
}

bool WorkQueue::WaitFor(std::chrono::milliseconds duration) {
    std::unique_lock lock(mutex_);
    return !changed_.wait_for(lock, duration, [this] { return stopping_; });
}

bool WorkQueue::IsIdle() const {
    std::lock_guard lock(mutex_);
    return jobs_.empty() && !running_;
}

void WorkQueue::Run() {
    std::unique_lock lock(mutex_);
    while (true) {
        changed_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
        if (stopping_) {
            return;
        }
        std::function<void()> job = std::move(jobs_.front());
        jobs_.pop_front();
        running_ = true;
        lock.unlock();
        job();
        lock.lock();
        running_ = false;
        changed_.notify_all();
    }
}

}  // namespace qx::device
