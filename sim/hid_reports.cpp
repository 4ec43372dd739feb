#include "sim/hid_reports.h"

#include <algorithm>

namespace qx::sim {

std::optional<Collection> CollectionOfUsage(uint16_t usagePage, uint16_t usage) {
    for (Collection c : kAllCollections) {
        const CollectionUsage u = UsageOf(c);
        if (u.usagePage == usagePage && u.usage == usage) {
            return c;
        }
    }
    return std::nullopt;
}

uint16_t PacketChecksum(const Packet& packet) {
    unsigned sum = 0;
    for (size_t i = kChecksumFrom; i < kPacketSize; ++i) {
        sum += packet[i];
    }
    return static_cast<uint16_t>(sum & 0xFFFF);
}

void SealPacket(Packet& packet) {
    const uint16_t sum = PacketChecksum(packet);
    packet[kOffChecksum] = static_cast<uint8_t>(sum & 0xFF);
    packet[kOffChecksum + 1] = static_cast<uint8_t>(sum >> 8);
}

Packet PadToPacket(const uint8_t* data, size_t size) {
    Packet packet{};
    if (data != nullptr) {
        std::copy_n(data, std::min(size, kPacketSize), packet.begin());
    }
    return packet;
}

}  // namespace qx::sim
