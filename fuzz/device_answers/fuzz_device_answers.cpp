// Any bytes as the keyboard's answers to every command operation: the exchange and the command
// operations must map them to a result and copy out only what fits, whatever their length,
// command echo or status.
//
// Input: byte 0 picks the operation; then answer records, one per packet sent: a length byte
// (bit 7 set: put the request's command into the answer's byte 3 so the status and data paths
// are reached; bits 0..6: answer length 0..127) followed by that many bytes. When the input is
// used up the keyboard stays silent.
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <span>
#include <vector>

#include "device/link/device_commands.h"
#include "device/link/packet_exchange.h"
#include "device/link/result_codes.h"

namespace {

using namespace qx::device;

struct Script {
    std::span<const uint8_t> input;
    PacketExchange* exchange = nullptr;
};
Script g_script;

constexpr uint8_t kEchoBit = 0x80;
constexpr uint8_t kLengthBits = 0x7F;

int WriteOne(const RadOdorFilter*, const uint8_t* report, int length) {
    if (g_script.input.empty() || length < static_cast<int>(kCommandOffset) + 1) {
        return length;
    }
    const uint8_t header = g_script.input.front();
    g_script.input = g_script.input.subspan(1);
    const std::size_t size = std::min<std::size_t>(header & kLengthBits, g_script.input.size());
    std::vector<uint8_t> answer(g_script.input.begin(), g_script.input.begin() + size);
    g_script.input = g_script.input.subspan(size);
    if ((header & kEchoBit) != 0 && answer.size() > kCommandOffset) {
        answer[kCommandOffset] = report[kCommandOffset];
    }
    g_script.exchange->DeliverAnswer(answer);
    return length;
}

int Count(const RadOdorFilter*) {
    return 1;
}
int Zero0(int) {
    return 0;
}
int End0() {
    return 1;
}
int Delete0(uint32_t) {
    return 0;
}
int DeleteHandle0(RadOdorUnit*) {
    return 0;
}
int Write0(const RadOdorFilter*, RadOdorCallback, uint32_t, const uint8_t*, int, uint32_t*) {
    return 0;
}
int StatusGet0(const RadOdorFilter*, uint8_t*, int) {
    return 0;
}
int AsyncRead0(const RadOdorFilter*, RadOdorCallback, uint32_t, uint32_t*) {
    return 0;
}
int Feature0(const RadOdorFilter*, const uint8_t*, int) {
    return 0;
}

constexpr RadOdorApi kApi{Zero0,  Zero0,    End0,   Count,      Delete0,    DeleteHandle0,
                          Write0, WriteOne, Write0, StatusGet0, AsyncRead0, Feature0};

// Attempts that never wait: an answer is delivered before the send returns, or never.
constexpr Timing kNoWaits{.attemptTimeout = std::chrono::milliseconds(0),
                          .retryPause = std::chrono::milliseconds(0),
                          .busyWait = std::chrono::milliseconds(0),
                          .endWritePause = std::chrono::milliseconds(0),
                          .pollInterval = std::chrono::milliseconds(0)};

int RunOperation(DeviceCommands& commands, uint8_t choice) {
    std::array<uint8_t, kKeyLayoutSize> layout{};
    std::array<uint8_t, kStateBlockSize> state{};
    std::array<uint8_t, kDataCapacity> data{};
    std::vector<uint8_t> macros(200);
    switch (choice % 15) {
        case 0:
            return commands.BeginWrite();
        case 1:
            return commands.EndWrite();
        case 2:
            return commands.ReadStateBlock(state);
        case 3:
            return commands.WriteStateBlock(state);
        case 4:
            return commands.ReadMemory(data, 42, 0);
        case 5:
            return commands.WriteMemory(data, 42, 42);
        case 6:
            return commands.ReadProfileLayout(layout, choice % 4);
        case 7:
            return commands.WriteProfileLayout(layout, choice % 4);
        case 8:
            return commands.ReadMacroTable(macros);
        case 9:
            return commands.WriteMacroTable(macros);
        case 10:
            return commands.SendTestCommand();
        case 11:
            return commands.ReadDefaultLayout(layout);
        case 12:
            return commands.ReadPagedMemory(data, 36, 0x12, 2);
        case 13:
            return commands.WritePagedMemory(data, 18, 0x24, 1);
        default:
            return commands.EnterUpdateMode() > 0 ? kOk : kSendRefused;
    }
}

bool IsKnownResult(int result) {
    for (const int known :
         {kOk, kNoDevice, kSendRefused, kNoAnswer, kRejectedFF, kRejectedFE, kBadProfile}) {
        if (result == known) {
            return true;
        }
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    PacketExchange exchange(kApi, kNoWaits);
    DeviceCommands commands(exchange);
    g_script = {std::span(data + 1, size - 1), &exchange};
    const int result = RunOperation(commands, data[0]);
    if (!IsKnownResult(result) || exchange.IsBusy()) {
        std::abort();
    }
    g_script = {};
    return 0;
}
