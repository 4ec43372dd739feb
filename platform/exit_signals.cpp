#include "platform/exit_signals.h"

#include <fcntl.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <atomic>
#include <cerrno>
#include <utility>

namespace qx::platform {
namespace {

// The write end of the pipe of the object that holds the signals; -1 when none does.
std::atomic<int> signalPipe{-1};
static_assert(std::atomic<int>::is_always_lock_free, "read in a signal handler");

// Only async-signal-safe calls: a write that never blocks (a full pipe already holds a
// signal nobody read yet), and errno left as the interrupted code had it.
void OnExitSignal(int signal) {
    const int savedErrno = errno;
    const int descriptor = signalPipe.load();
    if (descriptor >= 0) {
        const auto number = static_cast<unsigned char>(signal);
        [[maybe_unused]] const ssize_t written = ::write(descriptor, &number, 1);
    }
    errno = savedErrno;
}

}  // namespace

ExitSignals::ExitSignals(Handler handler, QObject* parent)
    : QObject(parent), handler_(std::move(handler)) {
    if (signalPipe.load() >= 0 || ::pipe2(pipe_.data(), O_CLOEXEC | O_NONBLOCK) != 0) {
        pipe_ = {-1, -1};
        return;
    }
    notifier_ = std::make_unique<QSocketNotifier>(pipe_[0], QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, &ExitSignals::ReadSignals);
    signalPipe.store(pipe_[1]);
    struct sigaction action {};
    action.sa_handler = &OnExitSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;  // the interrupted calls of other threads go on
    for (std::size_t i = 0; i < kExitSignals.size(); ++i) {
        ::sigaction(kExitSignals[i], &action, &previous_[i]);
    }
    active_ = true;
}

ExitSignals::~ExitSignals() {
    Restore();
}

void ExitSignals::Restore() {
    if (active_) {
        for (std::size_t i = 0; i < kExitSignals.size(); ++i) {
            ::sigaction(kExitSignals[i], &previous_[i], nullptr);
        }
        signalPipe.store(-1);
        active_ = false;
    }
    notifier_.reset();
    for (int& descriptor : pipe_) {
        if (descriptor >= 0) {
            ::close(descriptor);
        }
        descriptor = -1;
    }
}

void ExitSignals::ReadSignals() {
    unsigned char number = 0;
    while (::read(pipe_[0], &number, 1) == 1) {
        if (handler_) {
            handler_(number);
        }
    }
}

}  // namespace qx::platform
