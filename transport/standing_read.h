// One standing read (RequestAsyncRead): its filter, its unit record and a delivery thread of
// its own, so a callback that blocks holds up only this read's reports.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "transport/radodor.h"
#include "transport/serial_worker.h"

namespace qx::transport {

class StandingRead {
  public:
    StandingRead(uint32_t unitId, const RadOdorFilter& filter, RadOdorCallback callback,
                 uint32_t userTag, int deviceCount, size_t maxQueuedReports);

    uint32_t UnitId() const { return unitId_; }
    const RadOdorFilter& Filter() const { return filter_; }
    // The record handed to callbacks; its address identifies the read (DeleteRequestFromHandle).
    const RadOdorUnit* Unit() const { return &unit_; }

    // The matching keyboard count last told to the callback (guarded by the library's lock).
    int LastCount() const { return lastCount_; }
    void SetLastCount(int count) { lastCount_ = count; }

    // Queue a kind-1 or kind-0 notification. Reports beyond the queue limit are dropped (a
    // callback that never returns must not make the library grow without bound); counts never.
    void PostReport(std::span<const uint8_t> report);
    void PostCount(int count);

    // Ends delivery: queued notifications are dropped, a running callback finishes.
    void Cancel() { worker_.Stop(); }
    // Waits for a running callback to return; does nothing on the read's own thread.
    void Join() { worker_.Join(); }
    bool OnOwnThread() const { return worker_.OnOwnThread(); }
    bool Finished() const { return worker_.Finished(); }

  private:
    void DeliverReport(const std::vector<uint8_t>& report);

    const uint32_t unitId_;
    const RadOdorFilter filter_;
    const RadOdorCallback callback_;
    const size_t maxQueuedReports_;
    int lastCount_;
    RadOdorUnit unit_{};
    std::vector<uint8_t> latest_;  // touched only on the delivery thread
    std::atomic<size_t> queuedReports_{0};
    std::atomic<bool> dropping_{false};
    SerialWorker worker_;  // last: its thread may run as soon as it exists
};

}  // namespace qx::transport
