#include "transport/standing_read.h"

#include "transport/debug_log.h"
#include "transport/notification.h"

namespace qx::transport {

StandingRead::StandingRead(uint32_t unitId, const RadOdorFilter& filter, RadOdorCallback callback,
                           uint32_t userTag, int deviceCount, size_t maxQueuedReports)
    : unitId_(unitId),
      filter_(filter),
      callback_(callback),
      maxQueuedReports_(maxQueuedReports),
      lastCount_(deviceCount),
      worker_("radodor-read") {
    unit_.unit_id = unitId;
    unit_.user_tag = userTag;
}

void StandingRead::PostReport(std::span<const uint8_t> report) {
    if (queuedReports_.fetch_add(1) >= maxQueuedReports_) {
        queuedReports_.fetch_sub(1);
        if (!dropping_.exchange(true)) {
            DebugPrint(kDebugErrors, "read %u: callback is not keeping up, dropping reports",
                       unitId_);
        }
        return;
    }
    std::vector<uint8_t> copy(report.begin(), report.end());
    if (!worker_.Post([this, bytes = std::move(copy)] { DeliverReport(bytes); })) {
        queuedReports_.fetch_sub(1);
    }
}

void StandingRead::PostCount(int count) {
    worker_.Post([this, count] {
        Notify(callback_, RADODOR_NOTIFY_COUNT_CHANGED, unit_.user_tag,
               static_cast<uint32_t>(count), nullptr, &unit_);
    });
}

void StandingRead::DeliverReport(const std::vector<uint8_t>& report) {
    queuedReports_.fetch_sub(1);
    dropping_.store(false);
    latest_ = report;
    unit_.latest_report = latest_.data();
    unit_.latest_length = static_cast<uint32_t>(latest_.size());
    Notify(callback_, RADODOR_NOTIFY_REPORT, unit_.user_tag, unit_.latest_length,
           unit_.latest_report, &unit_);
}

}  // namespace qx::transport
