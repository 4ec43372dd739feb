// Packet layout: where each field lands, the zero padding and the checksum over bytes 3..63.
#include "device/link/command_packet.h"

#include <gtest/gtest.h>

#include <array>
#include <numeric>
#include <vector>

namespace qx::device {
namespace {

uint16_t StoredChecksum(const Packet& packet) {
    return static_cast<uint16_t>(packet[kChecksumOffset] | (packet[kChecksumOffset + 1] << 8));
}

TEST(CommandPacket, ShortRequestIsPaddedWithZerosBeforeTheChecksum) {
    const std::vector<uint8_t> request{4, 0xAA, 0xBB, 9, 10, 11, 12, 13, 200};
    const Packet packet = SealRequest(request);
    // Bytes 3..8 sum to 9+10+11+12+13+200; the stale checksum bytes and the report id are not
    // covered, and the padding adds nothing.
    EXPECT_EQ(StoredChecksum(packet), 255);
    for (std::size_t i = request.size(); i < kPacketSize; ++i) {
        EXPECT_EQ(packet[i], 0) << "byte " << i;
    }
    EXPECT_EQ(packet[0], 4);
}

TEST(CommandPacket, ChecksumIsTheSumOfBytes3To63LowByteFirst) {
    Packet packet{};
    std::iota(packet.begin(), packet.end(), uint8_t{0});
    StoreChecksum(packet);
    const unsigned expected = (3 + 63) * 61 / 2;  // 2013 = 0x07DD
    EXPECT_EQ(packet[1], expected & 0xFF);
    EXPECT_EQ(packet[2], expected >> 8);
    EXPECT_EQ(PacketChecksum(packet), expected);
}

TEST(CommandPacket, LongRequestIsCutAt64Bytes) {
    std::vector<uint8_t> request(80, 7);
    const Packet packet = PadToPacket(request);
    EXPECT_EQ(packet.back(), 7);
    EXPECT_EQ(packet[1], 7) << "PadToPacket leaves the checksum bytes as given";
}

TEST(CommandPacket, FieldsLandAtTheirOffsetsLittleEndian) {
    const std::array<uint8_t, 3> data{0x11, 0x22, 0x33};
    const Packet packet = BuildCommandPacket({0x08, 3, 0x0288, data});
    const std::array<uint8_t, 11> head{4, 0, 0, 0x08, 3, 0x88, 0x02, 0, 0x11, 0x22, 0x33};
    for (std::size_t i = kCommandOffset; i < head.size(); ++i) {
        EXPECT_EQ(packet[i], head[i]) << "byte " << i;
    }
    EXPECT_EQ(StoredChecksum(packet), 0x08 + 3 + 0x88 + 0x02 + 0x11 + 0x22 + 0x33);
}

TEST(CommandPacket, DataBeyond56BytesIsNotSent) {
    std::vector<uint8_t> data(60, 1);
    const Packet packet = BuildCommandPacket({0x0A, 56, 0, data});
    EXPECT_EQ(PacketChecksum(packet), 0x0A + 56 + 56);
}

}  // namespace
}  // namespace qx::device
