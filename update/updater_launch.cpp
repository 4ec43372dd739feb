#include "update/updater_launch.h"

#include <fstream>

#include "platform/executable_files.h"

namespace qx::update {
namespace {

bool IsWindowsProgram(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::string head(kWindowsProgramMark.size(), '\0');
    file.read(head.data(), static_cast<std::streamsize>(head.size()));
    return file.gcount() == static_cast<std::streamsize>(head.size()) &&
           head == kWindowsProgramMark;
}

}  // namespace

std::optional<UpdaterLaunch> PlanUpdaterLaunch(const std::string& path,
                                               const ProgramFinder& findProgram) {
    if (IsWindowsProgram(path)) {
        const std::optional<std::string> runner =
            findProgram ? findProgram(kWindowsRunner) : platform::FindProgramOnPath(kWindowsRunner);
        if (!runner) {
            return std::nullopt;
        }
        return UpdaterLaunch{*runner, {path}};
    }
    if (!platform::IsRunnableFile(path)) {
        return std::nullopt;
    }
    return UpdaterLaunch{path, {}};
}

}  // namespace qx::update
