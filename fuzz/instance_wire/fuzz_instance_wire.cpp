// Any bytes as the request a running driver receives and as the reply a starting one receives.
// Only a whole request or reply with the magic is taken, a reply only with a known status, and
// what is taken encodes back to the same bytes.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "app/instance_wire.h"

namespace {

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace qx::app;
    const std::span<const uint8_t> bytes(data, size);
    if (const auto request = DecodeInstanceRequest(bytes)) {
        Check(size == kInstanceRequestSize);
        const auto encoded = EncodeInstanceRequest(*request);
        Check(std::equal(encoded.begin(), encoded.end(), data));
    }
    if (const auto reply = DecodeInstanceReply(bytes)) {
        Check(size == kInstanceReplySize);
        Check(reply->status <= InstanceStatus::Refused);
        const auto encoded = EncodeInstanceReply(*reply);
        Check(std::equal(encoded.begin(), encoded.end(), data));
    }
    return 0;
}
