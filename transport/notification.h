// Calls a request's callback with the notification records laid out in radodor.h.
#pragma once

#include <cstdint>

#include "transport/radodor.h"

namespace qx::transport {

// The records live on the caller's stack: valid only during the callback, as documented.
// kind 1: length is the report's size and report its bytes; kind 0: length is the count.
inline void Notify(RadOdorCallback callback, uint32_t kind, uint32_t userTag, uint32_t length,
                   const uint8_t* report, RadOdorUnit* unit) {
    RadOdorRequest request{};
    request.user_tag = userTag;
    request.length = length;
    request.report = report;
    request.unit = unit;
    RadOdorNotification notification{};
    notification.kind = kind;
    notification.request = &request;
    callback(&notification);
}

}  // namespace qx::transport
