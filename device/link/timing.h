// The pauses and time limits of the link to the keyboard. The product always runs with the
// defaults; tests and benchmarks may pass shorter ones so that a silent keyboard costs
// milliseconds instead of seconds.
#pragma once

#include <chrono>

namespace qx::device {

struct Timing {
    // How long one attempt of an exchange waits for the keyboard's answer.
    std::chrono::milliseconds attemptTimeout{1000};
    // Pause before an exchange re-sends its packet after a failed attempt.
    std::chrono::milliseconds retryPause{10};
    // Pause a caller takes when it finds the link busy with another thread's exchange. The
    // exchange itself queues behind a running one instead, so it never needs this pause.
    std::chrono::milliseconds busyWait{1001};
    // Pause before the command that ends a write transaction, so the keyboard has finished
    // storing the last write.
    std::chrono::milliseconds endWritePause{10};
    // Interval of the polls that wait for another part of the program to become ready.
    std::chrono::milliseconds pollInterval{50};
};

}  // namespace qx::device
