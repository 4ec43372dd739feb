#include "platform/program_paths.h"

#include <unistd.h>

#include <array>
#include <climits>
#include <utility>

namespace qx::platform {
namespace {

constexpr const char* kHelpFolder = "Help/";
constexpr const char* kSkinFolder = "Skins/";
constexpr const char* kMainSkin = "Main.ini";
constexpr const char* kProfileSkin = "Profile.ini";
constexpr const char* kUpdateSkin = "UpdateDlg.ini";
constexpr const char* kCompositeSkin = "Composite.ini";
constexpr const char* kPackage = "Package";
constexpr const char* kCompanionProgram = "RoVezevi";

std::string WithTrailingSlash(std::string folder) {
    if (folder.empty() || folder.back() != '/') {
        folder += '/';
    }
    return folder;
}

ProgramPaths PathsFor(std::string programFile, const std::string& folder) {
    ProgramPaths paths;
    paths.programFile = std::move(programFile);
    paths.folder = WithTrailingSlash(folder);
    const std::string skins = paths.folder + kSkinFolder;
    paths.helpFolder = paths.folder + kHelpFolder;
    paths.mainSkinFile = skins + kMainSkin;
    paths.mainSkinFolder = skins;
    paths.profileSkinFile = skins + kProfileSkin;
    paths.profileSkinFolder = skins;
    paths.updateSkinFile = skins + kUpdateSkin;
    paths.updateSkinFolder = skins;
    paths.compositeSkinFile = skins + kCompositeSkin;
    paths.compositeSkinFolder = skins;
    paths.packagePath = paths.folder + kPackage;
    paths.companionProgram = paths.folder + kCompanionProgram;
    return paths;
}

// The running executable's full path, from the kernel (not argv[0], not the current folder).
std::string ExecutablePath() {
    std::array<char, PATH_MAX> buffer{};
    const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
    if (length <= 0) {
        return {};
    }
    return std::string(buffer.data(), static_cast<std::size_t>(length));
}

ProgramPaths PathsOfRunningProgram() {
    const std::string executable = ExecutablePath();
    const auto slash = executable.rfind('/');
    if (slash == std::string::npos) {
        return PathsFor(executable, "./");
    }
    return PathsFor(executable.substr(slash + 1), executable.substr(0, slash + 1));
}

ProgramPaths& Paths() {
    static ProgramPaths paths = PathsOfRunningProgram();
    return paths;
}

}  // namespace

const ProgramPaths& GetProgramPaths() {
    return Paths();
}

void SetProgramFolder(const std::string& folder) {
    ProgramPaths& paths = Paths();
    paths = PathsFor(paths.programFile, folder);
}

}  // namespace qx::platform
