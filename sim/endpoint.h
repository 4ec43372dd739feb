// Where the emulated keyboard of a state file lives: its server's Unix socket, and the
// qx480-sim program that serves it.
//
// Every process that uses the same state file meets the same keyboard: the socket's name is
// derived from the state file's absolute path, in $XDG_RUNTIME_DIR (or /tmp):
//   qx480-sim-<uid>-<16 hex digits of the path's hash>.sock
// Without a state file the keyboard is the user's default one ("...-default.sock").
#pragma once

#include <filesystem>
#include <optional>

#include "sim/keyboard.h"

namespace qx::sim {

// The environment the emulated keyboard reads.
inline constexpr const char* kEnvState = "RADODOR_SIM_STATE";       // the state file
inline constexpr const char* kEnvTrace = "RADODOR_SIM_TRACE";       // the trace file
inline constexpr const char* kEnvSocket = "RADODOR_SIM_SOCKET";     // overrides the socket path
inline constexpr const char* kEnvServer = "RADODOR_SIM_SERVER";     // overrides the qx480-sim path
inline constexpr const char* kEnvLinger = "RADODOR_SIM_LINGER_MS";  // server's linger when started
                                                                    // on demand
inline constexpr const char* kServerProgramName = "qx480-sim";
// How long a server started on demand stays after its last program left.
inline constexpr Millis kDefaultOnDemandLinger{2000};

struct Endpoint {
    std::filesystem::path stateFile;  // absolute, or empty
    std::filesystem::path socketPath;
};

// The endpoint of a state file (empty: none); a non-empty socketOverride wins.
Endpoint EndpointFor(const std::filesystem::path& stateFile,
                     const std::filesystem::path& socketOverride = {});
// The endpoint named by RADODOR_SIM_STATE and RADODOR_SIM_SOCKET.
Endpoint EndpointFromEnvironment();

// The trace file named by RADODOR_SIM_TRACE, absolute, or empty.
std::filesystem::path TraceFileFromEnvironment();
// RADODOR_SIM_LINGER_MS, or the default.
Millis OnDemandLingerFromEnvironment();

// The qx480-sim program: RADODOR_SIM_SERVER, else next to the library or program this code is
// linked into, else next to the running program, else in $QX_RUNTIME_DIR.
std::optional<std::filesystem::path> FindServerProgram();

// A millisecond count, or "never" for kNever. Nothing for anything else.
inline constexpr Millis kNever{-1};
std::optional<Millis> ParseMillis(std::string_view text);

}  // namespace qx::sim
