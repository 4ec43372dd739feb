// Any bytes as a hidraw node's report descriptor: the parser must stay within them, and what it
// returns must be consistent enough for the backend to route reports with.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "transport/hidraw/report_descriptor.h"
#include "transport/hidraw/report_routing.h"

namespace {

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> bytes(data, size);
    const auto descriptor = qx::transport::hid::ParseReportDescriptor(bytes);
    Check(descriptor.parsedBytes <= size);
    // Every collection needs at least a two-byte Collection item.
    Check(descriptor.collections.size() <= size / 2);
    for (size_t i = 0; i + 1 < descriptor.reports.size(); ++i) {
        Check(descriptor.reports[i].reportId < descriptor.reports[i + 1].reportId);
    }
    for (const auto& report : descriptor.reports) {
        Check(report.collection < static_cast<int>(descriptor.collections.size()));
    }

    // Route the descriptor's own bytes as if they were input reports of the node.
    const qx::transport::hidraw::ReportRouting routing(descriptor);
    for (size_t at = 0; at < size; at += 64) {
        const auto collection = routing.CollectionOfInput(bytes.subspan(at));
        Check(!collection || !descriptor.collections.empty());
    }
    return 0;
}
