// Which updaters can be started, and how: decided before the keyboard is put into boot mode.
#include "update/updater_launch.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "tests/platform/temp_folder.h"

namespace qx::update {
namespace {

void WriteFile(const std::string& path, std::string_view bytes, mode_t mode) {
    testing::WriteBytes(path, bytes);
    ::chmod(path.c_str(), mode);
}

TEST(UpdaterLaunchTest, WindowsProgramsNeedWine) {
    testing::TempFolder folder;
    const std::string program = folder.File("QX480_Update.exe");
    WriteFile(program, "MZ\x90\x00", 0644);
    const ProgramFinder withWine = [](std::string_view name) -> std::optional<std::string> {
        return name == kWindowsRunner ? std::optional<std::string>("/usr/bin/wine") : std::nullopt;
    };
    const ProgramFinder withoutWine = [](std::string_view) { return std::nullopt; };
    EXPECT_EQ(PlanUpdaterLaunch(program, withWine), (UpdaterLaunch{"/usr/bin/wine", {program}}));
    EXPECT_EQ(PlanUpdaterLaunch(program, withoutWine), std::nullopt);
}

// Started directly: what the kernel can run. A script counts only with its interpreter present;
// a file without the execute bit, or one the kernel cannot run, is refused.
TEST(UpdaterLaunchTest, OtherFilesStartDirectlyOnlyWhenTheSystemCanRunThem) {
    testing::TempFolder folder;
    const std::string script = folder.File("update.sh");
    WriteFile(script, "#! /bin/sh -e\nexit 0\n", 0755);
    const std::string orphan = folder.File("orphan.sh");
    WriteFile(orphan, "#!/nonexistent/interpreter\n", 0755);
    const std::string notExecutable = folder.File("update-no-x.sh");
    WriteFile(notExecutable, "#!/bin/sh\n", 0644);
    const std::string text = folder.File("notes");
    WriteFile(text, "read me\n", 0755);

    EXPECT_EQ(PlanUpdaterLaunch(script), (UpdaterLaunch{script, {}}));
    EXPECT_EQ(PlanUpdaterLaunch("/bin/sh"), (UpdaterLaunch{"/bin/sh", {}}));
    EXPECT_EQ(PlanUpdaterLaunch(orphan), std::nullopt);
    EXPECT_EQ(PlanUpdaterLaunch(notExecutable), std::nullopt);
    EXPECT_EQ(PlanUpdaterLaunch(text), std::nullopt);
    EXPECT_EQ(PlanUpdaterLaunch(folder.path()), std::nullopt);
}

}  // namespace
}  // namespace qx::update
