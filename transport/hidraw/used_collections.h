// The keyboard's three top-level collections the library works with: commands, keyboard events
// (consumer) and the status report (LED). Only nodes that hold one of them are opened, and only
// their reports are handed on: the typing interface is never opened, so nothing reads what is
// typed through this library, and the udev rule (70-qx480.rules) gives the user no access to it.
#pragma once

#include <algorithm>
#include <array>

#include "transport/backend.h"
#include "transport/hidraw/report_descriptor.h"
#include "transport/radodor.h"

namespace qx::transport::hidraw {

inline constexpr std::array<CollectionKey, 3> kUsedCollections = {{
    {RADODOR_COMMAND_USAGE_PAGE, RADODOR_COMMAND_USAGE},
    {RADODOR_CONSUMER_USAGE_PAGE, RADODOR_CONSUMER_USAGE},
    {RADODOR_LED_USAGE_PAGE, RADODOR_LED_USAGE},
}};

inline bool IsUsedCollection(CollectionKey key) {
    return std::find(kUsedCollections.begin(), kUsedCollections.end(), key) !=
           kUsedCollections.end();
}

inline bool HoldsUsedCollection(const hid::ReportDescriptor& descriptor) {
    return std::any_of(descriptor.collections.begin(), descriptor.collections.end(),
                       [](const auto& collection) { return IsUsedCollection(collection.key); });
}

}  // namespace qx::transport::hidraw
