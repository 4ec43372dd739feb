#include <libudev.h>

#include "transport/hidraw/change_monitor.h"

namespace qx::transport::hidraw {
namespace {

constexpr const char* kSubsystem = "hidraw";
constexpr const char* kEventSource = "udev";

class UdevChangeMonitor final : public ChangeMonitor {
  public:
    UdevChangeMonitor(udev* context, udev_monitor* monitor)
        : context_(context), monitor_(monitor) {}
    ~UdevChangeMonitor() override {
        udev_monitor_unref(monitor_);
        udev_unref(context_);
    }
    UdevChangeMonitor(const UdevChangeMonitor&) = delete;
    UdevChangeMonitor& operator=(const UdevChangeMonitor&) = delete;

    int Fd() const override { return udev_monitor_get_fd(monitor_); }

    void Drain() override {
        // The monitor's socket does not block: this ends when no event is left.
        while (udev_device* device = udev_monitor_receive_device(monitor_)) {
            udev_device_unref(device);
        }
    }

  private:
    udev* context_;
    udev_monitor* monitor_;
};

}  // namespace

std::unique_ptr<ChangeMonitor> MakeUdevChangeMonitor() {
    udev* context = udev_new();
    if (context == nullptr) {
        return nullptr;
    }
    udev_monitor* monitor = udev_monitor_new_from_netlink(context, kEventSource);
    if (monitor == nullptr ||
        udev_monitor_filter_add_match_subsystem_devtype(monitor, kSubsystem, nullptr) < 0 ||
        udev_monitor_enable_receiving(monitor) < 0) {
        if (monitor != nullptr) {
            udev_monitor_unref(monitor);
        }
        udev_unref(context);
        return nullptr;
    }
    return std::make_unique<UdevChangeMonitor>(context, monitor);
}

}  // namespace qx::transport::hidraw
