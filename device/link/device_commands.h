// One operation per command of the configuration interface. Each builds its packets from the
// command table, runs them through the exchange and maps the outcome: an exchange result other
// than kOk is returned as it is; an answer with status 0xFF gives kRejectedFF, 0xFE kRejectedFE,
// anything else kOk after the answer's data were copied out.
//
// Chunked transfers (layouts, macro table) move their block in pieces of at most 56 bytes in
// ascending order; the first failing piece ends the transfer with its result, and the pieces
// before it stay written or copied. `pieceDone`, when given, is called after each piece that
// went through, so a long transfer can show how far it has come.
#pragma once

#include <cstdint>
#include <functional>
#include <span>

#include "device/link/command_packet.h"
#include "device/link/command_table.h"
#include "device/link/packet_exchange.h"

namespace qx::device {

using PieceDone = std::function<void()>;

// The packets a chunked transfer of `bytes` takes.
constexpr std::size_t PacketsFor(std::size_t bytes) {
    return (bytes + kDataCapacity - 1) / kDataCapacity;
}

class DeviceCommands {
  public:
    explicit DeviceCommands(PacketExchange& exchange);

    // Commands 1 and 2 open and close a write transaction. EndWrite pauses
    // Timing::endWritePause before it sends.
    int BeginWrite();
    int EndWrite();

    // Command 3 / 4: the 48-byte state block (byte 10 current profile, byte 11 macro area size
    // in units of 128 bytes, bytes 16..47 supported lighting modes).
    int ReadStateBlock(std::span<uint8_t, kStateBlockSize> out);
    int WriteStateBlock(std::span<const uint8_t, kStateBlockSize> block);

    // Command 5 / 6: the lighting area. A read always copies 56 bytes; `length` (kept within
    // 0..56) is what byte 4 asks for. A write sends min(length, bytes.size(), 56) bytes.
    int ReadMemory(std::span<uint8_t, kDataCapacity> out, int length, uint16_t address);
    int WriteMemory(std::span<const uint8_t> bytes, int length, uint16_t address);

    // Command 7 / 8: the key layout of onboard profile 0..2; kBadProfile for any other index.
    int ReadProfileLayout(std::span<uint8_t, kKeyLayoutSize> out, int profile,
                          const PieceDone& pieceDone = {});
    int WriteProfileLayout(std::span<const uint8_t, kKeyLayoutSize> layout, int profile,
                           const PieceDone& pieceDone = {});

    // Command 9 / 10: the device macro table from address 0; the count is the span's size
    // (0: kOk with nothing sent).
    int ReadMacroTable(std::span<uint8_t> out, const PieceDone& pieceDone = {});
    int WriteMacroTable(std::span<const uint8_t> bytes, const PieceDone& pieceDone = {});

    // Command 13: the hidden test command; carries no data.
    int SendTestCommand();

    // Command 15: the keyboard's factory key layout.
    int ReadDefaultLayout(std::span<uint8_t, kKeyLayoutSize> out);

    // Command 16 / 17: the key-light area, addressed page × 256 + offset. A read always copies
    // 56 bytes. A write goes to the page of `lightingProfile`.
    int ReadPagedMemory(std::span<uint8_t, kDataCapacity> out, int length, uint8_t addressLow,
                        uint8_t page);
    int WritePagedMemory(std::span<const uint8_t> bytes, int length, uint8_t offset,
                         int lightingProfile);

    // Command 0xEE: switches the keyboard into its update mode. Sent without checksum and
    // without waiting; returns the transport's result (> 0 sent).
    int EnterUpdateMode();

  private:
    // One packet: exchange, map the status, copy min(out size, 56) data bytes out on success.
    int RunOne(CommandId id, uint8_t length, uint16_t address, std::span<const uint8_t> data,
               std::span<uint8_t> out);
    // A command with a fixed command word (byte 4 from the table, address 0).
    int RunFixed(CommandId id, std::span<const uint8_t> data, std::span<uint8_t> out);
    int RunChunked(CommandId id, std::span<uint8_t> readInto, std::span<const uint8_t> writeFrom,
                   uint16_t baseAddress, const PieceDone& pieceDone = {});

    PacketExchange& exchange_;
};

}  // namespace qx::device
