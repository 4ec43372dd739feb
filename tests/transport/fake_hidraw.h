// A fake sysfs tree of hidraw nodes, device nodes made of socket pairs (they keep report
// boundaries as hidraw does), a change monitor the test triggers, and a recording sink.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <map>
#include <mutex>
#include <span>
#include <string>
#include <vector>

#include "transport/backend.h"
#include "transport/hidraw/change_monitor.h"
#include "transport/hidraw/hidraw_io.h"
#include "transport/hidraw/sysfs_nodes.h"

namespace qx::test {

// A temporary folder holding <root>/sys/class/hidraw/<node>/device/{uevent,report_descriptor}.
class FakeSysfs {
  public:
    FakeSysfs();
    ~FakeSysfs();
    FakeSysfs(const FakeSysfs&) = delete;
    FakeSysfs& operator=(const FakeSysfs&) = delete;

    qx::transport::hidraw::HidrawPaths Paths() const;
    // hidId like "0003:00000C45:00006518"; phys like "usb-0000:00:14.0-2/input1".
    void AddNode(const std::string& name, const std::string& hidId, const std::string& phys,
                 std::span<const uint8_t> descriptor);
    void RemoveNode(const std::string& name);
    std::string DevicePath(const std::string& name) const;

  private:
    std::filesystem::path root_;
};

// Device nodes: each is a socket pair; the backend gets the one end, the test keeps the other.
class FakeHidrawIo final : public qx::transport::hidraw::HidrawIo {
  public:
    ~FakeHidrawIo() override;

    // Makes the node at this path openable (again: a fresh pair, like a replugged device).
    void Create(const std::string& path);
    // Opening fails with this errno (EACCES: no permission).
    void Deny(const std::string& path, int error);
    // The device's side: send an input report as the kernel would hand it to read(2).
    void SendInput(const std::string& path, std::span<const uint8_t> report);
    // The device's side: the next output report written to the node (empty after a time-out).
    std::vector<uint8_t> ReceiveOutput(const std::string& path);
    // The device leaves: the backend's reads fail.
    void HangUp(const std::string& path);
    // The next `count` waits of the backend fail with this errno; PollFailuresLeft counts down.
    void FailPolls(int count, int error);
    int PollFailuresLeft() const { return pollFailures_.load(); }

    std::vector<std::string> OpenedPaths();
    std::vector<std::vector<uint8_t>> FeatureReports();

    int Open(const std::string& path) override;
    int Write(int fd, std::span<const uint8_t> report) override;
    int SetFeature(int fd, std::span<const uint8_t> report) override;
    int Poll(std::span<pollfd> fds, int timeoutMs) override;

  private:
    struct Node {
        int backendEnd = -1;
        int deviceEnd = -1;
        int denied = 0;
    };
    std::mutex mutex_;
    std::map<std::string, Node> nodes_;
    std::vector<std::string> opened_;
    std::vector<std::vector<uint8_t>> features_;
    std::atomic<int> pollFailures_{0};
    std::atomic<int> pollError_{0};
};

// A change monitor the test triggers by hand.
class ManualChangeMonitor final : public qx::transport::hidraw::ChangeMonitor {
  public:
    ManualChangeMonitor();
    ~ManualChangeMonitor() override;
    ManualChangeMonitor(const ManualChangeMonitor&) = delete;
    ManualChangeMonitor& operator=(const ManualChangeMonitor&) = delete;
    int Fd() const override { return fd_; }
    void Drain() override;
    void Trigger();

  private:
    int fd_ = -1;
};

struct SinkReport {
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    qx::transport::CollectionKey collection;
    std::vector<uint8_t> report;
};

class RecordingSink final : public qx::transport::BackendSink {
  public:
    void OnInputReport(uint16_t vendorId, uint16_t productId,
                       qx::transport::CollectionKey collection,
                       std::span<const uint8_t> report) override;
    void OnDevicesChanged() override;

    // False only after a long safety time-out.
    bool WaitForReports(size_t count);
    bool WaitForChanges(int count);
    std::vector<SinkReport> Reports();
    int Changes();

  private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<SinkReport> reports_;
    int changes_ = 0;
};

}  // namespace qx::test
