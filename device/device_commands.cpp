#include "device/device_commands.h"

#include <algorithm>
#include <thread>

#include "device/result_codes.h"

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

void CopyReplyData(const Packet& reply, std::span<uint8_t> out) {
    std::copy_n(reply.begin() + kDataOffset, std::min(out.size(), kDataCapacity), out.begin());
}

}  // namespace

DeviceCommands::DeviceCommands(PacketExchange& exchange) : exchange_(exchange) {}

int DeviceCommands::Exchange(const Packet& request, Packet& reply) {
    reply.fill(0);
    std::size_t received = 0;
    const int result = exchange_.ExchangePacket(request, reply, received);
    return result == kOk ? StatusResult(reply) : result;
}

int DeviceCommands::RunPlain(CommandId id, std::span<const uint8_t> data, Packet& reply) {
    const CommandSpec& spec = SpecOf(id);
    return Exchange(BuildCommandPacket({spec.number, spec.fixedLength, 0, data}), reply);
}

int DeviceCommands::RunChunked(CommandId id, std::span<uint8_t> readInto,
                               std::span<const uint8_t> writeFrom, uint16_t baseAddress) {
    const CommandSpec& spec = SpecOf(id);
    const bool reading = spec.kind == CommandKind::ChunkedRead;
    const std::size_t total = reading ? readInto.size() : writeFrom.size();
    for (std::size_t offset = 0; offset < total; offset += kDataCapacity) {
        const std::size_t piece = std::min(kDataCapacity, total - offset);
        const PacketFields fields{
            spec.number, static_cast<uint8_t>(piece), static_cast<uint16_t>(baseAddress + offset),
            reading ? std::span<const uint8_t>{} : writeFrom.subspan(offset, piece)};
        Packet reply{};
        const int result = Exchange(BuildCommandPacket(fields), reply);
        if (result != kOk) {
            return result;
        }
        if (reading) {
            CopyReplyData(reply, readInto.subspan(offset, piece));
        }
    }
    return kOk;
}

int DeviceCommands::BeginWrite() {
    Packet reply{};
    return RunPlain(CommandId::BeginWrite, {}, reply);
}

int DeviceCommands::EndWrite() {
    // The keyboard needs a moment to store the transaction's last write.
    std::this_thread::sleep_for(exchange_.timing().endWritePause);
    Packet reply{};
    return RunPlain(CommandId::EndWrite, {}, reply);
}

int DeviceCommands::ReadStateBlock(std::span<uint8_t, kStateBlockSize> out) {
    Packet reply{};
    const int result = RunPlain(CommandId::ReadStateBlock, {}, reply);
    if (result == kOk) {
        CopyReplyData(reply, out);
    }
    return result;
}

int DeviceCommands::WriteStateBlock(std::span<const uint8_t, kStateBlockSize> block) {
    Packet reply{};
    return RunPlain(CommandId::WriteStateBlock, block, reply);
}

int DeviceCommands::ReadMemory(std::span<uint8_t, kDataCapacity> out, int length,
                               uint16_t address) {
    const CommandSpec& spec = SpecOf(CommandId::ReadMemory);
    Packet reply{};
    const int result =
        Exchange(BuildCommandPacket({spec.number, DataLength(length), address, {}}), reply);
    if (result == kOk) {
        CopyReplyData(reply, out);
    }
    return result;
}

int DeviceCommands::WriteMemory(std::span<const uint8_t> bytes, int length, uint16_t address) {
    const CommandSpec& spec = SpecOf(CommandId::WriteMemory);
    const uint8_t sent = DataLength(length);
    const auto data = bytes.first(std::min<std::size_t>(bytes.size(), sent));
    Packet reply{};
    return Exchange(BuildCommandPacket({spec.number, sent, address, data}), reply);
}

int DeviceCommands::ReadProfileLayout(std::span<uint8_t, kKeyLayoutSize> out, int profile) {
    if (!IsOnboardProfile(profile)) {
        return kBadProfile;
    }
    const auto base = static_cast<uint16_t>(profile * kKeyLayoutSize);
    return RunChunked(CommandId::ReadProfileLayout, out, {}, base);
}

int DeviceCommands::WriteProfileLayout(std::span<const uint8_t, kKeyLayoutSize> layout,
                                       int profile) {
    if (!IsOnboardProfile(profile)) {
        return kBadProfile;
    }
    const auto base = static_cast<uint16_t>(profile * kKeyLayoutSize);
    return RunChunked(CommandId::WriteProfileLayout, {}, layout, base);
}

int DeviceCommands::ReadMacroTable(std::span<uint8_t> out) {
    return RunChunked(CommandId::ReadMacroTable, out, {}, 0);
}

int DeviceCommands::WriteMacroTable(std::span<const uint8_t> bytes) {
    return RunChunked(CommandId::WriteMacroTable, {}, bytes, 0);
}

int DeviceCommands::SendTestCommand() {
    Packet reply{};
    return RunPlain(CommandId::SendTestCommand, {}, reply);
}

int DeviceCommands::ReadDefaultLayout(std::span<uint8_t, kKeyLayoutSize> out) {
    return RunChunked(CommandId::ReadDefaultLayout, out, {}, 0);
}

int DeviceCommands::ReadPagedMemory(std::span<uint8_t, kDataCapacity> out, int length,
                                    uint8_t addressLow, uint8_t page) {
    const CommandSpec& spec = SpecOf(CommandId::ReadPagedMemory);
    const auto address = static_cast<uint16_t>(page * kPageSize + addressLow);
    Packet reply{};
    const int result =
        Exchange(BuildCommandPacket({spec.number, DataLength(length), address, {}}), reply);
    if (result == kOk) {
        CopyReplyData(reply, out);
    }
    return result;
}

int DeviceCommands::WritePagedMemory(std::span<const uint8_t> bytes, int length, uint8_t offset,
                                     int lightingProfile) {
    const CommandSpec& spec = SpecOf(CommandId::WritePagedMemory);
    const auto address = static_cast<uint16_t>(lightingProfile * kPageSize + offset);
    const uint8_t sent = DataLength(length);
    const auto data = bytes.first(std::min<std::size_t>(bytes.size(), sent));
    Packet reply{};
    return Exchange(BuildCommandPacket({spec.number, sent, address, data}), reply);
}

int DeviceCommands::EnterUpdateMode() {
    // The keyboard leaves its normal firmware on this packet; it never answers and ignores the
    // checksum, which stays 0.
    const CommandSpec& spec = SpecOf(CommandId::EnterUpdateMode);
    return exchange_.SendPacketNoReply(LayOutFields({spec.number, spec.fixedLength, 0, {}}));
}

}  // namespace qx::device
