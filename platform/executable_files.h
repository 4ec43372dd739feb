// Whether a file can be run as a program, and where a program of the system is installed. The
// firmware update window asks both before it puts the keyboard into boot mode, since a program
// that cannot be started would leave the keyboard there. Qt-free.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace qx::platform {

// What a file's first bytes (at most kProgramHeadBytes of them) say about how the kernel starts
// it: a program in the system's format (ELF), a script with the interpreter its first line names
// ("#! /bin/sh -e" names "/bin/sh"; empty when the line names none), or neither.
inline constexpr std::size_t kProgramHeadBytes = 256;
struct ProgramHead {
    enum class Kind { Native, Script, Other };
    Kind kind = Kind::Other;
    std::string interpreter;
};
ProgramHead ReadProgramHead(std::string_view head);

// A regular file the user may execute and the kernel can start: a program in the system's own
// format (ELF), or a script ("#!") whose interpreter is runnable itself. Other files fail to
// start even with their execute bit set.
bool IsRunnableFile(const std::string& path);

// The full path of the first runnable file called `name` in the folders of $PATH, or nothing
// (also for a name that holds a '/').
std::optional<std::string> FindProgramOnPath(std::string_view name);

}  // namespace qx::platform
