#include "tests/transport/fake_hidraw.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <fstream>
#include <stdexcept>

namespace qx::test {
namespace {

namespace fs = std::filesystem;

constexpr auto kSafetyTimeout = std::chrono::seconds(20);
constexpr int kReceiveTimeoutMs = 20000;
constexpr size_t kMaxReport = 4096;

void WriteFile(const fs::path& path, std::span<const char> bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

FakeSysfs::FakeSysfs() {
    static std::atomic<int> counter{0};
    root_ = fs::temp_directory_path() /
            ("qx-transport-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    fs::create_directories(root_ / "sys" / "class" / "hidraw");
    fs::create_directories(root_ / "dev");
}

FakeSysfs::~FakeSysfs() {
    std::error_code error;
    fs::remove_all(root_, error);
}

qx::transport::hidraw::HidrawPaths FakeSysfs::Paths() const {
    return {(root_ / "sys").string(), (root_ / "dev").string()};
}

void FakeSysfs::AddNode(const std::string& name, const std::string& hidId, const std::string& phys,
                        std::span<const uint8_t> descriptor) {
    const fs::path device = root_ / "sys" / "class" / "hidraw" / name / "device";
    fs::create_directories(device);
    const std::string uevent = "DRIVER=hid-generic\nHID_ID=" + hidId +
                               "\nHID_NAME=Test Keyboard\nHID_PHYS=" + phys +
                               "\nHID_UNIQ=\nMODALIAS=hid:test\n";
    WriteFile(device / "uevent", uevent);
    WriteFile(device / "report_descriptor",
              {reinterpret_cast<const char*>(descriptor.data()), descriptor.size()});
    const std::string dev = "243:" + name.substr(6) + "\n";
    WriteFile(device.parent_path() / "dev", dev);
}

void FakeSysfs::RemoveNode(const std::string& name) {
    fs::remove_all(root_ / "sys" / "class" / "hidraw" / name);
}

std::string FakeSysfs::DevicePath(const std::string& name) const {
    return (root_ / "dev" / name).string();
}

FakeHidrawIo::~FakeHidrawIo() {
    for (auto& [path, node] : nodes_) {
        if (node.backendEnd >= 0) {
            ::close(node.backendEnd);
        }
        if (node.deviceEnd >= 0) {
            ::close(node.deviceEnd);
        }
    }
}

void FakeHidrawIo::Create(const std::string& path) {
    int pair[2];
    if (::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, pair) != 0) {
        throw std::runtime_error("socketpair failed");
    }
    const std::lock_guard lock(mutex_);
    Node& node = nodes_[path];
    if (node.backendEnd >= 0) {
        ::close(node.backendEnd);
    }
    if (node.deviceEnd >= 0) {
        ::close(node.deviceEnd);
    }
    node = Node{pair[0], pair[1], 0};
}

void FakeHidrawIo::Deny(const std::string& path, int error) {
    const std::lock_guard lock(mutex_);
    nodes_[path].denied = error;
}

void FakeHidrawIo::SendInput(const std::string& path, std::span<const uint8_t> report) {
    int fd = -1;
    {
        const std::lock_guard lock(mutex_);
        fd = nodes_.at(path).deviceEnd;
    }
    if (::send(fd, report.data(), report.size(), MSG_NOSIGNAL) < 0) {
        throw std::runtime_error("cannot send an input report");
    }
}

std::vector<uint8_t> FakeHidrawIo::ReceiveOutput(const std::string& path) {
    int fd = -1;
    {
        const std::lock_guard lock(mutex_);
        fd = nodes_.at(path).deviceEnd;
    }
    pollfd pfd{fd, POLLIN, 0};
    if (::poll(&pfd, 1, kReceiveTimeoutMs) <= 0) {
        return {};
    }
    std::vector<uint8_t> report(kMaxReport);
    const ssize_t got = ::recv(fd, report.data(), report.size(), 0);
    report.resize(got > 0 ? static_cast<size_t>(got) : 0);
    return report;
}

void FakeHidrawIo::HangUp(const std::string& path) {
    const std::lock_guard lock(mutex_);
    Node& node = nodes_.at(path);
    if (node.deviceEnd >= 0) {
        ::close(node.deviceEnd);
        node.deviceEnd = -1;
    }
}

std::vector<std::string> FakeHidrawIo::OpenedPaths() {
    const std::lock_guard lock(mutex_);
    return opened_;
}

std::vector<std::vector<uint8_t>> FakeHidrawIo::FeatureReports() {
    const std::lock_guard lock(mutex_);
    return features_;
}

int FakeHidrawIo::Open(const std::string& path) {
    const std::lock_guard lock(mutex_);
    const auto it = nodes_.find(path);
    if (it == nodes_.end()) {
        return -ENOENT;
    }
    if (it->second.denied != 0) {
        return -it->second.denied;
    }
    opened_.push_back(path);
    const int fd = ::dup(it->second.backendEnd);
    return fd >= 0 ? fd : -errno;
}

int FakeHidrawIo::Write(int fd, std::span<const uint8_t> report) {
    const ssize_t sent = ::send(fd, report.data(), report.size(), MSG_NOSIGNAL);
    return sent >= 0 ? static_cast<int>(sent) : -errno;
}

int FakeHidrawIo::SetFeature(int /*fd*/, std::span<const uint8_t> report) {
    const std::lock_guard lock(mutex_);
    features_.emplace_back(report.begin(), report.end());
    return static_cast<int>(report.size());
}

void FakeHidrawIo::FailPolls(int count, int error) {
    pollError_.store(error);
    pollFailures_.store(count);
}

int FakeHidrawIo::Poll(std::span<pollfd> fds, int timeoutMs) {
    int left = pollFailures_.load();
    while (left > 0) {
        if (pollFailures_.compare_exchange_weak(left, left - 1)) {
            return -pollError_.load();
        }
    }
    const int ready = ::poll(fds.data(), fds.size(), timeoutMs);
    return ready >= 0 ? ready : -errno;
}

ManualChangeMonitor::ManualChangeMonitor() : fd_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

ManualChangeMonitor::~ManualChangeMonitor() {
    ::close(fd_);
}

void ManualChangeMonitor::Drain() {
    uint64_t count = 0;
    while (::read(fd_, &count, sizeof count) > 0) {
    }
}

void ManualChangeMonitor::Trigger() {
    const uint64_t one = 1;
    if (::write(fd_, &one, sizeof one) < 0) {
        throw std::runtime_error("cannot trigger the monitor");
    }
}

void RecordingSink::OnInputReport(uint16_t vendorId, uint16_t productId,
                                  qx::transport::CollectionKey collection,
                                  std::span<const uint8_t> report) {
    {
        const std::lock_guard lock(mutex_);
        reports_.push_back({vendorId, productId, collection, {report.begin(), report.end()}});
    }
    changed_.notify_all();
}

void RecordingSink::OnDevicesChanged() {
    {
        const std::lock_guard lock(mutex_);
        ++changes_;
    }
    changed_.notify_all();
}

bool RecordingSink::WaitForReports(size_t count) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, kSafetyTimeout, [&] { return reports_.size() >= count; });
}

bool RecordingSink::WaitForChanges(int count) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, kSafetyTimeout, [&] { return changes_ >= count; });
}

std::vector<SinkReport> RecordingSink::Reports() {
    const std::lock_guard lock(mutex_);
    return reports_;
}

int RecordingSink::Changes() {
    const std::lock_guard lock(mutex_);
    return changes_;
}

}  // namespace qx::test
