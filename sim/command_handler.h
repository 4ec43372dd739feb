// The keyboard's firmware for command packets: one report in, at most one answer out.
//
// Answer layout: byte 0 report id 4, bytes 1..2 the checksum of bytes 3..63 (as in requests),
// byte 3 the command, byte 4 the length, bytes 5..6 the address (all three echoed), byte 7 the
// status, read data from byte 8 (zeros for writes and refusals).
//
// Status rules, checked in this order:
//   - a report whose id is not 4 is not a command packet: no answer;
//   - command 0xEE (boot mode) is never answered, whatever its checksum;
//   - a checksum that is not the sum of bytes 3..63: 0xFF;
//   - a command the keyboard does not know: 0xFE;
//   - a length above 56: 0xFF;
//   - a read or write whose address lies outside its area: 0xFF;
//   - a write that runs past the end of its area: 0xFF;
//   - a state-block write that would make byte 10 (the active profile) above 2: 0xFF;
//   - otherwise status 0. A read returns `length` bytes from the address, zeros past the end
//     of the area; a refused write changes nothing.
// The macro table area is as large as state-block byte 11 announces (× 128 bytes).
// Commands 1 and 2 (begin and end of a write transaction) and 13 (test) answer status 0 and
// change no memory; writes are accepted inside and outside a transaction alike.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "sim/hid_reports.h"
#include "sim/keyboard_memory.h"

namespace qx::sim {

inline constexpr uint8_t kCmdBeginWrite = 0x01;
inline constexpr uint8_t kCmdEndWrite = 0x02;
inline constexpr uint8_t kCmdReadStateBlock = 0x03;
inline constexpr uint8_t kCmdWriteStateBlock = 0x04;
inline constexpr uint8_t kCmdReadMemory = 0x05;
inline constexpr uint8_t kCmdWriteMemory = 0x06;
inline constexpr uint8_t kCmdReadProfileLayout = 0x07;
inline constexpr uint8_t kCmdWriteProfileLayout = 0x08;
inline constexpr uint8_t kCmdReadMacroTable = 0x09;
inline constexpr uint8_t kCmdWriteMacroTable = 0x0A;
inline constexpr uint8_t kCmdTest = 0x0D;
inline constexpr uint8_t kCmdReadDefaultLayout = 0x0F;
inline constexpr uint8_t kCmdReadPagedMemory = 0x10;
inline constexpr uint8_t kCmdWritePagedMemory = 0x11;
inline constexpr uint8_t kCmdEnterBootMode = 0xEE;

enum class TransactionStep : uint8_t { kNone, kBegin, kEnd };

struct CommandOutcome {
    std::optional<Packet> answer;  // empty: the keyboard sends nothing back
    bool memoryChanged = false;    // a write changed at least one byte
    bool enterBootMode = false;    // command 0xEE: the keyboard leaves for its boot loader
    TransactionStep transaction = TransactionStep::kNone;
};

// An answer to `request` with nothing but the echoed header and the status (sealed).
Packet MakeAnswer(const Packet& request, uint8_t status);

// Runs one report received on the command collection against the memory. Shorter reports are
// padded with zeros, bytes past 64 are ignored. Bounded: touches at most 56 bytes of memory.
CommandOutcome HandleCommand(KeyboardMemory& memory, std::span<const uint8_t> report);

}  // namespace qx::sim
