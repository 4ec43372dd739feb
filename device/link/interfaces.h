// The keyboard's three HID collections as the transport library's filters, and the user tags the
// program registers its requests with.
#pragma once

#include <cstdint>

#include "transport/radodor.h"

namespace qx::device {

// The filter of one collection of the keyboard (vendor, product, usage page and usage all match).
constexpr RadOdorFilter InterfaceFilter(uint16_t usagePage, uint16_t usage) {
    return RadOdorFilter{
        RADODOR_MATCH_ALL, RADODOR_VENDOR_ID, RADODOR_PRODUCT_ID, usagePage, usage, 0};
}

// Command packets travel here, both ways.
inline constexpr RadOdorFilter kCommandInterface =
    InterfaceFilter(RADODOR_COMMAND_USAGE_PAGE, RADODOR_COMMAND_USAGE);
// Keyboard-originated events (bank switch, lighting changed, indicator).
inline constexpr RadOdorFilter kConsumerInterface =
    InterfaceFilter(RADODOR_CONSUMER_USAGE_PAGE, RADODOR_CONSUMER_USAGE);
// The 2-byte status report with the G-key bank.
inline constexpr RadOdorFilter kLedInterface =
    InterfaceFilter(RADODOR_LED_USAGE_PAGE, RADODOR_LED_USAGE);

// A four-character code with its first character in the most significant byte.
constexpr uint32_t FourCharCode(char a, char b, char c, char d) {
    return (static_cast<uint32_t>(static_cast<unsigned char>(a)) << 24) |
           (static_cast<uint32_t>(static_cast<unsigned char>(b)) << 16) |
           (static_cast<uint32_t>(static_cast<unsigned char>(c)) << 8) |
           static_cast<uint32_t>(static_cast<unsigned char>(d));
}

inline constexpr uint32_t kCommandReadTag = FourCharCode('C', 'T', 'R', 'L');   // 0x4354524C
inline constexpr uint32_t kConsumerReadTag = FourCharCode('C', 'O', 'N', 'S');  // 0x434F4E53
inline constexpr uint32_t kLedStatusTag = FourCharCode('\0', 'L', 'E', 'D');    // 0x004C4544

}  // namespace qx::device
