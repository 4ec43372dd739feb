#include "transport/serial_worker.h"

#include <pthread.h>

namespace qx::transport {
namespace {

constexpr size_t kMaxThreadNameLength = 15;

}  // namespace

SerialWorker::SerialWorker(std::string name) {
    // The thread waits on mutex_ before it runs any task, and tasks are posted only after the
    // constructor returned, so id_ is set before any task can ask OnOwnThread().
    thread_ = std::thread([this, threadName = std::move(name)] { Run(threadName); });
    id_ = thread_.get_id();
}

SerialWorker::~SerialWorker() {
    Stop();
    if (OnOwnThread()) {
        thread_.detach();
        return;
    }
    Join();
}

bool SerialWorker::Post(std::function<void()> task) {
    {
        const std::lock_guard lock(mutex_);
        if (stopping_) {
            return false;
        }
        tasks_.push_back(std::move(task));
    }
    wake_.notify_one();
    return true;
}

void SerialWorker::Stop() {
    std::deque<std::function<void()>> dropped;
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
        dropped.swap(tasks_);
    }
    wake_.notify_one();
    // `dropped` is destroyed here, outside the lock: tasks may own objects with destructors.
}

void SerialWorker::Join() {
    if (OnOwnThread()) {
        return;
    }
    const std::lock_guard lock(joinMutex_);
    if (thread_.joinable()) {
        thread_.join();
    }
}

void SerialWorker::Run(const std::string& name) {
    pthread_setname_np(pthread_self(), name.substr(0, kMaxThreadNameLength).c_str());
    for (;;) {
        std::function<void()> task;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return stopping_ || !tasks_.empty(); });
            if (stopping_) {
                break;
            }
            task = std::move(tasks_.front());
            tasks_.pop_front();
        }
        task();
    }
    finished_.store(true, std::memory_order_release);
}

}  // namespace qx::transport
