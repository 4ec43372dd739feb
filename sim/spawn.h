// Starting the keyboard's server on demand: `qx480-sim serve` as a detached process (its own
// session, standard streams on /dev/null) that tells over a pipe whether it listens.
#pragma once

#include <filesystem>
#include <string>

#include "sim/endpoint.h"

namespace qx::sim {

// What the server writes to its readiness descriptor, one line.
inline constexpr std::string_view kReadyLine = "ready";
inline constexpr std::string_view kBusyLine = "busy";       // another server owns the socket
inline constexpr std::string_view kErrorPrefix = "error ";  // followed by the reason

enum class SpawnOutcome { kReady, kBusy, kFailed };

struct SpawnResult {
    SpawnOutcome outcome = SpawnOutcome::kFailed;
    std::string message;  // kFailed: why
};

SpawnResult SpawnServer(const std::filesystem::path& program, const Endpoint& endpoint,
                        Millis linger, Millis timeout);

}  // namespace qx::sim
