#include "sim/command_handler.h"

#include <algorithm>
#include <array>

namespace qx::sim {
namespace {

enum class Access : uint8_t { kControl, kRead, kWrite };

struct CommandEntry {
    uint8_t command;
    Access access;
    Area area;  // unused for control commands
    TransactionStep transaction;
};

constexpr std::array<CommandEntry, 14> kCommands = {{
    {kCmdBeginWrite, Access::kControl, Area::kStateBlock, TransactionStep::kBegin},
    {kCmdEndWrite, Access::kControl, Area::kStateBlock, TransactionStep::kEnd},
    {kCmdReadStateBlock, Access::kRead, Area::kStateBlock, TransactionStep::kNone},
    {kCmdWriteStateBlock, Access::kWrite, Area::kStateBlock, TransactionStep::kNone},
    {kCmdReadMemory, Access::kRead, Area::kLighting, TransactionStep::kNone},
    {kCmdWriteMemory, Access::kWrite, Area::kLighting, TransactionStep::kNone},
    {kCmdReadProfileLayout, Access::kRead, Area::kProfileLayouts, TransactionStep::kNone},
    {kCmdWriteProfileLayout, Access::kWrite, Area::kProfileLayouts, TransactionStep::kNone},
    {kCmdReadMacroTable, Access::kRead, Area::kMacroTable, TransactionStep::kNone},
    {kCmdWriteMacroTable, Access::kWrite, Area::kMacroTable, TransactionStep::kNone},
    {kCmdTest, Access::kControl, Area::kStateBlock, TransactionStep::kNone},
    {kCmdReadDefaultLayout, Access::kRead, Area::kDefaultLayout, TransactionStep::kNone},
    {kCmdReadPagedMemory, Access::kRead, Area::kKeyLight, TransactionStep::kNone},
    {kCmdWritePagedMemory, Access::kWrite, Area::kKeyLight, TransactionStep::kNone},
}};

const CommandEntry* FindCommand(uint8_t command) {
    const auto* it = std::ranges::find(kCommands, command, &CommandEntry::command);
    return it == kCommands.end() ? nullptr : it;
}

struct Request {
    uint8_t length;
    size_t address;
};

Request RequestOf(const Packet& p) {
    return {p[kOffLength],
            static_cast<size_t>(p[kOffAddress]) | static_cast<size_t>(p[kOffAddress + 1]) << 8};
}

// The answer's header: report id, then command, length and address echoed.
Packet AnswerHeader(const Packet& request) {
    Packet answer{};
    answer[kOffReportId] = kCommandReportId;
    std::copy(request.begin() + kOffCommand, request.begin() + kOffStatus,
              answer.begin() + kOffCommand);
    return answer;
}

uint8_t Read(const KeyboardMemory& memory, Area area, Request r, Packet& answer) {
    const size_t size = memory.ReachableSize(area);
    if (r.address >= size) {
        return kStatusRejected;
    }
    const auto bytes =
        memory.Bytes(area).subspan(r.address, std::min<size_t>(r.length, size - r.address));
    std::ranges::copy(bytes, answer.begin() + kOffData);
    return kStatusOk;
}

// A state block whose active profile is not one of the three is refused as a whole.
bool AcceptableContent(Area area, std::span<const uint8_t> candidate) {
    return area != Area::kStateBlock || candidate[kStateProfileByte] < kProfileCount;
}

uint8_t Write(KeyboardMemory& memory, Area area, Request r, const Packet& request, bool& changed) {
    const size_t size = memory.ReachableSize(area);
    if (r.address >= size || r.address + r.length > size) {
        return kStatusRejected;
    }
    const auto data = std::span(request).subspan(kOffData, r.length);
    const auto target = memory.Bytes(area).subspan(r.address, r.length);
    if (area == Area::kStateBlock) {
        std::array<uint8_t, kStateBlockSize> candidate = memory.stateBlock;
        std::ranges::copy(data, candidate.begin() + static_cast<ptrdiff_t>(r.address));
        if (!AcceptableContent(area, candidate)) {
            return kStatusRejected;
        }
    }
    changed = !std::ranges::equal(data, target);
    std::ranges::copy(data, target.begin());
    return kStatusOk;
}

bool HasValidChecksum(const Packet& p) {
    const uint16_t claimed = static_cast<uint16_t>(p[kOffChecksum] | p[kOffChecksum + 1] << 8);
    return claimed == PacketChecksum(p);
}

// Runs a request whose checksum is right; returns the answer's status.
uint8_t Execute(KeyboardMemory& memory, const Packet& request, Packet& answer,
                CommandOutcome& outcome) {
    const CommandEntry* entry = FindCommand(request[kOffCommand]);
    if (entry == nullptr) {
        return kStatusUnknownCommand;
    }
    const Request r = RequestOf(request);
    if (r.length > kMaxDataLength) {
        return kStatusRejected;
    }
    switch (entry->access) {
        case Access::kRead:
            return Read(memory, entry->area, r, answer);
        case Access::kWrite:
            return Write(memory, entry->area, r, request, outcome.memoryChanged);
        case Access::kControl:
            outcome.transaction = entry->transaction;
            return kStatusOk;
    }
    return kStatusOk;
}

}  // namespace

Packet MakeAnswer(const Packet& request, uint8_t status) {
    Packet answer = AnswerHeader(request);
    answer[kOffStatus] = status;
    SealPacket(answer);
    return answer;
}

CommandOutcome HandleCommand(KeyboardMemory& memory, std::span<const uint8_t> report) {
    CommandOutcome outcome;
    const Packet request = PadToPacket(report.data(), report.size());
    if (request[kOffReportId] != kCommandReportId) {
        return outcome;
    }
    if (request[kOffCommand] == kCmdEnterBootMode) {
        outcome.enterBootMode = true;
        return outcome;
    }
    Packet answer = AnswerHeader(request);
    const uint8_t status =
        HasValidChecksum(request) ? Execute(memory, request, answer, outcome) : kStatusRejected;
    answer[kOffStatus] = status;
    SealPacket(answer);
    outcome.answer = answer;
    return outcome;
}

}  // namespace qx::sim
