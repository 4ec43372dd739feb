// Any bytes as the emulated keyboard's state file. A file is taken only whole (right size,
// magic and version); what is taken is written back byte for byte, and a keyboard running on
// it answers a read at the end of the macro table area its state block announces.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>

#include "sim/command_handler.h"
#include "sim/state_file.h"

namespace {

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// Reads the last bytes of the macro table area the memory announces.
void CheckMacroAreaEnd(qx::sim::KeyboardMemory& memory) {
    using namespace qx::sim;
    const size_t reachable = memory.ReachableSize(Area::kMacroTable);
    Check(reachable <= kMacroAreaCapacity);
    if (reachable < kMaxDataLength) {
        return;
    }
    const size_t address = reachable - kMaxDataLength;
    Packet request{};
    request[kOffReportId] = kCommandReportId;
    request[kOffCommand] = kCmdReadMacroTable;
    request[kOffLength] = static_cast<uint8_t>(kMaxDataLength);
    request[kOffAddress] = static_cast<uint8_t>(address);
    request[kOffAddress + 1] = static_cast<uint8_t>(address >> 8);
    SealPacket(request);
    const KeyboardMemory before = memory;
    const CommandOutcome outcome = HandleCommand(memory, request);
    Check(outcome.answer.has_value() && (*outcome.answer)[kOffStatus] == kStatusOk);
    Check(memory == before);
    const auto area = memory.Bytes(Area::kMacroTable);
    for (size_t i = 0; i < kMaxDataLength; ++i) {
        Check((*outcome.answer)[kOffData + i] == area[address + i]);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace qx::sim;
    const std::span<const uint8_t> bytes(data, size);
    std::string error;
    std::optional<KeyboardMemory> memory = ParseStateFile(bytes, error);
    if (!memory) {
        Check(!error.empty());
        return 0;
    }
    Check(size == kStateFileSize);
    const std::vector<uint8_t> written = SerializeStateFile(*memory);
    Check(written.size() == size && std::equal(written.begin(), written.end(), data));
    CheckMacroAreaEnd(*memory);
    return 0;
}
