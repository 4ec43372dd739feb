#include "device/link/command_packet.h"

#include <algorithm>
#include <numeric>

namespace qx::device {

uint16_t PacketChecksum(std::span<const uint8_t, kPacketSize> packet) {
    const auto covered = packet.subspan(kChecksumFirstByte);
    return static_cast<uint16_t>(std::accumulate(covered.begin(), covered.end(), 0U));
}

void StoreChecksum(Packet& packet) {
    const uint16_t sum = PacketChecksum(packet);
    packet[kChecksumOffset] = static_cast<uint8_t>(sum & 0xFF);
    packet[kChecksumOffset + 1] = static_cast<uint8_t>(sum >> 8);
}

Packet PadToPacket(std::span<const uint8_t> request) {
    Packet packet{};
    const std::size_t count = std::min(request.size(), kPacketSize);
    std::copy_n(request.begin(), count, packet.begin());
    return packet;
}

Packet SealRequest(std::span<const uint8_t> request) {
    Packet packet = PadToPacket(request);
    StoreChecksum(packet);
    return packet;
}

Packet LayOutFields(const PacketFields& fields) {
    Packet packet{};
    packet[kReportIdOffset] = kCommandReportId;
    packet[kCommandOffset] = fields.command;
    packet[kLengthOffset] = fields.length;
    packet[kAddressOffset] = static_cast<uint8_t>(fields.address & 0xFF);
    packet[kAddressOffset + 1] = static_cast<uint8_t>(fields.address >> 8);
    const std::size_t count = std::min(fields.data.size(), kDataCapacity);
    std::copy_n(fields.data.begin(), count, packet.begin() + kDataOffset);
    return packet;
}

Packet BuildCommandPacket(const PacketFields& fields) {
    Packet packet = LayOutFields(fields);
    StoreChecksum(packet);
    return packet;
}

}  // namespace qx::device
