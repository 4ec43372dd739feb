// When the main window holds its messages back besides its busy state: the keyboard's profile
// read until 'INIT' was handled, and the profile read and the keyboard's departure while the
// profile switch asks about pending changes.
#pragma once

#include <cstdint>
#include <functional>

namespace qx::mainwnd {

struct BusyHoldRules {
    // Whether `message` waits although no transfer runs.
    std::function<bool(uint32_t message)> holds;
    // Whether the messages held so far keep waiting although no transfer runs.
    std::function<bool()> keepsHeld;
};

}  // namespace qx::mainwnd
