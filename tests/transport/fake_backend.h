// A backend whose devices and traffic the test controls, for the library's request machinery.
#pragma once

#include <mutex>
#include <optional>
#include <vector>

#include "transport/backend.h"

namespace qx::test {

inline constexpr qx::transport::CollectionKey kCommandKey{RADODOR_COMMAND_USAGE_PAGE,
                                                          RADODOR_COMMAND_USAGE};
inline constexpr qx::transport::CollectionKey kConsumerKey{RADODOR_CONSUMER_USAGE_PAGE,
                                                           RADODOR_CONSUMER_USAGE};
inline constexpr qx::transport::CollectionKey kLedKey{RADODOR_LED_USAGE_PAGE, RADODOR_LED_USAGE};

// The filter the driver uses for one of the keyboard's collections.
inline RadOdorFilter KeyboardFilter(qx::transport::CollectionKey key) {
    return {RADODOR_MATCH_ALL, RADODOR_VENDOR_ID, RADODOR_PRODUCT_ID, key.usagePage, key.usage, 0};
}

class FakeBackend final : public qx::transport::Backend {
  public:
    struct Device {
        uint16_t vendorId = RADODOR_VENDOR_ID;
        uint16_t productId = RADODOR_PRODUCT_ID;
        std::vector<qx::transport::CollectionKey> collections;
    };
    struct Sent {
        RadOdorFilter filter{};
        std::vector<uint8_t> report;
        bool feature = false;
    };

    bool Start(qx::transport::BackendSink& sink) override;
    void Stop() override;
    int CountDevices(const RadOdorFilter& filter) override;
    int WriteOutputReport(const RadOdorFilter& filter, std::span<const uint8_t> report) override;
    int SetFeatureReport(const RadOdorFilter& filter, std::span<const uint8_t> report) override;

    // The test's side. Plug and Unplug tell the library, as a real backend does.
    void Plug(Device device);
    void UnplugAll();
    void Input(qx::transport::CollectionKey key, std::vector<uint8_t> report,
               uint16_t vendorId = RADODOR_VENDOR_ID);
    // A keyboard with the three collections.
    static Device Keyboard();

    std::vector<Sent> SentReports();
    int Starts();
    int Stops();
    void FailStart(bool fail);
    // Forces the result of writes; nullopt: the report's size when a device matches, else 0.
    void ForceWriteResult(std::optional<int> result);

  private:
    qx::transport::BackendSink* Sink();
    bool Matches(const RadOdorFilter& filter);  // mutex_ held

    std::mutex mutex_;
    qx::transport::BackendSink* sink_ = nullptr;
    std::vector<Device> devices_;
    std::vector<Sent> sent_;
    int starts_ = 0;
    int stops_ = 0;
    bool failStart_ = false;
    std::optional<int> writeResult_;
};

}  // namespace qx::test
