// Helpers shared by the emulated keyboard's tests: request packets, a sink that records what a
// backend delivers, and a private temporary folder per test.
#pragma once

#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <mutex>
#include <span>
#include <string>
#include <vector>

#include "sim/hid_reports.h"
#include "transport/backend.h"

namespace qx::sim::testing {

// A sealed command packet: command, length, address, data from byte 8.
inline Packet Request(uint8_t command, uint8_t length, uint16_t address,
                      std::span<const uint8_t> data = {}) {
    Packet p{};
    p[kOffReportId] = kCommandReportId;
    p[kOffCommand] = command;
    p[kOffLength] = length;
    p[kOffAddress] = static_cast<uint8_t>(address & 0xFF);
    p[kOffAddress + 1] = static_cast<uint8_t>(address >> 8);
    for (size_t i = 0; i < data.size() && kOffData + i < kPacketSize; ++i) {
        p[kOffData + i] = data[i];
    }
    SealPacket(p);
    return p;
}

inline RadOdorFilter FilterOf(uint16_t usagePage, uint16_t usage) {
    return {RADODOR_MATCH_ALL, RADODOR_VENDOR_ID, RADODOR_PRODUCT_ID, usagePage, usage, 0};
}
inline RadOdorFilter CommandFilter() {
    return FilterOf(RADODOR_COMMAND_USAGE_PAGE, RADODOR_COMMAND_USAGE);
}
inline RadOdorFilter ConsumerFilter() {
    return FilterOf(RADODOR_CONSUMER_USAGE_PAGE, RADODOR_CONSUMER_USAGE);
}
inline RadOdorFilter LedFilter() {
    return FilterOf(RADODOR_LED_USAGE_PAGE, RADODOR_LED_USAGE);
}

struct ReceivedReport {
    uint16_t usagePage;
    std::vector<uint8_t> bytes;
};

// Records every report and device change a backend delivers.
class RecordingSink final : public qx::transport::BackendSink {
  public:
    void OnInputReport(uint16_t, uint16_t, qx::transport::CollectionKey collection,
                       std::span<const uint8_t> report) override {
        const std::lock_guard lock(mutex_);
        reports_.push_back({collection.usagePage, {report.begin(), report.end()}});
        changed_.notify_all();
    }
    void OnDevicesChanged() override {
        const std::lock_guard lock(mutex_);
        ++deviceChanges_;
        changed_.notify_all();
    }

    // Waits until at least n reports arrived; false after the time-out.
    bool WaitForReports(size_t n, std::chrono::milliseconds timeout = std::chrono::seconds(5)) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, timeout, [&] { return reports_.size() >= n; });
    }
    bool WaitForDeviceChanges(int n, std::chrono::milliseconds timeout = std::chrono::seconds(5)) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, timeout, [&] { return deviceChanges_ >= n; });
    }
    std::vector<ReceivedReport> Reports() {
        const std::lock_guard lock(mutex_);
        return reports_;
    }
    int DeviceChanges() {
        const std::lock_guard lock(mutex_);
        return deviceChanges_;
    }

  private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<ReceivedReport> reports_;
    int deviceChanges_ = 0;
};

// A fresh folder removed at the end of the test.
class TempFolder {
  public:
    TempFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "qx480-sim-test-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data());
    }
    ~TempFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::filesystem::path& Path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

  private:
    std::filesystem::path path_;
};

}  // namespace qx::sim::testing
