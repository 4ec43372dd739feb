#include "mainwnd/thread_relay.h"

#include <QThread>

namespace qx::mainwnd {

ThreadRelay::ThreadRelay() {
    connect(
        this, &ThreadRelay::Call, this,
        [](HandOver* handOver) {
            const std::lock_guard lock(handOver->lock);
            (*handOver->call)();
        },
        Qt::BlockingQueuedConnection);
}

void ThreadRelay::RunOnOwnThread(const std::function<void()>& call) {
    if (QThread::currentThread() == thread()) {
        call();
        return;
    }
    HandOver handOver;
    {
        const std::lock_guard before(handOver.lock);
        handOver.call = &call;
    }
    emit Call(&handOver);
    const std::lock_guard after(handOver.lock);
}

}  // namespace qx::mainwnd
