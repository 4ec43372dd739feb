// The run-time folder comes from the running executable, never from the current folder.
#include "platform/program_paths.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

namespace qx::platform {
namespace {

TEST(ProgramPaths, ComeFromTheRunningExecutable) {
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe");
    const ProgramPaths& paths = GetProgramPaths();
    EXPECT_EQ(paths.programFile, executable.filename().string());
    EXPECT_EQ(paths.folder, executable.parent_path().string() + "/");
}

TEST(ProgramPaths, EveryPathFollowsTheProgramFolder) {
    const std::string original = GetProgramPaths().folder;
    const std::string programFile = GetProgramPaths().programFile;
    SetProgramFolder("/opt/qx480/lib/qx480");  // no trailing '/'
    const ProgramPaths& paths = GetProgramPaths();
    EXPECT_EQ(paths.programFile, programFile);
    EXPECT_EQ(paths.folder, "/opt/qx480/lib/qx480/");
    EXPECT_EQ(paths.helpFolder, "/opt/qx480/lib/qx480/Help/");
    EXPECT_EQ(paths.mainSkinFile, "/opt/qx480/lib/qx480/Skins/Main.ini");
    EXPECT_EQ(paths.mainSkinFolder, "/opt/qx480/lib/qx480/Skins/");
    EXPECT_EQ(paths.profileSkinFile, "/opt/qx480/lib/qx480/Skins/Profile.ini");
    EXPECT_EQ(paths.profileSkinFolder, "/opt/qx480/lib/qx480/Skins/");
    EXPECT_EQ(paths.updateSkinFile, "/opt/qx480/lib/qx480/Skins/UpdateDlg.ini");
    EXPECT_EQ(paths.updateSkinFolder, "/opt/qx480/lib/qx480/Skins/");
    EXPECT_EQ(paths.compositeSkinFile, "/opt/qx480/lib/qx480/Skins/Composite.ini");
    EXPECT_EQ(paths.compositeSkinFolder, "/opt/qx480/lib/qx480/Skins/");
    EXPECT_EQ(paths.packagePath, "/opt/qx480/lib/qx480/Package");
    EXPECT_EQ(paths.companionProgram, "/opt/qx480/lib/qx480/RoVezevi");
    SetProgramFolder(original);
    EXPECT_EQ(GetProgramPaths().folder, original);
}

TEST(ProgramPaths, DoNotDependOnTheCurrentFolder) {
    const std::string before = GetProgramPaths().folder;
    const std::filesystem::path current = std::filesystem::current_path();
    std::filesystem::current_path("/");
    SetProgramFolder(before);
    EXPECT_EQ(GetProgramPaths().folder, before);
    std::filesystem::current_path(current);
}

}  // namespace
}  // namespace qx::platform
