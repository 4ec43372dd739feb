// The data folder must be the one Qt names, so the driver and the Qt-free tools share files.
#include "platform/data_folder.h"

#include <gtest/gtest.h>

#include <QStandardPaths>
#include <QString>
#include <cstdlib>
#include <filesystem>
#include <optional>

#include "tests/platform/temp_folder.h"

namespace qx::platform {
namespace {

using qx::testing::ReadBytes;
using qx::testing::TempFolder;
using qx::testing::WriteBytes;

// Sets HOME and XDG_DATA_HOME for one test and restores them afterwards.
class DataFolder : public ::testing::Test {
  protected:
    void SetUp() override {
        savedHome_ = Get("HOME");
        savedXdg_ = Get("XDG_DATA_HOME");
    }
    void TearDown() override {
        Restore("HOME", savedHome_);
        Restore("XDG_DATA_HOME", savedXdg_);
    }
    static std::optional<std::string> Get(const char* name) {
        const char* value = std::getenv(name);
        return value == nullptr ? std::nullopt : std::optional<std::string>(value);
    }
    static void Restore(const char* name, const std::optional<std::string>& value) {
        if (value) {
            ::setenv(name, value->c_str(), 1);
        } else {
            ::unsetenv(name);
        }
    }
    static std::string QtDataLocation() {
        return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation).toStdString();
    }
    // Points the data folder into `folder` through XDG_DATA_HOME.
    static void UseDataHome(const TempFolder& folder) {
        ::setenv("XDG_DATA_HOME", (folder.path() + "share").c_str(), 1);
    }

  private:
    std::optional<std::string> savedHome_;
    std::optional<std::string> savedXdg_;
};

TEST_F(DataFolder, IsTheFolderQtNamesForTheSameEnvironment) {
    const struct {
        const char* home;
        const char* xdg;  // nullptr: unset
    } cases[] = {
        {"/home/ana", nullptr},
        {"/home/ana/", nullptr},
        {"/home//ana", ""},
        {"/home/ana", "/data"},
        {"/home/ana", "/data//xdg/"},
        {"/home/ana", "/data/./x"},
        {"", nullptr},
        {"/root", "/var/lib/../share"},
        {"/home/ana/../bo", nullptr},
        {"/home/ana", "relative/share"},
    };
    for (const auto& c : cases) {
        ::setenv("HOME", c.home, 1);
        if (c.xdg == nullptr) {
            ::unsetenv("XDG_DATA_HOME");
        } else {
            ::setenv("XDG_DATA_HOME", c.xdg, 1);
        }
        EXPECT_EQ(UserDataLocation(), QtDataLocation())
            << "HOME=" << c.home << " XDG_DATA_HOME=" << (c.xdg ? c.xdg : "(unset)");
    }
    ::setenv("HOME", "/home/ana", 1);
    ::unsetenv("XDG_DATA_HOME");
    EXPECT_EQ(DataFolderPath(), "/home/ana/.local/share/Varkon QX480 Driver");
    EXPECT_EQ(GetSettingsFilePath(), "/home/ana/.local/share/Varkon QX480 Driver/zadi.ini");
}

TEST_F(DataFolder, EnsureDataFolderCreatesTheMissingFolders) {
    TempFolder folder;
    UseDataHome(folder);
    EXPECT_FALSE(std::filesystem::exists(DataFolderPath()));
    EnsureDataFolder();
    EXPECT_TRUE(std::filesystem::is_directory(DataFolderPath()));
    EnsureDataFolder();  // already there: nothing happens
    EXPECT_TRUE(std::filesystem::is_directory(DataFolderPath()));
}

TEST_F(DataFolder, LightingSwitchIsOnOnlyForOne) {
    TempFolder folder;
    UseDataHome(folder);
    EXPECT_FALSE(ReadLightingPanelSwitch()) << "no zadi.ini reads as \"0\"";
    EXPECT_FALSE(WriteLightingPanelSwitch(true)) << "the data folder does not exist yet";
    EnsureDataFolder();
    ASSERT_TRUE(WriteLightingPanelSwitch(true));
    EXPECT_EQ(ReadBytes(GetSettingsFilePath()), "[KEYCOLOR]\nDengCheck=1\n");
    EXPECT_TRUE(ReadLightingPanelSwitch());
    ASSERT_TRUE(WriteLightingPanelSwitch(false));
    EXPECT_FALSE(ReadLightingPanelSwitch());
    for (const char* other : {"yes", "01", " 1 x", "2", ""}) {
        WriteBytes(GetSettingsFilePath(), std::string("[KEYCOLOR]\nDengCheck=") + other + "\n");
        EXPECT_FALSE(ReadLightingPanelSwitch()) << other;
    }
    WriteBytes(GetSettingsFilePath(), "[keycolor]\ndengcheck = 1\n");
    EXPECT_TRUE(ReadLightingPanelSwitch());
}

}  // namespace
}  // namespace qx::platform
