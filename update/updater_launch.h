// How the firmware updater the user chose is started: a Windows program (its file begins with
// "MZ") through Wine when Wine is installed, any other file directly when it can be run. Worked
// out before the keyboard is put into boot mode, so that an updater that cannot start leaves the
// keyboard as it was. Qt-free.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qx::update {

// The program that runs Windows programs, looked up on the search path.
inline constexpr std::string_view kWindowsRunner = "wine";
// The first bytes of a Windows program.
inline constexpr std::string_view kWindowsProgramMark = "MZ";

struct UpdaterLaunch {
    std::string program;
    std::vector<std::string> arguments;

    bool operator==(const UpdaterLaunch&) const = default;
};

// Finds an installed program by name (the default searches $PATH).
using ProgramFinder = std::function<std::optional<std::string>(std::string_view name)>;

// The launch of the updater at `path`, or nothing when it cannot be started: a Windows program
// without Wine, or a file the system cannot run.
std::optional<UpdaterLaunch> PlanUpdaterLaunch(const std::string& path,
                                               const ProgramFinder& findProgram = {});

}  // namespace qx::update
