// One worker thread that runs queued jobs one at a time, in the order they were queued. The
// connection keeps keyboard-count changes and tray-indicator changes on such queues, so a quick
// unplug and replug is handled as it happened, never by two racing threads.
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace qx::device {

class WorkQueue {
  public:
    WorkQueue();
    // Stop().
    ~WorkQueue();
    WorkQueue(const WorkQueue&) = delete;
    WorkQueue& operator=(const WorkQueue&) = delete;

    // Queues a job; false (job dropped) once Stop has begun.
    bool Enqueue(std::function<void()> job);

    // Drops the jobs not yet started, lets the running one finish and joins the thread. Jobs
    // that wait for something poll StopRequested (or WaitFor) to end early.
    void Stop();

    bool StopRequested() const;

    // Sleeps up to `duration`; returns early, with false, when Stop was requested.
    bool WaitFor(std::chrono::milliseconds duration);

    // True while no job is queued or running (for tests and benchmarks).
    bool IsIdle() const;

  private:
    void Run();

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::function<void()>> jobs_;
    bool stopping_ = false;
    bool running_ = false;
    std::thread thread_;
};

}  // namespace qx::device
