#include "transport/hidraw/report_routing.h"

namespace qx::transport::hidraw {

ReportRouting::ReportRouting(const hid::ReportDescriptor& descriptor)
    : numbered_(descriptor.numbered) {
    owner_.fill(-1);
    for (const auto& collection : descriptor.collections) {
        collections_.push_back(collection.key);
    }
    // An id is routed to the collection that declares its input report; an id declared only
    // for output or feature reports still belongs to its collection.
    for (const auto& report : descriptor.reports) {
        if (report.collection >= 0 && report.inputBits > 0 && owner_[report.reportId] < 0) {
            owner_[report.reportId] = report.collection;
        }
    }
    for (const auto& report : descriptor.reports) {
        if (report.collection >= 0 && owner_[report.reportId] < 0) {
            owner_[report.reportId] = report.collection;
        }
    }
    if (!numbered_ && !collections_.empty()) {
        unnumberedOwner_ = owner_[0] >= 0 ? owner_[0] : 0;
    }
}

bool ReportRouting::MatchesAny(const RadOdorFilter& filter, uint16_t vendorId,
                               uint16_t productId) const {
    for (const auto& key : collections_) {
        if (FilterMatches(filter, vendorId, productId, key)) {
            return true;
        }
    }
    return false;
}

std::optional<CollectionKey> ReportRouting::CollectionOfInput(
    std::span<const uint8_t> asRead) const {
    if (collections_.empty()) {
        return std::nullopt;
    }
    if (!numbered_) {
        return collections_[static_cast<size_t>(unnumberedOwner_)];
    }
    if (asRead.empty()) {
        return std::nullopt;
    }
    const int owner = owner_[asRead[0]];
    if (owner >= 0) {
        return collections_[static_cast<size_t>(owner)];
    }
    if (collections_.size() == 1) {
        return collections_.front();
    }
    return std::nullopt;
}

}  // namespace qx::transport::hidraw
