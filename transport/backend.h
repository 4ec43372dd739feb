// The seam between the transport library's request machinery and the two ways of reaching a
// keyboard: real hidraw nodes, or the emulated keyboard. A backend knows devices and their
// top-level collections; the library above it knows requests, unit ids, callbacks and threads.
#pragma once

#include <cstdint>
#include <memory>
#include <span>

#include "transport/radodor.h"

namespace qx::transport {

// One top-level collection of a HID device.
struct CollectionKey {
    uint16_t usagePage = 0;
    uint16_t usage = 0;
    friend bool operator==(const CollectionKey&, const CollectionKey&) = default;
};

// True when a device with these ids owning this collection matches the filter.
inline bool FilterMatches(const RadOdorFilter& filter, uint16_t vendorId, uint16_t productId,
                          CollectionKey collection) {
    const uint32_t m = filter.mask;
    return (!(m & RADODOR_MATCH_VENDOR) || filter.vendor_id == vendorId) &&
           (!(m & RADODOR_MATCH_PRODUCT) || filter.product_id == productId) &&
           (!(m & RADODOR_MATCH_USAGE_PAGE) || filter.usage_page == collection.usagePage) &&
           (!(m & RADODOR_MATCH_USAGE) || filter.usage == collection.usage);
}

// What a backend reports upward. Called from the backend's own threads.
class BackendSink {
  public:
    virtual ~BackendSink() = default;
    // An input report (report id first) arrived on a collection of a device.
    virtual void OnInputReport(uint16_t vendorId, uint16_t productId, CollectionKey collection,
                               std::span<const uint8_t> report) = 0;
    // Devices arrived or left; the library recounts the devices of every standing read.
    virtual void OnDevicesChanged() = 0;
};

class Backend {
  public:
    virtual ~Backend() = default;
    // Begins reading devices and watching for arrival and departure. False: cannot work.
    virtual bool Start(BackendSink& sink) = 0;
    // Stops every thread of the backend; no sink call happens after it returns.
    virtual void Stop() = 0;
    // Number of present devices that own a collection matching the filter.
    virtual int CountDevices(const RadOdorFilter& filter) = 0;
    // Writes an output report (report id first) to the first matching collection.
    // Returns the bytes written (> 0), or <= 0 when nothing was sent.
    virtual int WriteOutputReport(const RadOdorFilter& filter, std::span<const uint8_t> report) = 0;
    // Sends a feature report (report id first). Returns > 0 when sent.
    virtual int SetFeatureReport(const RadOdorFilter& filter, std::span<const uint8_t> report) = 0;
};

}  // namespace qx::transport
