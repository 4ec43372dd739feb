// Parser of HID report descriptors: which top-level collections a device has and which report
// ids each of them owns, with the size of every report. It reads only the bytes it is given
// and copes with any input: a broken descriptor yields what was parsed before the fault and
// the fault's kind.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "transport/backend.h"

namespace qx::transport::hid {

// The reports of one report id (0 when the descriptor declares no ids).
struct ReportLayout {
    uint8_t reportId = 0;
    int collection = -1;  // index into ReportDescriptor::collections; -1: outside all of them
    uint64_t inputBits = 0;
    uint64_t outputBits = 0;
    uint64_t featureBits = 0;
};

// Bytes of a report's data, without the report id byte.
inline uint64_t BytesOf(uint64_t bits) {
    return bits / 8 + (bits % 8 != 0 ? 1 : 0);
}

// A top-level application collection.
struct TopLevelCollection {
    CollectionKey key;               // usage page and usage
    std::vector<uint8_t> reportIds;  // ids of the reports declared inside it, ascending
};

enum class DescriptorError {
    None,
    Truncated,             // an item runs past the end
    InvalidReportId,       // report id 0 or above 255
    GlobalStackOverflow,   // too many Push items
    GlobalStackUnderflow,  // Pop without Push
    UnbalancedCollection,  // End Collection without Collection, or a collection left open
};

struct ReportDescriptor {
    std::vector<TopLevelCollection> collections;
    std::vector<ReportLayout> reports;  // ascending report id
    bool numbered = false;              // reports start with their id byte
    DescriptorError error = DescriptorError::None;
    size_t parsedBytes = 0;  // where parsing stopped

    const ReportLayout* FindReport(uint8_t reportId) const;
};

ReportDescriptor ParseReportDescriptor(std::span<const uint8_t> bytes);

const char* DescribeError(DescriptorError error);

}  // namespace qx::transport::hid
