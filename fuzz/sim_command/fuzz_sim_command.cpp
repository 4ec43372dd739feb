// Feeds any bytes to the emulated keyboard's firmware as one command report (shorter input is
// padded with zeros, longer input cut at 64 bytes) and checks what a host relies on: an answer
// echoes the request's header, and nothing outside the report's reach changes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <span>

#include "sim/command_handler.h"
#include "sim/keyboard_memory.h"

namespace {

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// The bytes of the memory that differ from the factory content.
size_t ChangedBytes(const qx::sim::KeyboardMemory& a, const qx::sim::KeyboardMemory& b) {
    using qx::sim::Area;
    size_t changed = 0;
    for (Area area : {Area::kStateBlock, Area::kDefaultLayout, Area::kProfileLayouts,
                      Area::kLighting, Area::kKeyLight, Area::kMacroTable}) {
        const auto x = a.Bytes(area);
        const auto y = b.Bytes(area);
        if (std::memcmp(x.data(), y.data(), x.size()) == 0) {
            continue;
        }
        for (size_t i = 0; i < x.size(); ++i) {
            changed += x[i] != y[i] ? 1 : 0;
        }
    }
    return changed;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace qx::sim;
    static const KeyboardMemory kFactory = KeyboardMemory::Factory();
    KeyboardMemory memory = kFactory;
    const Packet request = PadToPacket(data, size);
    const CommandOutcome outcome = HandleCommand(
        memory, std::span<const uint8_t>(data, size < kPacketSize ? size : kPacketSize));

    const size_t changed = ChangedBytes(kFactory, memory);
    Check(changed <= kMaxDataLength);
    Check(outcome.memoryChanged == (changed > 0));
    Check(memory.ActiveProfile() < kProfileCount);
    if (outcome.answer) {
        const Packet& answer = *outcome.answer;
        Check(answer[kOffReportId] == kCommandReportId);
        for (size_t i = kOffCommand; i < kOffStatus; ++i) {
            Check(answer[i] == request[i]);
        }
        Check((answer[kOffChecksum] | answer[kOffChecksum + 1] << 8) == PacketChecksum(answer));
        if (answer[kOffStatus] != kStatusOk) {
            Check(changed == 0);
        }
    } else {
        Check(request[kOffReportId] != kCommandReportId ||
              request[kOffCommand] == kCmdEnterBootMode);
        Check(changed == 0);
    }
    return 0;
}
