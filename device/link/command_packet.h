// The 64-byte command packet of the keyboard's configuration interface (both directions; multi-byte
// fields little-endian):
//   0     report id, always 4 in requests
//   1..2  checksum: 16-bit sum of bytes 3..63, computed last (requests only; replies unchecked)
//   3     command number (echoed by the reply)
//   4     length of the data part, 0..56
//   5..6  device address of the data part
//   7     status: 0 in requests; 0xFF or 0xFE in a reply is a rejection
//   8..63 data (writes) or zero (reads); the data of a read's reply
// Commands with a fixed length fill bytes 3..6 as one little-endian 32-bit command word:
// 0x3003 (read the state block) is 03 30 00 00.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace qx::device {

inline constexpr std::size_t kPacketSize = 64;
inline constexpr std::size_t kReportIdOffset = 0;
inline constexpr std::size_t kChecksumOffset = 1;
inline constexpr std::size_t kCommandOffset = 3;
inline constexpr std::size_t kLengthOffset = 4;
inline constexpr std::size_t kAddressOffset = 5;
inline constexpr std::size_t kStatusOffset = 7;
inline constexpr std::size_t kDataOffset = 8;
inline constexpr std::size_t kDataCapacity = kPacketSize - kDataOffset;  // 56
// The checksum covers the command word and everything after it.
inline constexpr std::size_t kChecksumFirstByte = kCommandOffset;

inline constexpr uint8_t kCommandReportId = 4;
inline constexpr uint8_t kStatusRejectedFF = 0xFF;
inline constexpr uint8_t kStatusRejectedFE = 0xFE;

using Packet = std::array<uint8_t, kPacketSize>;

// The plain 16-bit sum of bytes 3..63.
uint16_t PacketChecksum(std::span<const uint8_t, kPacketSize> packet);

// Stores PacketChecksum low byte first at bytes 1..2.
void StoreChecksum(Packet& packet);

// The request copied into a packet: shorter requests are padded with zeros, longer ones cut at
// 64 bytes. Nothing else is changed (no report id, no checksum).
Packet PadToPacket(std::span<const uint8_t> request);

// PadToPacket, then the checksum over the padded bytes.
Packet SealRequest(std::span<const uint8_t> request);

// The fields of one request. `data` beyond 56 bytes is not sent.
struct PacketFields {
    uint8_t command = 0;
    uint8_t length = 0;
    uint16_t address = 0;
    std::span<const uint8_t> data;
};

// Report id 4, the fields, the data at byte 8, zeros elsewhere; checksum bytes left 0.
Packet LayOutFields(const PacketFields& fields);

// LayOutFields with the checksum computed last.
Packet BuildCommandPacket(const PacketFields& fields);

}  // namespace qx::device
