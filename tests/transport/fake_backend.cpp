#include "tests/transport/fake_backend.h"

namespace qx::test {

using qx::transport::BackendSink;
using qx::transport::CollectionKey;

bool FakeBackend::Start(BackendSink& sink) {
    const std::lock_guard lock(mutex_);
    if (failStart_) {
        return false;
    }
    sink_ = &sink;
    ++starts_;
    return true;
}

void FakeBackend::Stop() {
    const std::lock_guard lock(mutex_);
    sink_ = nullptr;
    ++stops_;
}

bool FakeBackend::Matches(const RadOdorFilter& filter) {
    for (const auto& device : devices_) {
        for (const auto& key : device.collections) {
            if (qx::transport::FilterMatches(filter, device.vendorId, device.productId, key)) {
                return true;
            }
        }
    }
    return false;
}

int FakeBackend::CountDevices(const RadOdorFilter& filter) {
    const std::lock_guard lock(mutex_);
    int count = 0;
    for (const auto& device : devices_) {
        for (const auto& key : device.collections) {
            if (qx::transport::FilterMatches(filter, device.vendorId, device.productId, key)) {
                ++count;
                break;
            }
        }
    }
    return count;
}

int FakeBackend::WriteOutputReport(const RadOdorFilter& filter, std::span<const uint8_t> report) {
    const std::lock_guard lock(mutex_);
    if (writeResult_) {
        return *writeResult_;
    }
    if (!Matches(filter)) {
        return 0;
    }
    sent_.push_back({filter, {report.begin(), report.end()}, false});
    return static_cast<int>(report.size());
}

int FakeBackend::SetFeatureReport(const RadOdorFilter& filter, std::span<const uint8_t> report) {
    const std::lock_guard lock(mutex_);
    if (!Matches(filter)) {
        return 0;
    }
    sent_.push_back({filter, {report.begin(), report.end()}, true});
    return static_cast<int>(report.size());
}

void FakeBackend::Plug(Device device) {
    {
        const std::lock_guard lock(mutex_);
        devices_.push_back(std::move(device));
    }
    Sink()->OnDevicesChanged();
}

void FakeBackend::UnplugAll() {
    {
        const std::lock_guard lock(mutex_);
        devices_.clear();
    }
    Sink()->OnDevicesChanged();
}

void FakeBackend::Input(CollectionKey key, std::vector<uint8_t> report, uint16_t vendorId) {
    Sink()->OnInputReport(vendorId, RADODOR_PRODUCT_ID, key, report);
}

FakeBackend::Device FakeBackend::Keyboard() {
    return Device{RADODOR_VENDOR_ID, RADODOR_PRODUCT_ID, {kCommandKey, kConsumerKey, kLedKey}};
}

std::vector<FakeBackend::Sent> FakeBackend::SentReports() {
    const std::lock_guard lock(mutex_);
    return sent_;
}

int FakeBackend::Starts() {
    const std::lock_guard lock(mutex_);
    return starts_;
}

int FakeBackend::Stops() {
    const std::lock_guard lock(mutex_);
    return stops_;
}

void FakeBackend::FailStart(bool fail) {
    const std::lock_guard lock(mutex_);
    failStart_ = fail;
}

void FakeBackend::ForceWriteResult(std::optional<int> result) {
    const std::lock_guard lock(mutex_);
    writeResult_ = result;
}

BackendSink* FakeBackend::Sink() {
    const std::lock_guard lock(mutex_);
    return sink_;
}

}  // namespace qx::test
