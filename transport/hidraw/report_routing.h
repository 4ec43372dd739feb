// How the reports of one hidraw node map to its top-level collections: which collection an
// input report belongs to, and which report ids the node accepts.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "transport/backend.h"
#include "transport/hidraw/report_descriptor.h"

namespace qx::transport::hidraw {

class ReportRouting {
  public:
    ReportRouting() { owner_.fill(-1); }
    explicit ReportRouting(const hid::ReportDescriptor& descriptor);

    // Numbered reports start with their id; others carry no id byte on the node, and the
    // library hands them on with a 0 in front, as on every other platform.
    bool Numbered() const { return numbered_; }
    const std::vector<CollectionKey>& Collections() const { return collections_; }
    bool MatchesAny(const RadOdorFilter& filter, uint16_t vendorId, uint16_t productId) const;

    // The collection of an input report exactly as read(2) returned it; none when the report
    // id belongs to no collection of a node that has several.
    std::optional<CollectionKey> CollectionOfInput(std::span<const uint8_t> asRead) const;

    // A report written to the node starts with its id, or with 0 when the node has no ids.
    bool AcceptsReportId(uint8_t reportId) const {
        return numbered_ ? reportId != 0 : reportId == 0;
    }

  private:
    bool numbered_ = false;
    std::vector<CollectionKey> collections_;
    std::array<int, 256> owner_{};  // collection index per report id, -1 when none
    int unnumberedOwner_ = -1;
};

}  // namespace qx::transport::hidraw
