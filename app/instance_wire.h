// The bytes another instance sends to the running one over its local server, and the answer.
// A request names the window user data it looks for (the tag 'MAIN') and the message to send to
// that window; the answer says whether such a window was there and takes the message (the window
// handles it after the answer).
// All numbers are little-endian 32-bit values. Only the two inter-instance messages are ever
// delivered; a request for message 0 only asks whether the tagged window is there.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>

namespace qx::app {

inline constexpr uint32_t kInstanceWireMagic = 0x31495851;  // "QXI1" as bytes on the wire
inline constexpr std::size_t kInstanceRequestSize = 20;
inline constexpr std::size_t kInstanceReplySize = 12;
inline constexpr uint32_t kInstanceQueryMessage = 0;

struct InstanceRequest {
    uint32_t tag = 0;  // the window user data looked for
    uint32_t message = 0;
    uint32_t wParam = 0;
    uint32_t lParam = 0;
};

enum class InstanceStatus : uint32_t {
    NoWindow = 0,   // no window of the process carries the tag: nothing was sent
    Delivered = 1,  // the message was handed to the tagged window
    Found = 2,      // a query: the tagged window is there
    Refused = 3,    // not a message one instance sends another
};

struct InstanceReply {
    InstanceStatus status = InstanceStatus::NoWindow;
    uint32_t result = 0;  // always 0: the window handles the message after the answer
};

std::array<uint8_t, kInstanceRequestSize> EncodeInstanceRequest(const InstanceRequest& request);
// Nothing unless the bytes are exactly one request with the right magic.
std::optional<InstanceRequest> DecodeInstanceRequest(std::span<const uint8_t> bytes);

std::array<uint8_t, kInstanceReplySize> EncodeInstanceReply(const InstanceReply& reply);
// Nothing unless the bytes are exactly one reply with the right magic and a known status.
std::optional<InstanceReply> DecodeInstanceReply(std::span<const uint8_t> bytes);

// 0x5350 'OPEN' and 0x4D4B 'KILL': the messages the local server passes to the window.
bool IsInstanceMessage(uint32_t message);

}  // namespace qx::app
