// The INI writer changes one value and nothing else, and never leaves a damaged file.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "platform/ini_file.h"
#include "tests/platform/temp_folder.h"

namespace qx::platform {
namespace {

using qx::testing::EntriesIn;
using qx::testing::ReadBytes;
using qx::testing::TempFolder;
using qx::testing::Utf16LeFile;
using qx::testing::WriteBytes;

std::string Read(const std::string& path, std::string_view section, std::string_view key) {
    return ReadIniString(path, section, key, "<missing>", kSkinStringBuffer);
}

TEST(IniWriter, CreatesFileSectionAndKeyWhenMissing) {
    TempFolder folder;
    const std::string path = folder.File("zadi.ini");
    ASSERT_TRUE(WriteIniString(path, "KEYCOLOR", "DengCheck", "1"));
    EXPECT_EQ(ReadBytes(path), "[KEYCOLOR]\nDengCheck=1\n");
    ASSERT_TRUE(WriteIniString(path, "OTHER", "Key", "v"));
    EXPECT_EQ(ReadBytes(path), "[KEYCOLOR]\nDengCheck=1\n[OTHER]\nKey=v\n");
    ASSERT_TRUE(WriteIniString(path, "keycolor", "Second", "2"));
    EXPECT_EQ(ReadBytes(path), "[KEYCOLOR]\nDengCheck=1\nSecond=2\n[OTHER]\nKey=v\n");
}

TEST(IniWriter, ReplacesAValueAndKeepsEveryOtherLineAsItWas) {
    TempFolder folder;
    const std::string path = folder.File("zadi.ini");
    const std::string before =
        "; settings\r\n"
        "[KEYCOLOR]\r\n"
        "  dengcheck = 0   \r\n"
        "Odd line without equals\r\n"
        "\r\n"
        "[LATER]\r\n"
        "DengCheck=untouched\r\n";
    WriteBytes(path, before);
    ASSERT_TRUE(WriteIniString(path, "KEYCOLOR", "DengCheck", "1"));
    EXPECT_EQ(ReadBytes(path),
              "; settings\r\n"
              "[KEYCOLOR]\r\n"
              "  dengcheck=1   \r\n"
              "Odd line without equals\r\n"
              "\r\n"
              "[LATER]\r\n"
              "DengCheck=untouched\r\n");
}

TEST(IniWriter, NewKeyGoesAfterTheSectionsLastLineInTheFilesLineEnds) {
    TempFolder folder;
    const std::string path = folder.File("a.ini");
    WriteBytes(path, "[A]\r\nx=1\r\n\r\n[B]\r\ny=2");
    ASSERT_TRUE(WriteIniString(path, "A", "z", "3"));
    ASSERT_TRUE(WriteIniString(path, "B", "w", "4"));
    EXPECT_EQ(ReadBytes(path), "[A]\r\nx=1\r\nz=3\r\n\r\n[B]\r\ny=2\r\nw=4\r\n");

    WriteBytes(path, "[A]");
    ASSERT_TRUE(WriteIniString(path, "A", "k", "v"));
    EXPECT_EQ(ReadBytes(path), "[A]\nk=v\n");
}

TEST(IniWriter, ValuesReadBackExactly) {
    TempFolder folder;
    const std::string path = folder.File("v.ini");
    for (const std::string value :
         {"", " leading", "trailing ", "\"quoted\"", "\"", "a=b; c", "\xC3\xA7\xC3\xA3o"}) {
        ASSERT_TRUE(WriteIniString(path, "S", "k", value)) << value;
        EXPECT_EQ(Read(path, "S", "k"), value);
    }
}

TEST(IniWriter, RefusesNamesAndValuesAnIniLineCannotHold) {
    TempFolder folder;
    const std::string path = folder.File("r.ini");
    WriteBytes(path, "[S]\nk=v\n");
    EXPECT_FALSE(WriteIniString(path, "", "k", "v"));
    EXPECT_FALSE(WriteIniString(path, "a]b", "k", "v"));
    EXPECT_FALSE(WriteIniString(path, " S", "k", "v"));
    EXPECT_FALSE(WriteIniString(path, "S", "", "v"));
    EXPECT_FALSE(WriteIniString(path, "S", "a=b", "v"));
    EXPECT_FALSE(WriteIniString(path, "S", ";k", "v"));
    EXPECT_FALSE(WriteIniString(path, "S", "[k", "v"));
    EXPECT_FALSE(WriteIniString(path, "S", "k ", "v"));
    EXPECT_FALSE(WriteIniString(path, "S", "k", "two\nlines"));
    EXPECT_FALSE(WriteIniString(path, "S\n[T]", "k", "v"));
    EXPECT_EQ(ReadBytes(path), "[S]\nk=v\n");
}

TEST(IniWriter, Utf16FileIsRewrittenAsUtf8WithItsContent) {
    TempFolder folder;
    const std::string path = folder.File("u.ini");
    WriteBytes(path, Utf16LeFile(u"[S]\r\nname=\u00C7a\r\nk=old\r\n"));
    ASSERT_TRUE(WriteIniString(path, "S", "k", "new"));
    EXPECT_EQ(ReadBytes(path),
              "[S]\r\nname=\xC3\x87"
              "a\r\nk=new\r\n");

    WriteBytes(path, "\xEF\xBB\xBF[S]\nk=old\n");
    ASSERT_TRUE(WriteIniString(path, "S", "k", "new"));
    EXPECT_EQ(ReadBytes(path), "\xEF\xBB\xBF[S]\nk=new\n") << "a UTF-8 BOM is kept";
}

TEST(IniWriter, FailedWriteLeavesTheOldFileAndNoTemporaryFile) {
    TempFolder folder;
    const std::string path = folder.File("zadi.ini");
    const std::string before = "[KEYCOLOR]\nDengCheck=0\n";
    WriteBytes(path, before);
    {
        const qx::testing::FileSizeLimit limit(64);
        EXPECT_FALSE(WriteIniString(path, "KEYCOLOR", "DengCheck", std::string(500, '1')));
    }
    EXPECT_EQ(ReadBytes(path), before);
    EXPECT_EQ(EntriesIn(folder.path()), 1u);

    EXPECT_FALSE(WriteIniString(folder.File("missing-folder/zadi.ini"), "S", "k", "v"));
    std::filesystem::create_directory(folder.File("a-folder"));
    EXPECT_FALSE(WriteIniString(folder.File("a-folder"), "S", "k", "v"))
        << "a path that exists but cannot be read is not replaced";
    EXPECT_TRUE(std::filesystem::is_directory(folder.File("a-folder")));
}

TEST(IniWriter, ReplacementKeepsPermissionsAndSymbolicLinks) {
    TempFolder folder;
    const std::string real = folder.File("real.ini");
    WriteBytes(real, "[S]\nk=1\n");
    ::chmod(real.c_str(), 0600);
    std::filesystem::create_symlink(real, folder.File("link.ini"));

    ASSERT_TRUE(WriteIniString(folder.File("link.ini"), "S", "k", "2"));
    EXPECT_TRUE(std::filesystem::is_symlink(folder.File("link.ini")));
    EXPECT_EQ(ReadBytes(real), "[S]\nk=2\n");
    struct stat info {};
    ASSERT_EQ(::stat(real.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
}

}  // namespace
}  // namespace qx::platform
