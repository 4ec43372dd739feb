// SignalInstance: hands a request to the running instance's local server and waits for its
// answer. Qt-free, so a second start ("/Kill" from a terminal without a display included) needs
// no connection to the desktop.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <optional>

#include "app/instance_wire.h"

namespace qx::app {

enum class InstanceSignalKind { Open = 0, Kill = 1 };

// How long a second start waits for the running instance to answer. It answers from its
// user-interface thread before its window handles the message; a hung instance must not hang
// every later start.
inline constexpr std::chrono::milliseconds kInstanceAnswerTimeout{5000};

// Sends 'OPEN' (kind Open) or 'KILL' (kind Kill) to the window tagged 'MAIN' of process `pid`.
// True when such a window was there and took the message; false when the process has no
// such window, no server, is not the process listening there, or did not answer in time.
bool SignalInstance(pid_t pid, InstanceSignalKind kind,
                    std::chrono::milliseconds timeout = kInstanceAnswerTimeout);

// Sends one request to process `pid`'s server; the answer, or nothing when there was none.
// The peer must be process `pid` of this user.
std::optional<InstanceReply> ExchangeWithInstance(pid_t pid, const InstanceRequest& request,
                                                  std::chrono::milliseconds timeout);

}  // namespace qx::app
