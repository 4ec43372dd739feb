// A thread that runs posted tasks one after another, in the order they were posted.
#pragma once

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

namespace qx::transport {

class SerialWorker {
  public:
    // name: shown by debuggers and `top -H` (at most 15 characters are kept).
    explicit SerialWorker(std::string name);
    // Stops and joins; from the worker's own thread it can only let go of the thread.
    ~SerialWorker();
    SerialWorker(const SerialWorker&) = delete;
    SerialWorker& operator=(const SerialWorker&) = delete;

    // Queues a task. False once the worker was stopped (the task is dropped).
    bool Post(std::function<void()> task);
    // Drops the queued tasks; the running task finishes, then the thread ends.
    void Stop();
    // Waits for the thread to end. Does nothing when called from the worker's own thread.
    void Join();
    bool OnOwnThread() const { return std::this_thread::get_id() == id_; }
    // The thread has left its loop (it may still need joining).
    bool Finished() const { return finished_.load(std::memory_order_acquire); }

  private:
    void Run(const std::string& name);

    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::function<void()>> tasks_;
    bool stopping_ = false;
    std::atomic<bool> finished_{false};
    std::mutex joinMutex_;
    std::thread thread_;
    std::thread::id id_;
};

}  // namespace qx::transport
