// What crosses the emulated keyboard's USB link: its three collections, their report ids and the
// layout of the command packet and of the keyboard's event report. Defined once here; the
// backends, the trace and the tests all read these names.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "transport/radodor.h"

namespace qx::sim {

// The keyboard's three top-level collections.
enum class Collection : uint8_t {
    kCommand,   // vendor page 0xFF1C usage 0x92: 64-byte command packets, both directions
    kConsumer,  // page 0x0C usage 1: the keyboard's event reports (input only)
    kLed,       // page 0x08 usage 0x89: the 2-byte status report with the G-key bank (output)
};

inline constexpr std::array kAllCollections = {Collection::kCommand, Collection::kConsumer,
                                               Collection::kLed};

struct CollectionUsage {
    uint16_t usagePage;
    uint16_t usage;
};

constexpr CollectionUsage UsageOf(Collection c) {
    switch (c) {
        case Collection::kCommand:
            return {RADODOR_COMMAND_USAGE_PAGE, RADODOR_COMMAND_USAGE};
        case Collection::kConsumer:
            return {RADODOR_CONSUMER_USAGE_PAGE, RADODOR_CONSUMER_USAGE};
        case Collection::kLed:
            return {RADODOR_LED_USAGE_PAGE, RADODOR_LED_USAGE};
    }
    return {0, 0};
}

// The collection's name in the trace: "cmd", "cons" or "led".
constexpr std::string_view TraceNameOf(Collection c) {
    switch (c) {
        case Collection::kCommand:
            return "cmd";
        case Collection::kConsumer:
            return "cons";
        case Collection::kLed:
            return "led";
    }
    return "?";
}

std::optional<Collection> CollectionOfUsage(uint16_t usagePage, uint16_t usage);

// ---- Command packets (64 bytes, both directions) ------------------------------------------

inline constexpr size_t kPacketSize = 64;
inline constexpr uint8_t kCommandReportId = 4;
inline constexpr size_t kOffReportId = 0;
inline constexpr size_t kOffChecksum = 1;  // 16-bit sum of bytes 3..63, low byte first
inline constexpr size_t kOffCommand = 3;
inline constexpr size_t kOffLength = 4;
inline constexpr size_t kOffAddress = 5;  // 16-bit, low byte first
inline constexpr size_t kOffStatus = 7;
inline constexpr size_t kOffData = 8;
inline constexpr size_t kChecksumFrom = 3;
inline constexpr size_t kMaxDataLength = kPacketSize - kOffData;  // 56

inline constexpr uint8_t kStatusOk = 0x00;
inline constexpr uint8_t kStatusRejected = 0xFF;        // bad checksum, length, address, value
inline constexpr uint8_t kStatusUnknownCommand = 0xFE;  // a command the keyboard does not know

using Packet = std::array<uint8_t, kPacketSize>;

// The 16-bit sum of bytes 3..63.
uint16_t PacketChecksum(const Packet& packet);
// Puts the checksum into bytes 1..2.
void SealPacket(Packet& packet);
// Copies up to 64 bytes and pads the rest with zeros.
Packet PadToPacket(const uint8_t* data, size_t size);

// ---- The keyboard's event report on the consumer collection --------------------------------
//
// Three bytes: report id 3, then the 16-bit event code, low byte first. For example the
// G-key bank switch key is the report 03 ff 02.

inline constexpr uint8_t kEventReportId = 3;
inline constexpr size_t kEventReportSize = 3;
using EventReport = std::array<uint8_t, kEventReportSize>;

constexpr EventReport MakeEventReport(uint16_t code) {
    return {kEventReportId, static_cast<uint8_t>(code & 0xFF), static_cast<uint8_t>(code >> 8)};
}

// Event codes the keyboard sends.
inline constexpr uint16_t kEventBankSwitch = 0x02FF;
inline constexpr uint16_t kEventLightingChanged = 0x0401;
inline constexpr uint16_t kEventIndicatorOff = 0x1810;
inline constexpr uint16_t kEventIndicatorOn = 0x1811;

// ---- The status report on the LED collection (output) --------------------------------------
//
// Two bytes: report id 5, then flags; bit 0 of the flags is the G-key bank.

inline constexpr uint8_t kLedReportId = 5;
inline constexpr size_t kLedReportSize = 2;
inline constexpr uint8_t kLedBankBit = 0x01;

}  // namespace qx::sim
