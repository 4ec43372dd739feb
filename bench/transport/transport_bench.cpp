// What the transport costs per report: parsing a node's descriptor when it appears, and handing
// an input report from the backend to a standing read's callback (the path of every answer).
#include <benchmark/benchmark.h>

#include <array>
#include <atomic>
#include <condition_variable>
#include <mutex>

#include "transport/hidraw/report_descriptor.h"
#include "transport/library.h"

namespace {

using qx::transport::Backend;
using qx::transport::BackendSink;
using qx::transport::CollectionKey;

constexpr CollectionKey kCommand{RADODOR_COMMAND_USAGE_PAGE, RADODOR_COMMAND_USAGE};
constexpr RadOdorFilter kCommandFilter{RADODOR_MATCH_ALL,     RADODOR_VENDOR_ID,
                                       RADODOR_PRODUCT_ID,    RADODOR_COMMAND_USAGE_PAGE,
                                       RADODOR_COMMAND_USAGE, 0};

// The keyboard's control interface: consumer (id 3), LED (id 5), command (id 4, 64 bytes).
constexpr std::array<uint8_t, 76> kControlDescriptor = {
    0x05, 0x0C, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x03, 0x15, 0x00, 0x26, 0xFF, 0xFF, 0x19, 0x00, 0x2A,
    0xFF, 0xFF, 0x75, 0x10, 0x95, 0x01, 0x81, 0x00, 0xC0, 0x05, 0x08, 0x09, 0x89, 0xA1, 0x01, 0x85,
    0x05, 0x15, 0x00, 0x26, 0xFF, 0x00, 0x09, 0x4B, 0x75, 0x08, 0x95, 0x01, 0x91, 0x02, 0xC0, 0x06,
    0x1C, 0xFF, 0x09, 0x92, 0xA1, 0x01, 0x85, 0x04, 0x15, 0x00, 0x26, 0xFF, 0x00, 0x75, 0x08, 0x95,
    0x3F, 0x09, 0x01, 0x81, 0x02, 0x95, 0x3F, 0x09, 0x01, 0x91, 0x02, 0xC0};

class LoopBackend final : public Backend {
  public:
    bool Start(BackendSink& sink) override {
        sink_ = &sink;
        return true;
    }
    void Stop() override {}
    int CountDevices(const RadOdorFilter&) override { return 1; }
    int WriteOutputReport(const RadOdorFilter&, std::span<const uint8_t> r) override {
        return static_cast<int>(r.size());
    }
    int SetFeatureReport(const RadOdorFilter&, std::span<const uint8_t> r) override {
        return static_cast<int>(r.size());
    }
    BackendSink* sink_ = nullptr;
};

std::mutex g_mutex;
std::condition_variable g_delivered;
uint64_t g_count = 0;

int OnReport(RadOdorNotification*) {
    {
        const std::lock_guard lock(g_mutex);
        ++g_count;
    }
    g_delivered.notify_one();
    return 1;
}

void BM_ParseControlDescriptor(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(qx::transport::hid::ParseReportDescriptor(kControlDescriptor));
    }
}
BENCHMARK(BM_ParseControlDescriptor);

// One 64-byte answer from the backend's thread to the callback, waiting for each.
void BM_AnswerDelivery(benchmark::State& state) {
    auto owned = std::make_unique<LoopBackend>();
    LoopBackend* backend = owned.get();
    qx::transport::Library library(qx::transport::UseBackend(std::move(owned)));
    library.Init(0);
    library.RequestAsyncRead(&kCommandFilter, &OnReport, 0x4354524C, nullptr);
    std::array<uint8_t, 64> packet{4};
    uint64_t expected = 0;
    {
        const std::lock_guard lock(g_mutex);
        expected = g_count;
    }
    for (auto _ : state) {
        backend->sink_->OnInputReport(RADODOR_VENDOR_ID, RADODOR_PRODUCT_ID, kCommand, packet);
        ++expected;
        std::unique_lock lock(g_mutex);
        g_delivered.wait(lock, [&] { return g_count >= expected; });
    }
    library.End();
}
BENCHMARK(BM_AnswerDelivery)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
