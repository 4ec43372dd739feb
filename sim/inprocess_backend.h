// A transport backend that reaches an emulated keyboard living in the same process: no socket,
// no server, the keyboard's own latency and misbehaviour still apply. For tests and
// benchmarks that want to hold the keyboard in their hands.
#pragma once

#include <memory>

#include "sim/keyboard.h"
#include "transport/backend.h"

namespace qx::sim {

// The keyboard's identity on the emulated link.
inline constexpr uint16_t kVendorId = RADODOR_VENDOR_ID;
inline constexpr uint16_t kProductId = RADODOR_PRODUCT_ID;

std::unique_ptr<qx::transport::Backend> MakeInProcessBackend(std::shared_ptr<Keyboard> keyboard);

// The first of the keyboard's collections that the filter matches, in the order command,
// consumer, LED; nothing when it matches none.
std::optional<Collection> MatchingCollection(const RadOdorFilter& filter);

}  // namespace qx::sim
