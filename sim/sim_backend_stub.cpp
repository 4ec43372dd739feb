#include "sim/sim_backend.h"

namespace qx::sim {
namespace {

// Placeholder until the emulated keyboard lands: reports no keyboard and refuses to start.
class UnavailableBackend final : public qx::transport::Backend {
public:
    bool Start(qx::transport::BackendSink&) override { return false; }
    void Stop() override {}
    int CountDevices(const RadOdorFilter&) override { return 0; }
    int WriteOutputReport(const RadOdorFilter&, std::span<const uint8_t>) override { return 0; }
    int SetFeatureReport(const RadOdorFilter&, std::span<const uint8_t>) override { return 0; }
};

}  // namespace

std::unique_ptr<qx::transport::Backend> MakeSimBackend() {
    return std::make_unique<UnavailableBackend>();
}

}  // namespace qx::sim
