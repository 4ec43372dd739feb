// The multimedia list (what a key entry of kind multimedia stores the index of) and the
// consumer-usage table that maps the keyboard's consumer indexes 0xC0 + i to HID consumer usages.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "keyboard/key_code.h"

namespace qx::keyboard {

struct MultimediaEntry {
    KeyCode keyCode;         // the pseudo-key of the key table (names, device code)
    uint16_t consumerUsage;  // the HID consumer-page usage the keyboard sends
};

inline constexpr int kMultimediaCount = 18;

// clang-format off
inline constexpr std::array<MultimediaEntry, kMultimediaCount> kMultimediaList{{
    {0x16D, 0x183},  //  0 Media Player
    {0x122, 0x0CD},  //  1 Play/Pause
    {0x124, 0x0B7},  //  2 Stop Play
    {0x110, 0x0B6},  //  3 Prev Track
    {0x119, 0x0B5},  //  4 Next Track
    {0x12E, 0x0EA},  //  5 V-
    {0x130, 0x0E9},  //  6 V+
    {0x120, 0x0E2},  //  7 Mute
    {0x132, 0x223},  //  8 WWW Home
    {0x167, 0x227},  //  9 WWW Refresh
    {0x168, 0x226},  // 10 WWW Stop
    {0x16A, 0x224},  // 11 WWW Back
    {0x169, 0x225},  // 12 WWW Forward
    {0x166, 0x22A},  // 13 WWW Favorite
    {0x165, 0x221},  // 14 WWW Search
    {0x16B, 0x194},  // 15 My PC
    {0x121, 0x192},  // 16 Calc
    {0x16C, 0x18A},  // 17 Mail
}};
// clang-format on

// Slot i pairs the keyboard's consumer index 0xC0 + i with a consumer usage; 0 marks an unused
// slot.
inline constexpr uint8_t kFirstConsumerIndex = 0xC0;
inline constexpr int kConsumerSlots = 32;
inline constexpr int kConsumerSlotsUsed = 18;
// clang-format off
inline constexpr std::array<uint16_t, kConsumerSlots> kConsumerUsages{
    0x0E9, 0x0EA, 0x183, 0x18A, 0x192, 0x194, 0x221, 0x223,  // 0xC0..0xC7
    0x224, 0x225, 0x226, 0x227, 0x22A, 0x0E2, 0x0CD, 0x0B7,  // 0xC8..0xCF
    0x0B6, 0x0B5,                                            // 0xD0..0xD1
};
// clang-format on

// The multimedia entry of an index 0..17; nothing for any other index.
std::optional<MultimediaEntry> MultimediaAt(int index);

// The index of the multimedia entry with that key code or consumer usage; nothing when none.
std::optional<int> MultimediaIndexOfKeyCode(KeyCode code);
std::optional<int> MultimediaIndexOfUsage(uint16_t usage);

// The keyboard's consumer index (0xC0 + slot) of a consumer usage; nothing for an unknown usage.
std::optional<uint8_t> ConsumerIndexOfUsage(uint16_t usage);

}  // namespace qx::keyboard
