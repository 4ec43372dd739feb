#include "device/link/device_commands.h"

#include <algorithm>
#include <thread>

#include "device/link/result_codes.h"

namespace qx::device {

namespace {

// Byte 4 of the caller-sized commands: never more than the data part holds.
uint8_t DataLength(int length) {
    return static_cast<uint8_t>(std::clamp(length, 0, static_cast<int>(kDataCapacity)));
}

// Profiles are compared as unsigned, so "unknown" (-1) is refused like any index above 2.
bool IsOnboardProfile(int profile) {
    return profile >= 0 && profile <= kHighestProfile;
}

int StatusResult(const Packet& reply) {
    switch (reply[kStatusOffset]) {
        case kStatusRejectedFF:
            return kRejectedFF;
        case kStatusRejectedFE:
            return kRejectedFE;
        default:
            return kOk;
    }
}

// Device address of a profile's key layout: the three layouts lie one after the other.
uint16_t LayoutAddress(int profile) {
    return static_cast<uint16_t>(static_cast<std::size_t>(profile) * kKeyLayoutSize);
}

void CopyReplyData(const Packet& reply, std::span<uint8_t> out) {
    std::copy_n(reply.begin() + kDataOffset, std::min(out.size(), kDataCapacity), out.begin());
}

}  // namespace

DeviceCommands::DeviceCommands(PacketExchange& exchange) : exchange_(exchange) {}

int DeviceCommands::RunOne(CommandId id, uint8_t length, uint16_t address,
                           std::span<const uint8_t> data, std::span<uint8_t> out) {
    const CommandShape& shape = ShapeOf(id);
    Packet reply{};
    std::size_t received = 0;
    const int result = exchange_.ExchangePacket(
        BuildCommandPacket({shape.number, length, address, data}), reply, received);
    if (result != kOk) {
        return result;
    }
    const int mapped = StatusResult(reply);
    if (mapped == kOk) {
        CopyReplyData(reply, out);
    }
    return mapped;
}

int DeviceCommands::RunFixed(CommandId id, std::span<const uint8_t> data, std::span<uint8_t> out) {
    return RunOne(id, ShapeOf(id).fixedLength, 0, data, out);
}

int DeviceCommands::RunChunked(CommandId id, std::span<uint8_t> readInto,
                               std::span<const uint8_t> writeFrom, uint16_t baseAddress,
                               const PieceDone& pieceDone) {
    const bool reading = ShapeOf(id).kind == CommandKind::ChunkedRead;
    const std::size_t total = reading ? readInto.size() : writeFrom.size();
    for (std::size_t offset = 0; offset < total; offset += kDataCapacity) {
        const std::size_t piece = std::min(kDataCapacity, total - offset);
        const auto address = static_cast<uint16_t>(baseAddress + offset);
        const int result = reading ? RunOne(id, static_cast<uint8_t>(piece), address, {},
                                            readInto.subspan(offset, piece))
                                   : RunOne(id, static_cast<uint8_t>(piece), address,
                                            writeFrom.subspan(offset, piece), {});
        if (result != kOk) {
            return result;
        }
        if (pieceDone) {
            pieceDone();
        }
    }
    return kOk;
}

int DeviceCommands::BeginWrite() {
    return RunFixed(CommandId::BeginWrite, {}, {});
}

int DeviceCommands::EndWrite() {
    // The keyboard needs a moment to store the transaction's last write.
    std::this_thread::sleep_for(exchange_.timing().endWritePause);
    return RunFixed(CommandId::EndWrite, {}, {});
}

int DeviceCommands::ReadStateBlock(std::span<uint8_t, kStateBlockSize> out) {
    return RunFixed(CommandId::ReadStateBlock, {}, out);
}

int DeviceCommands::WriteStateBlock(std::span<const uint8_t, kStateBlockSize> block) {
    return RunFixed(CommandId::WriteStateBlock, block, {});
}

int DeviceCommands::ReadMemory(std::span<uint8_t, kDataCapacity> out, int length,
                               uint16_t address) {
    return RunOne(CommandId::ReadMemory, DataLength(length), address, {}, out);
}

int DeviceCommands::WriteMemory(std::span<const uint8_t> bytes, int length, uint16_t address) {
    const uint8_t sent = DataLength(length);
    return RunOne(CommandId::WriteMemory, sent, address,
                  bytes.first(std::min<std::size_t>(bytes.size(), sent)), {});
}

int DeviceCommands::ReadProfileLayout(std::span<uint8_t, kKeyLayoutSize> out, int profile,
                                      const PieceDone& pieceDone) {
    if (!IsOnboardProfile(profile)) {
        return kBadProfile;
    }
    return RunChunked(CommandId::ReadProfileLayout, out, {}, LayoutAddress(profile), pieceDone);
}

int DeviceCommands::WriteProfileLayout(std::span<const uint8_t, kKeyLayoutSize> layout, int profile,
                                       const PieceDone& pieceDone) {
    if (!IsOnboardProfile(profile)) {
        return kBadProfile;
    }
    return RunChunked(CommandId::WriteProfileLayout, {}, layout, LayoutAddress(profile), pieceDone);
}

int DeviceCommands::ReadMacroTable(std::span<uint8_t> out, const PieceDone& pieceDone) {
    return RunChunked(CommandId::ReadMacroTable, out, {}, 0, pieceDone);
}

int DeviceCommands::WriteMacroTable(std::span<const uint8_t> bytes, const PieceDone& pieceDone) {
    return RunChunked(CommandId::WriteMacroTable, {}, bytes, 0, pieceDone);
}

int DeviceCommands::SendTestCommand() {
    return RunFixed(CommandId::SendTestCommand, {}, {});
}

int DeviceCommands::ReadDefaultLayout(std::span<uint8_t, kKeyLayoutSize> out) {
    return RunChunked(CommandId::ReadDefaultLayout, out, {}, 0);
}

int DeviceCommands::ReadPagedMemory(std::span<uint8_t, kDataCapacity> out, int length,
                                    uint8_t addressLow, uint8_t page) {
    const auto address = static_cast<uint16_t>(page * kPageSize + addressLow);
    return RunOne(CommandId::ReadPagedMemory, DataLength(length), address, {}, out);
}

int DeviceCommands::WritePagedMemory(std::span<const uint8_t> bytes, int length, uint8_t offset,
                                     int lightingProfile) {
    // Wraps to 16 bits like every device address.
    const auto address = static_cast<uint16_t>(lightingProfile * kPageSize + offset);
    const uint8_t sent = DataLength(length);
    return RunOne(CommandId::WritePagedMemory, sent, address,
                  bytes.first(std::min<std::size_t>(bytes.size(), sent)), {});
}

int DeviceCommands::EnterUpdateMode() {
    // The keyboard leaves its normal firmware on this packet; it never answers and ignores the
    // checksum, which stays 0.
    const CommandShape& shape = ShapeOf(CommandId::EnterUpdateMode);
    return exchange_.SendPacketNoReply(LayOutFields({shape.number, shape.fixedLength, 0, {}}));
}

}  // namespace qx::device
