// Whether a file can be run as a program, and where a program of the system is installed. The
// firmware update window asks both before it puts the keyboard into boot mode, since a program
// that cannot be started would leave the keyboard there. Qt-free.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qx::platform {

// A regular file the user may execute and the kernel can start: a program in the system's own
// format (ELF), or a script ("#!") whose interpreter is runnable itself. Other files fail to
// start even with their execute bit set.
bool IsRunnableFile(const std::string& path);

// The full path of the first runnable file called `name` in the folders of $PATH, or nothing
// (also for a name that holds a '/').
std::optional<std::string> FindProgramOnPath(std::string_view name);

}  // namespace qx::platform
