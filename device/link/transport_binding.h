// Loading the transport library from the run-time folder and binding its twelve functions.
// The library is never unloaded once bound.
#pragma once

#include <optional>
#include <string>

#include "transport/radodor.h"

namespace qx::device {

inline constexpr const char* kTransportLibraryName = "libRadOdor.so";

// The library's path: the run-time folder (platform::GetProgramPaths) + kTransportLibraryName.
std::string TransportLibraryPath();

// Loads the library at `libraryPath`, binds the twelve names in the order of
// RADODOR_FUNCTION_NAMES and calls Init(0). Nothing when the library or a name is missing or
// Init(0) <= 0.
std::optional<RadOdorApi> BindTransport(const std::string& libraryPath);

// BindTransport of the run-time folder's library; when that fails the process ends at once with
// exit code 0 and no message, as the driver cannot work without the library.
RadOdorApi BindTransportOrExit();
RadOdorApi BindTransportOrExit(const std::string& libraryPath);

}  // namespace qx::device
