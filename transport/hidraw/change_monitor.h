// What tells the hidraw backend that nodes may have come or gone.
#pragma once

#include <functional>
#include <memory>

namespace qx::transport::hidraw {

class ChangeMonitor {
  public:
    virtual ~ChangeMonitor() = default;
    // Readable (poll) when hidraw nodes may have been added or removed.
    virtual int Fd() const = 0;
    // Consumes what made Fd() readable.
    virtual void Drain() = 0;
};

using ChangeMonitorFactory = std::function<std::unique_ptr<ChangeMonitor>()>;

// libudev's monitor of the "hidraw" subsystem, fed after udev's rules ran (so the nodes have
// their final permissions). Null when udev cannot be reached.
std::unique_ptr<ChangeMonitor> MakeUdevChangeMonitor();

}  // namespace qx::transport::hidraw
