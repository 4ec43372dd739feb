#include "app/instance_wire.h"

#include "app/main_window_port.h"

namespace qx::app {
namespace {

void Put(uint8_t* at, uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        at[i] = static_cast<uint8_t>(value >> (8 * i));
    }
}

uint32_t Get(const uint8_t* at) {
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i) {
        value = (value << 8) | at[i];
    }
    return value;
}

}  // namespace

std::array<uint8_t, kInstanceRequestSize> EncodeInstanceRequest(const InstanceRequest& request) {
    std::array<uint8_t, kInstanceRequestSize> bytes{};
    Put(&bytes[0], kInstanceWireMagic);
    Put(&bytes[4], request.tag);
    Put(&bytes[8], request.message);
    Put(&bytes[12], request.wParam);
    Put(&bytes[16], request.lParam);
    return bytes;
}

std::optional<InstanceRequest> DecodeInstanceRequest(std::span<const uint8_t> bytes) {
    if (bytes.size() != kInstanceRequestSize || Get(&bytes[0]) != kInstanceWireMagic) {
        return std::nullopt;
    }
    return InstanceRequest{Get(&bytes[4]), Get(&bytes[8]), Get(&bytes[12]), Get(&bytes[16])};
}

std::array<uint8_t, kInstanceReplySize> EncodeInstanceReply(const InstanceReply& reply) {
    std::array<uint8_t, kInstanceReplySize> bytes{};
    Put(&bytes[0], kInstanceWireMagic);
    Put(&bytes[4], static_cast<uint32_t>(reply.status));
    Put(&bytes[8], reply.result);
    return bytes;
}

std::optional<InstanceReply> DecodeInstanceReply(std::span<const uint8_t> bytes) {
    if (bytes.size() != kInstanceReplySize || Get(&bytes[0]) != kInstanceWireMagic) {
        return std::nullopt;
    }
    const uint32_t status = Get(&bytes[4]);
    if (status > static_cast<uint32_t>(InstanceStatus::Refused)) {
        return std::nullopt;
    }
    return InstanceReply{static_cast<InstanceStatus>(status), Get(&bytes[8])};
}

bool IsInstanceMessage(uint32_t message) {
    return message == kOpenMessage || message == kKillMessage;
}

}  // namespace qx::app
