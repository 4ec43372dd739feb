// The backend of real keyboards: hidraw nodes found through sysfs, read on a thread of the
// backend, watched for arrival and departure through udev.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "transport/backend.h"
#include "transport/hidraw/change_monitor.h"
#include "transport/hidraw/hidraw_io.h"
#include "transport/hidraw/report_descriptor.h"
#include "transport/hidraw/sysfs_nodes.h"

namespace qx::transport::hidraw {

struct DeviceId {
    uint16_t vendorId = 0;
    uint16_t productId = 0;
};

struct HidrawOptions {
    HidrawPaths paths;
    std::shared_ptr<HidrawIo> io;        // null: the real system calls
    ChangeMonitorFactory changeMonitor;  // null: libudev
    // The devices whose nodes are opened (only those that hold a collection the library uses);
    // empty: every device. Other nodes are enumerated but left alone, so their permission errors
    // are never reported.
    std::vector<DeviceId> devices = {{RADODOR_VENDOR_ID, RADODOR_PRODUCT_ID}};
    // Nodes are also looked for at this interval, so arrival and departure are noticed within
    // it even without udev, and nodes that became accessible are picked up. 0: only on
    // monitor events.
    std::chrono::milliseconds rescanInterval{1000};
};

class HidrawBackend final : public Backend {
  public:
    explicit HidrawBackend(HidrawOptions options = {});
    ~HidrawBackend() override;
    HidrawBackend(const HidrawBackend&) = delete;
    HidrawBackend& operator=(const HidrawBackend&) = delete;

    bool Start(BackendSink& sink) override;
    void Stop() override;
    // Counts physical devices: the interfaces of one keyboard count once.
    int CountDevices(const RadOdorFilter& filter) override;
    int WriteOutputReport(const RadOdorFilter& filter, std::span<const uint8_t> report) override;
    int SetFeatureReport(const RadOdorFilter& filter, std::span<const uint8_t> report) override;

    // Nodes of the wanted devices that are present but may not be opened by this user; they
    // count as absent. Empty once the udev rule gives the user access.
    std::vector<std::string> InaccessibleNodes() const;

  private:
    struct Node;

    void Run();
    // True when the set of usable nodes changed. retryFailed: reopen nodes whose reads failed.
    bool Rescan(bool retryFailed);
    std::shared_ptr<Node> OpenNode(HidrawNodeInfo info, const hid::ReportDescriptor& descriptor,
                                   const Node* previous);
    bool ReadNode(const Node& node, std::vector<uint8_t>& buffer);
    // Waits a little longer after each failed poll (`pause`: the last pause, 0 for the first),
    // ending at once when Stop is called.
    void PauseAfterFailedPoll(int error, std::chrono::milliseconds& pause);
    // The descriptor of a node to open: one of the wanted devices' nodes that holds a
    // collection the library uses (transport/hidraw/used_collections.h). None for every other.
    std::optional<hid::ReportDescriptor> WantedDescriptor(const HidrawNodeInfo& info) const;
    std::shared_ptr<Node> FindTarget(const RadOdorFilter& filter,
                                     std::span<const uint8_t> report) const;

    const HidrawOptions options_;
    const std::shared_ptr<HidrawIo> io_;
    BackendSink* sink_ = nullptr;
    mutable std::mutex mutex_;
    std::vector<std::shared_ptr<Node>> nodes_;       // replaced only by Start, Stop and the thread
    std::vector<std::shared_ptr<Node>> lastUsable_;  // Start, Stop and the thread only
    std::unique_ptr<ChangeMonitor> monitor_;
    int wakeFd_ = -1;
    std::atomic<bool> stopping_{false};
    std::mutex pauseMutex_;  // set stopping_ under it, so a pausing reader cannot miss Stop
    std::condition_variable pauseEnded_;
    std::thread thread_;
};

}  // namespace qx::transport::hidraw
