// How the main window's worker threads (the transfer thread) reach the user-interface thread
// without touching its widgets: signals of an object that lives there. Finished is delivered
// queued (the user-interface thread's event loop ends its wait); Call runs the function on the
// object's thread while the emitting thread waits for it.
#pragma once

#include <QObject>
#include <functional>
#include <mutex>

namespace qx::mainwnd {

class ThreadRelay : public QObject {
    Q_OBJECT

  public:
    // One call carried to the relay's thread. The call runs under `lock`, which the caller
    // takes before and after it: Qt's queue and its wait order the two threads already, but
    // with locking of Qt's own that thread checkers do not see.
    struct HandOver {
        std::mutex lock;
        const std::function<void()>* call = nullptr;
    };

    // Made on the thread that is to run the calls.
    ThreadRelay();

    // Runs `call` on the relay's thread and returns when it has run (directly when already
    // there). That thread must keep handling events meanwhile.
    void RunOnOwnThread(const std::function<void()>& call);

  signals:
    void Finished();
    void Call(qx::mainwnd::ThreadRelay::HandOver* handOver);
};

}  // namespace qx::mainwnd
