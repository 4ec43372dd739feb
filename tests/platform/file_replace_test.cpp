// The one file replacement: the modes a user expects, and the old file kept whatever step fails.
#include "platform/file_replace.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <filesystem>

#include "tests/platform/temp_folder.h"

namespace qx::platform {
namespace {

using qx::testing::EntriesIn;
using qx::testing::PermissionsOf;
using qx::testing::ReadBytes;
using qx::testing::TempFolder;
using qx::testing::WriteBytes;

TEST(ReplaceFile, NewFilesTakeTheUmaskAndReplacedFilesKeepTheirMode) {
    TempFolder folder;
    const qx::testing::ScopedUmask mask(077);
    ASSERT_TRUE(ReplaceFile(folder.File("new"), "a"));
    EXPECT_EQ(PermissionsOf(folder.File("new")), 0600u);
    {
        const qx::testing::ScopedUmask group(027);
        ASSERT_TRUE(ReplaceFile(folder.File("shared"), "a", Flush::kSkip));
        EXPECT_EQ(PermissionsOf(folder.File("shared")), 0640u);
    }
    const std::string old = folder.File("old");
    WriteBytes(old, "before");
    ASSERT_EQ(::chmod(old.c_str(), 0604), 0);
    ASSERT_TRUE(ReplaceFile(old, "after"));
    EXPECT_EQ(PermissionsOf(old), 0604u) << "the umask does not narrow a replaced file";
    EXPECT_EQ(ReadBytes(old), "after");
}

TEST(ReplaceFile, AFailureAtAnyStepLeavesTheOldFileAndNothingElse) {
    TempFolder folder;
    const std::string path = folder.File("zadi.ini");
    WriteBytes(path, "before");
    {
        const qx::testing::FileSizeLimit limit(64);  // the disk fills up while writing
        EXPECT_EQ(ReplaceFile(path, std::string(500, 'x')).error, EFBIG);
    }
    EXPECT_EQ(ReadBytes(path), "before");
    EXPECT_EQ(EntriesIn(folder.path()), 1u);

    EXPECT_EQ(ReplaceFile(folder.File("no-folder/zadi.ini"), "x").error, ENOENT);

    // The rename fails: a folder stands where the file should go.
    std::filesystem::create_directory(folder.File("taken"));
    EXPECT_FALSE(ReplaceFile(folder.File("taken"), "x"));
    EXPECT_TRUE(std::filesystem::is_directory(folder.File("taken")));
    EXPECT_EQ(EntriesIn(folder.path()), 2u);
}

}  // namespace
}  // namespace qx::platform
