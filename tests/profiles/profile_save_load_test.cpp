// Saving the live image and loading it back: round trips, the profile store, and what a failed
// save or load leaves behind.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <filesystem>

#include "tests/profiles/profile_builders.h"
#include "tests/profiles/profile_fixture.h"

namespace qx::testing {
namespace {

class SaveLoadTest : public ProfileTest {
  protected:
    // A live image with something in every part: assignments in blocks 0..3, two macros, two
    // texts.
    void FillLiveImage() {
        keyboard::ImageGuard guard = InstallDefaultImage();
        keyboard::ImageRecord& image = *guard->image;
        image.Entry(0, 0x1E).SetKind(keyboard::kKindKey);
        image.Entry(0, 0x1E).SetValue(0x30);
        image.Entry(1, 0x10).SetKind(keyboard::kKindMacro);
        image.Entry(1, 0x10).SetParameter(3);
        image.Entry(1, 0x10).SetValue(2);
        image.Entry(2, 0x3B).SetColourSwitch(1);
        image.Entry(3, 400).SetKind(keyboard::kKindDisabled);
        image.Entry(0, 40).SetKind(keyboard::kKindLaunch);
        guard->texts.Set(40, u"/usr/bin/calc");
        image.Entry(2, 41).SetKind(keyboard::kKindText);
        guard->texts.Set(2 * 512 + 41, u"Grüße ✓");
        guard->macros.push_back(MakeMacro(1, u"one", 4, 2));
        guard->macros.push_back(MakeMacro(2, u"two", 2000, 255));
    }

    struct Live {
        std::vector<uint8_t> image;
        std::vector<std::vector<uint8_t>> macros;
        std::vector<std::pair<int, std::u16string>> texts;
        uint32_t total;
        friend bool operator==(const Live&, const Live&) = default;
    };
    static Live TakeLive() {
        const keyboard::ImageGuard guard = keyboard::Images().LockImage();
        Live live;
        if (guard->image) {
            live.image.assign(guard->image->Bytes().begin(), guard->image->Bytes().end());
        }
        for (const auto& macro : guard->macros) {
            live.macros.emplace_back(macro.Bytes().begin(), macro.Bytes().end());
        }
        for (int e = 0; e < keyboard::kKeyEntryCount; ++e) {
            if (guard->texts.HasText(e)) {
                live.texts.emplace_back(e, guard->texts.Text(e));
            }
        }
        live.total = guard->texts.Total();
        return live;
    }
};

TEST_F(SaveLoadTest, ALoadedFileIsTheSavedImageMacrosAndTexts) {
    FillLiveImage();
    const std::string path = File("all.kpf");
    ASSERT_TRUE(profiles::SaveImageToFile(path));
    const Live saved = TakeLive();
    keyboard::Images().Reset();
    ASSERT_EQ(profiles::ValidateProfileFile(path), 1);
    ASSERT_EQ(profiles::LoadImageFromFile(path), 1);
    EXPECT_EQ(TakeLive(), saved);
    // Saved again, the loaded image gives the very same file.
    ASSERT_TRUE(profiles::SaveImageToFile(File("again.kpf")));
    EXPECT_EQ(ReadBytes(File("again.kpf")), ReadBytes(path));
}

TEST_F(SaveLoadTest, AFailedLoadLeavesTheLiveImageAsItWas) {
    FillLiveImage();
    const Live before = TakeLive();
    std::string bytes = MakeFileBytes(3, 0);
    bytes.resize(bytes.size() - 1);  // the last macro record is one byte short
    WriteBytes(File("short.kpf"), bytes);
    EXPECT_EQ(profiles::LoadImageFromFile(File("short.kpf")), 0);
    EXPECT_EQ(profiles::LoadImageFromFile(File("missing.kpf")), 0);
    EXPECT_EQ(TakeLive(), before);
}

TEST_F(SaveLoadTest, AFailedSaveLeavesTheOldFileAndNoTemporaryFile) {
    const std::string path = File("keep.kpf");
    ASSERT_EQ(profiles::WriteDefaultProfileFile(path, 0, false), 1);
    const std::string old = ReadBytes(path);
    FillLiveImage();

    // Let the file system refuse everything past 40000 bytes of a file, as a full disk would.
    struct rlimit saved {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previous = ::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 40000;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool saved_ok = profiles::SaveImageToFile(path);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    ::signal(SIGXFSZ, previous);

    EXPECT_FALSE(saved_ok);
    EXPECT_EQ(ReadBytes(path), old);
    int files = 0;
    for ([[maybe_unused]] const auto& entry :
         std::filesystem::directory_iterator(scratch_.path())) {
        ++files;
    }
    EXPECT_EQ(files, 1);
}

TEST_F(SaveLoadTest, ProfileFilesTakeTheUmaskAndKeepTheModeTheyHad) {
    const ScopedUmask mask(077);  // the files hold program paths and typed texts
    const std::string created = File("new.kpf");
    ASSERT_EQ(profiles::WriteDefaultProfileFile(created, 0, false), 1);
    EXPECT_EQ(PermissionsOf(created), 0600u);

    FillLiveImage();
    const std::string shared = File("shared.kpf");
    ASSERT_TRUE(profiles::SaveImageToFile(shared));
    EXPECT_EQ(PermissionsOf(shared), 0600u);
    ASSERT_EQ(::chmod(shared.c_str(), 0644), 0);
    ASSERT_TRUE(profiles::SaveImageToFile(shared));
    EXPECT_EQ(PermissionsOf(shared), 0644u);
}

TEST_F(SaveLoadTest, SavingWithoutALiveImageWritesNothing) {
    EXPECT_FALSE(profiles::SaveImageToFile(File("none.kpf")));
    EXPECT_FALSE(std::filesystem::exists(File("none.kpf")));
}

TEST_F(SaveLoadTest, TheStoreIsOneFileForEveryProfileInTheDataFolder) {
    const std::string store = profiles::GetStorePath(0);
    EXPECT_EQ(store, data_.path() + "Varkon QX480 Driver/$Profile0");
    EXPECT_EQ(profiles::GetStorePath(1), store);
    EXPECT_EQ(profiles::GetStorePath(2), store);
    EXPECT_TRUE(std::filesystem::is_directory(data_.path() + "Varkon QX480 Driver"));
}

TEST_F(SaveLoadTest, SavingToAMissingStoreWritesNothingAndReportsZero) {
    FillLiveImage();
    EXPECT_EQ(profiles::SaveImageToStore(), 0);
    EXPECT_FALSE(std::filesystem::exists(profiles::GetStorePath(0)));
}

TEST_F(SaveLoadTest, SavingToAnExistingStoreReplacesIt) {
    FillLiveImage();
    const std::string store = profiles::GetStorePath(0);
    WriteBytes(store, "old");
    EXPECT_EQ(profiles::SaveImageToStore(), 1);
    ASSERT_TRUE(profiles::SaveImageToFile(File("copy.kpf")));
    EXPECT_EQ(ReadBytes(store), ReadBytes(File("copy.kpf")));
}

// ---- The macro area lookups ----------------------------------------------------------------

class MacroAreaTest : public ProfileTest {};

TEST_F(MacroAreaTest, FindsIdsByPositionAndPositionsById) {
    {
        keyboard::ImageGuard guard = InstallDefaultImage();
        guard->macros.push_back(MakeMacro(4, u"a"));
        guard->macros.push_back(MakeMacro(9, u"b"));
        guard->macros.push_back(MakeMacro(9, u"c"));
    }
    EXPECT_EQ(profiles::MacroIdAt(0), 4);
    EXPECT_EQ(profiles::MacroIdAt(2), 9);
    EXPECT_EQ(profiles::MacroIdAt(3), 0);
    EXPECT_EQ(profiles::MacroIdAt(-1), 0);
    EXPECT_EQ(profiles::MacroIndexOfId(9), 1);
    EXPECT_EQ(profiles::MacroIndexOfId(5), 0);
    profiles::ClearMacroArea();
    EXPECT_EQ(profiles::MacroIdAt(0), 0);
    EXPECT_EQ(keyboard::Images().LockImage()->MacroCount(), 0);
}

}  // namespace
}  // namespace qx::testing
