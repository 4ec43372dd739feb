// Whether the keyboard is plugged in but this user may not open its hidraw nodes: the case in
// which the user has to install the udev rule (70-qx480.rules). Needs no running library.
#pragma once

#include <string>
#include <vector>

#include "transport/hidraw/hidraw_io.h"
#include "transport/hidraw/sysfs_nodes.h"

namespace qx::transport::hidraw {

struct KeyboardAccess {
    int nodes = 0;                         // the keyboard's nodes the library opens, present
    std::vector<std::string> deniedNodes;  // those this user has no permission to open

    bool Present() const { return nodes > 0; }
    bool PresentButNotOpenable() const { return !deniedNodes.empty(); }
};

// Tries to open (and closes again) every node of the keyboard (RADODOR_VENDOR_ID,
// RADODOR_PRODUCT_ID) that the library opens: those holding a collection it uses. io: null for
// the real system calls.
KeyboardAccess CheckKeyboardAccess(const HidrawPaths& paths = {}, HidrawIo* io = nullptr);

}  // namespace qx::transport::hidraw
