// The backend libRadOdor.so runs on, chosen by the environment variable RADODOR_BACKEND.
#pragma once

#include <memory>

#include "transport/backend.h"

namespace qx::transport {

inline constexpr const char* kBackendVariable = "RADODOR_BACKEND";
inline constexpr const char* kHidrawBackendName = "hidraw";
inline constexpr const char* kSimBackendName = "sim";

// "hidraw" (also when unset or empty): real keyboards; "sim": the emulated keyboard.
// Any other value: null, and Init fails.
std::unique_ptr<Backend> MakeBackendFromEnvironment();

}  // namespace qx::transport
