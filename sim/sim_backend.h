// The transport library's "sim" backend: the emulated keyboard, reached the same way whichever
// process (driver, command-line tool, test) asks for it.
#pragma once

#include <memory>

#include "transport/backend.h"

namespace qx::sim {

// The backend libRadOdor uses when RADODOR_BACKEND=sim. It attaches to the emulated keyboard
// shared by every process that uses the same state file (RADODOR_SIM_STATE), starting the
// keyboard's server process when none runs yet.
std::unique_ptr<qx::transport::Backend> MakeSimBackend();

}  // namespace qx::sim
