// Any bytes as the head of a file: reading it never looks past the first line of its first
// kProgramHeadBytes, a script's interpreter is one word of that line, and only a head that
// starts with "#!" is a script.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/executable_files.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using qx::platform::ProgramHead;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const ProgramHead head = qx::platform::ReadProgramHead(bytes);
    const std::string_view seen = bytes.substr(0, qx::platform::kProgramHeadBytes);
    if ((head.kind == ProgramHead::Kind::Script) != seen.starts_with("#!")) {
        std::abort();
    }
    if (head.kind != ProgramHead::Kind::Script && !head.interpreter.empty()) {
        std::abort();
    }
    const std::string_view firstLine = seen.substr(0, seen.find('\n'));
    if (firstLine.find(head.interpreter) == std::string_view::npos ||
        head.interpreter.find_first_of(" \t\r\n") != std::string_view::npos) {
        std::abort();
    }
    return 0;
}
