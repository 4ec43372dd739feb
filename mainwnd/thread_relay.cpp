#include "mainwnd/thread_relay.h"

#include <QThread>

namespace qx::mainwnd {

ThreadRelay::ThreadRelay() {
    connect(
        this, &ThreadRelay::Call, this, [](const std::function<void()>* call) { (*call)(); },
        Qt::BlockingQueuedConnection);
}

void ThreadRelay::RunOnOwnThread(const std::function<void()>& call) {
    if (QThread::currentThread() == thread()) {
        call();
        return;
    }
    emit Call(&call);
}

}  // namespace qx::mainwnd
