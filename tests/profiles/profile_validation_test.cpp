// Which files the validator accepts, which it refuses silently and which with the format-error
// message; and that nothing is read beyond a file's own bytes.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

#include "keyboard/byte_order.h"
#include "tests/profiles/allocation_probe.h"
#include "tests/profiles/profile_builders.h"
#include "tests/profiles/profile_fixture.h"

namespace qx::testing {
namespace {

using profiles::ProfileCheck;

class ValidateTest : public ProfileTest {
  protected:
    std::string Write(const char* name, const std::string& bytes) {
        std::string path = File(name);
        WriteBytes(path, bytes);
        return path;
    }
    std::string FormatError(const std::string& path) const { return "Not a profile file: " + path; }
};

TEST_F(ValidateTest, AcceptsTheSmallestFileAndRefusesOneByteLessSilently) {
    const std::string bytes = MakeFileBytes(0, 0);
    EXPECT_EQ(profiles::ValidateProfileFile(Write("ok.kpf", bytes)), 1);
    EXPECT_EQ(profiles::ValidateProfileFile(Write("short.kpf", bytes.substr(0, 32831))), 0);
    EXPECT_TRUE(Messages().empty());
}

TEST_F(ValidateTest, RefusesMissingFilesAndFoldersSilently) {
    EXPECT_EQ(profiles::ValidateProfileFile(File("missing.kpf")), 0);
    EXPECT_EQ(profiles::ValidateProfileFile(scratch_.path()), 0);
    EXPECT_TRUE(Messages().empty());
}

TEST_F(ValidateTest, AcceptsAHundredMacrosAndRefusesMoreWithTheMessage) {
    const std::string hundred = Write("100.kpf", MakeFileBytes(100, 0));
    EXPECT_EQ(profiles::ValidateProfileFile(hundred), 1);
    std::string bytes = MakeFileBytes(101, 0);
    const std::string path = Write("101.kpf", bytes);
    EXPECT_EQ(profiles::ValidateProfileFile(path), 0);
    EXPECT_EQ(Messages(), std::vector<std::string>{FormatError(path)});
    const auto questions = prompt_.Questions();
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_EQ(questions[0].kind, platform::testing::ScriptedPrompt::Kind::Message);
}

TEST_F(ValidateTest, AcceptsFlagOneAndRefusesFlagTwo) {
    EXPECT_EQ(profiles::ValidateProfileFile(Write("flag1.kpf", MakeFileBytes(0, 0, 1))), 1);
    EXPECT_EQ(profiles::ValidateProfileFile(Write("flag2.kpf", MakeFileBytes(0, 0, 2))), 0);
    EXPECT_EQ(Messages().size(), 1u);
}

TEST_F(ValidateTest, RefusesAnyChangedHeaderByteWhoseChecksumWasNotMended) {
    const std::string good = MakeFileBytes(1, 6);
    for (std::size_t offset = 0; offset < 31; ++offset) {
        std::string bytes = good;
        bytes[offset] = static_cast<char>(bytes[offset] + 1);
        EXPECT_EQ(profiles::ValidateProfileFile(Write("changed.kpf", bytes)), 0) << offset;
    }
    EXPECT_EQ(Messages().size(), 31u);
}

TEST_F(ValidateTest, RefusesEachBrokenHeaderRuleEvenWithAMatchingChecksum) {
    const struct {
        std::size_t offset;
        uint8_t value;
        ProfileCheck expected;
    } cases[] = {
        {0, 0x47, ProfileCheck::BadMagic},       {2, 0x21, ProfileCheck::BadHeaderSize},
        {4, 0x02, ProfileCheck::BadFormatWord},  {6, 0x02, ProfileCheck::BadFormatRevision},
        {12, 0x01, ProfileCheck::BadEntryCount}, {16, 0x07, ProfileCheck::TotalMismatch},
        {9, 0x00, ProfileCheck::TotalTooSmall},
    };
    for (const auto& c : cases) {
        std::string bytes = MakeFileBytes(0, 0);
        PatchHeader(bytes, c.offset, c.value);
        EXPECT_EQ(profiles::CheckProfileFile(Write("rule.kpf", bytes)), c.expected) << c.offset;
    }
}

TEST_F(ValidateTest, DoesNotLetAHugeStringAreaWrapTheTotalRoundToAMatch) {
    // 32832 + 100 × 16512 + 0xFFFFFFFF is 1684031 modulo 2^32.
    std::string bytes = MakeFileBytes(0, 0);
    Put16(bytes, 14, 100);
    Put32(bytes, 16, 0xFFFFFFFFu);
    Put32(bytes, 8, 1684031u);
    PatchHeader(bytes, 30, 0);
    EXPECT_EQ(profiles::CheckProfileFile(Write("wrap.kpf", bytes)), ProfileCheck::TotalMismatch);
}

TEST_F(ValidateTest, AcceptsAFileLongerThanItsTotalAndTheLoaderIgnoresTheRest) {
    std::string bytes = MakeFileBytes(0, 0, 0, 100);
    bytes[40000] = 'x';
    const std::string path = Write("long.kpf", bytes);
    EXPECT_EQ(profiles::ValidateProfileFile(path), 1);
    ASSERT_EQ(profiles::LoadImageFromFile(path), 1);
    const keyboard::ImageGuard guard = keyboard::Images().LockImage();
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(guard->image->Bytes().data()), 32832),
              bytes.substr(0, 32832));
    EXPECT_TRUE(guard->macros.empty());
}

TEST_F(ValidateTest, NamesTheFileByItsFullPath) {
    const std::string path = Write("bad.kpf", MakeFileBytes(0, 0, 2));
    const auto saved = std::filesystem::current_path();
    std::filesystem::current_path(scratch_.path());
    EXPECT_EQ(profiles::ValidateProfileFile("./bad.kpf"), 0);
    std::filesystem::current_path(saved);
    EXPECT_EQ(Messages(), std::vector<std::string>{FormatError(path)});
}

// ---- Files whose header is right but whose body is not ----------------------------------

class MalformedBodyTest : public ValidateTest {
  protected:
    // A file with one launch-program entry (entry 30) whose text offset is `offset`, and a
    // string area of `area`.
    std::string WithText(uint32_t offset, const std::string& area) {
        std::string bytes = MakeFileBytes(0, static_cast<uint32_t>(area.size()));
        Put16(bytes, 64 + 16 * 30, keyboard::kKindLaunch);
        Put32(bytes, 64 + 16 * 30 + 4, offset);
        bytes.replace(32832, area.size(), area);
        return bytes;
    }
    // Expects refusal with the message by the validator and by the loader, which leaves the
    // live image alone.
    void ExpectRefused(const std::string& bytes, ProfileCheck why) {
        const std::string path = Write("body.kpf", bytes);
        EXPECT_EQ(profiles::CheckProfileFile(path), why);
        prompt_.Clear();
        EXPECT_EQ(profiles::ValidateProfileFile(path), 0);
        EXPECT_EQ(Messages(), std::vector<std::string>{FormatError(path)});
        EXPECT_EQ(profiles::LoadImageFromFile(path), 0);
    }
};

TEST_F(MalformedBodyTest, AFileShorterThanItsTotalIsRefused) {
    ExpectRefused(MakeFileBytes(2, 0).substr(0, 32832 + 16512), ProfileCheck::Truncated);
    ExpectRefused(MakeFileBytes(0, 40).substr(0, 32832 + 39), ProfileCheck::Truncated);
}

TEST_F(MalformedBodyTest, ATextOffsetOutsideTheStringAreaIsRefused) {
    ExpectRefused(WithText(8, std::string("a\0\0\0", 4)), ProfileCheck::TextOutsideArea);
    ExpectRefused(WithText(0xFFFFFFFFu, std::string("a\0\0\0", 4)), ProfileCheck::TextOutsideArea);
}

TEST_F(MalformedBodyTest, ATextWithoutTerminatorInsideTheAreaIsRefused) {
    ExpectRefused(WithText(0, std::string("a\0b\0", 4)), ProfileCheck::TextUnterminated);
    ExpectRefused(WithText(4, std::string("a\0\0\0b\0c", 7)), ProfileCheck::TextUnterminated);
}

TEST_F(MalformedBodyTest, AnOddOffsetIsTakenFromTheEvenByteBelow) {
    const std::string path = Write("odd.kpf", WithText(3, std::string("a\0b\0\0\0", 6)));
    EXPECT_EQ(profiles::ValidateProfileFile(path), 1);
    ASSERT_EQ(profiles::LoadImageFromFile(path), 1);
    EXPECT_EQ(keyboard::Images().LockImage()->texts.Text(30), u"b");
}

TEST_F(MalformedBodyTest, ATextCarryingEntryOfAFileWithoutStringAreaComesWithoutText) {
    // What the key assignment window leaves behind: the kind kept, its text released.
    const std::string path = Write("notext.kpf", WithText(0, ""));
    EXPECT_EQ(profiles::ValidateProfileFile(path), 1);
    ASSERT_EQ(profiles::LoadImageFromFile(path), 1);
    const keyboard::ImageGuard guard = keyboard::Images().LockImage();
    EXPECT_FALSE(guard->texts.HasText(30));
    EXPECT_EQ(guard->image->Entry(0, 30).Kind(), keyboard::kKindLaunch);
}

// ---- Files that are large, or may only be read --------------------------------------------

class LargeFileTest : public ValidateTest {
  protected:
    // A sparse file of `size` bytes starting with `head`.
    std::string Sparse(const char* name, const std::string& head, uint64_t size) {
        std::string path = Write(name, head);
        EXPECT_EQ(::truncate(path.c_str(), static_cast<off_t>(size)), 0);
        return path;
    }
};

TEST_F(LargeFileTest, AFileOfFourGibibytesIsRefusedSilently) {
    const std::string path = Sparse("4g.kpf", MakeFileBytes(0, 0), uint64_t{1} << 32);
    AllocationProbe probe;
    EXPECT_EQ(profiles::ValidateProfileFile(path), 0);
    EXPECT_TRUE(Messages().empty());
    EXPECT_LT(probe.Largest(), 1u << 20);
}

TEST_F(LargeFileTest, ABrokenHeaderIsFoundWithoutReadingTheFileIntoMemory) {
    std::string head = MakeFileBytes(0, 0);
    PatchHeader(head, 0, 0);
    const std::string path = Sparse("big.kpf", head, uint64_t{1} << 30);
    AllocationProbe probe;
    EXPECT_EQ(profiles::ValidateProfileFile(path), 0);
    EXPECT_LT(probe.Largest(), 1u << 20);
}

TEST_F(LargeFileTest, LoadingAllocatesWhatTheFileNamesNotWhatItHolds) {
    const std::string path = Sparse("trail.kpf", MakeFileBytes(0, 0), uint64_t{1} << 30);
    AllocationProbe probe;
    EXPECT_EQ(profiles::ValidateProfileFile(path), 1);
    EXPECT_EQ(profiles::LoadImageFromFile(path), 1);
    EXPECT_LT(probe.Largest(), 1u << 20);
}

TEST_F(LargeFileTest, AnUntrustedStoreNamingMoreThanItHoldsIsNotAllocated) {
    std::string head = MakeFileBytes(0, 0);
    Put32(head, 16, 0xF0000000u);  // S: nearly 4 GiB, the file holds 32832 bytes
    const std::string path = Write("liar.kpf", head);
    AllocationProbe probe;
    EXPECT_EQ(profiles::LoadImageFromFile(path), 0);
    EXPECT_LT(probe.Largest(), 1u << 20);
}

// Files the user may only read, or not at all. Root opens any file, so under root each check
// runs in a child process that has given its rights up.
class ReadOnlyFileTest : public ValidateTest {
  protected:
    // Expects `check` to hold when run as an ordinary user.
    void ExpectAsUser(const std::function<bool()>& check) {
        if (::geteuid() != 0) {
            EXPECT_TRUE(check());
            return;
        }
        ASSERT_EQ(::chmod(scratch_.path().c_str(), 0755), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            constexpr uid_t kNobody = 65534;
            if (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0) {
                ::_exit(3);
            }
            ::_exit(check() ? 0 : 1);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 0);
    }
};

TEST_F(ReadOnlyFileTest, IsValidatedAndLoaded) {
    const std::string path = Write("ro.kpf", MakeFileBytes(1, 0));
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    ExpectAsUser([&] {
        // Still allowed to write, the check would prove nothing.
        return ::open(path.c_str(), O_RDWR) < 0 && profiles::ValidateProfileFile(path) == 1 &&
               profiles::LoadImageFromFile(path) == 1 &&
               keyboard::Images().LockImage()->macros.size() == 1;
    });
}

TEST_F(ReadOnlyFileTest, AFileThatCannotBeOpenedGivesMinusTwo) {
    const std::string path = Write("closed.kpf", MakeFileBytes(0, 0));
    ASSERT_EQ(::chmod(path.c_str(), 0), 0);
    ExpectAsUser([&] { return profiles::ValidateProfileFile(path) == -2; });
}

}  // namespace
}  // namespace qx::testing
