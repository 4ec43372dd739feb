// The Qt settings store keeps the value names and string forms in the files the program uses.
#include "platform/qt_settings_store.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QCoreApplication>
#include <QSettings>
#include <filesystem>

#include "tests/platform/temp_folder.h"

namespace qx::platform {
namespace {

using qx::testing::ReadBytes;
using qx::testing::TempFolder;
using qx::testing::WriteBytes;

// Points the user-scope settings into a temporary folder for one test.
class QtSettings : public ::testing::Test {
  protected:
    void SetUp() override {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           QString::fromStdString(folder_.path()));
    }
    void TearDown() override {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QString());
    }
    TempFolder folder_;
};

TEST_F(QtSettings, StoresLiveInTheDocumentedFiles) {
    const QtSettingsStore store;
    EXPECT_EQ(store.ProfileLocation(), folder_.File("Quilvane_Ostrand/Varkon QX480 Driver.conf"));
    EXPECT_EQ(store.UserKeyLocation(), folder_.File("Varkon QX480 Driver.conf"));
}

TEST_F(QtSettings, ProfileStringsRoundTripInSectionProfiles) {
    {
        QtSettingsStore store;
        EXPECT_EQ(store.ReadProfileString("PROFILES", "Flip"), std::nullopt);
        EXPECT_TRUE(store.WriteProfileString("PROFILES", "Flip", "1"));
        EXPECT_TRUE(store.WriteProfileString("PROFILES", "Record delays", "0"));
        EXPECT_TRUE(store.WriteProfileString("PROFILES", "a/b\\c%d", "odd name"));
        EXPECT_TRUE(store.WriteProfileString("PROFILES", "PROFILE01", "/home/ana/J\xC3\xA1.kpf"));
    }
    QtSettingsStore reopened;
    EXPECT_EQ(reopened.ReadProfileString("PROFILES", "Flip"), "1");
    EXPECT_EQ(reopened.ReadProfileString("PROFILES", "Record delays"), "0");
    EXPECT_EQ(reopened.ReadProfileString("PROFILES", "a/b\\c%d"), "odd name");
    EXPECT_EQ(reopened.ReadProfileString("PROFILES", "PROFILE01"), "/home/ana/J\xC3\xA1.kpf");
    EXPECT_EQ(reopened.ReadProfileString("OTHER", "Flip"), std::nullopt);
    const std::string file = ReadBytes(reopened.ProfileLocation());
    EXPECT_NE(file.find("[PROFILES]"), std::string::npos) << file;
    EXPECT_NE(file.find("Flip=1"), std::string::npos) << file;

    // Storing what a key holds leaves the file alone; another value replaces it.
    const auto inode = [&reopened] {
        struct stat info {};
        ::stat(reopened.ProfileLocation().c_str(), &info);
        return info.st_ino;
    };
    const ino_t before = inode();
    EXPECT_TRUE(reopened.WriteProfileString("PROFILES", "Flip", "1"));
    EXPECT_EQ(inode(), before);
    EXPECT_TRUE(reopened.WriteProfileString("PROFILES", "Flip", "0"));
    EXPECT_NE(inode(), before);
    EXPECT_EQ(QtSettingsStore().ReadProfileString("PROFILES", "Flip"), "0");
}

TEST_F(QtSettings, LanguageIdIsA32BitNumber) {
    {
        QtSettingsStore store;
        EXPECT_EQ(store.ReadUserDword("dwLanguageId"), std::nullopt);
        EXPECT_TRUE(store.WriteUserDword("dwLanguageId", 0x1046));
        EXPECT_EQ(store.ReadUserDword("dwLanguageId"), 0x1046u);
        EXPECT_TRUE(store.WriteUserDword("big", 0xFFFFFFFFu));
    }
    QtSettingsStore reopened;
    EXPECT_EQ(reopened.ReadUserDword("dwLanguageId"), 0x1046u);
    EXPECT_EQ(reopened.ReadUserDword("big"), 0xFFFFFFFFu);
    EXPECT_NE(ReadBytes(reopened.UserKeyLocation()).find("dwLanguageId=4166"), std::string::npos);
}

TEST_F(QtSettings, ValueThatIsNotANumberReadsAsMissing) {
    WriteBytes(folder_.File("Varkon QX480 Driver.conf"),
               "[General]\nwords=English\nnegative=-1\nhuge=4294967296\nempty=\nhex=0x409\n");
    QtSettingsStore store;
    for (const char* name : {"words", "negative", "huge", "empty", "hex"}) {
        EXPECT_EQ(store.ReadUserDword(name), std::nullopt) << name;
    }
}

TEST_F(QtSettings, FailedWriteIsReportedAndKeepsTheOldFile) {
    QtSettingsStore store;
    ASSERT_TRUE(store.WriteProfileString("PROFILES", "Flip", "1"));
    const std::string before = ReadBytes(store.ProfileLocation());
    {
        const qx::testing::FileSizeLimit limit(before.size() + 16);
        EXPECT_FALSE(store.WriteProfileString("PROFILES", "PROFILE01", std::string(4096, 'x')));
    }
    EXPECT_EQ(ReadBytes(store.ProfileLocation()), before);
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& entry :
         std::filesystem::directory_iterator(folder_.File("Quilvane_Ostrand"))) {
        ++files;
    }
    EXPECT_EQ(files, 1u) << "no temporary file is left behind";
}

}  // namespace
}  // namespace qx::platform
