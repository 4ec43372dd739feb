// Reading the keyboard back into a profile file, and the commands built on the transfer:
// import and Apply.
#include "device/transfer/read_back.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "device/transfer/image_transfer_commands.h"
#include "device/transfer/key_action_layout.h"
#include "device/transfer/macro_table.h"
#include "keyboard/byte_order.h"
#include "tests/device_transfer/transfer_fixture.h"

namespace qx::testing {
namespace {

class ReadBackTest : public TransferTest {
  protected:
    std::string path_ = File("back.kpf");

    profiles::ProfileContents ReadFile() {
        profiles::ProfileContents contents;
        EXPECT_EQ(profiles::ReadProfileContents(path_, contents), profiles::ProfileCheck::Valid);
        return contents;
    }
};

TEST_F(ReadBackTest, AFactoryKeyboardGivesDefaultBlocksAndNoMacros) {
    ASSERT_EQ(device::ReadBackToFile(path_, Link()), 1);
    EXPECT_EQ(profiles::ValidateProfileFile(path_), 1);
    const std::string bytes = ReadBytes(path_);
    ASSERT_EQ(bytes.size(), 32832u);
    const auto expected = profiles::BuildDefaultImage(0);
    keyboard::FillDefaultBlock(expected->Block(1));
    keyboard::FillDefaultBlock(expected->Block(2));
    EXPECT_EQ(bytes, std::string(reinterpret_cast<const char*>(expected->Bytes().data()), 32832));
}

TEST_F(ReadBackTest, ADownloadedImageComesBackWithItsAssignmentsAndMacros) {
    std::vector<keyboard::MacroRecord> macros{MakeMacro(3, u"first", 6, 4),
                                              MakeMacro(8, u"second", 1)};
    {
        keyboard::ImageGuard guard = InstallDefaultImage();
        keyboard::FillDefaultBlock(guard->image->Block(1));
        keyboard::FillDefaultBlock(guard->image->Block(2));
        keyboard::ImageRecord& image = *guard->image;
        image.Entry(0, 0x1E).SetKind(keyboard::kKindKey);
        image.Entry(0, 0x1E).SetValue(0x171);
        image.Entry(1, 0x30).SetKind(keyboard::kKindMacro);
        image.Entry(1, 0x30).SetValue(8);  // position 1: id 2 after the read-back
        image.Entry(2, 0x10).SetKind(keyboard::kKindMultimedia);
        image.Entry(2, 0x10).SetValue(4);
        image.Entry(2, 0x11).SetKind(keyboard::kKindFunction);
        image.Entry(2, 0x11).SetValue(6);
        image.Entry(2, 0x12).SetKind(keyboard::kKindDisabled);
        guard->macros = macros;
    }
    ASSERT_EQ(Download(true), 1);
    ASSERT_EQ(device::ReadBackToFile(path_, Link()), 1);
    const profiles::ProfileContents back = ReadFile();

    keyboard::ImageGuard guard = keyboard::Images().LockImage();
    guard->image->Entry(1, 0x30).SetValue(2);
    for (int profile = 0; profile < 3; ++profile) {
        const auto want = guard->image->Block(profile);
        const auto got = back.image->Block(profile);
        EXPECT_TRUE(std::equal(want.begin(), want.end(), got.begin())) << profile;
    }
    ASSERT_EQ(back.macros.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(back.macros[i].Id(), i + 1);
        EXPECT_EQ(back.macros[i].Name(), macros[i].Name());
        EXPECT_EQ(back.macros[i].RepeatCount(), macros[i].RepeatCount());
        ASSERT_EQ(back.macros[i].ActionCount(), macros[i].ActionCount());
        for (int a = 0; a < macros[i].ActionCount(); ++a) {
            EXPECT_EQ(back.macros[i].Action(a), macros[i].Action(a));
        }
    }
}

TEST_F(ReadBackTest, MacrosStoredWithoutNamesComeBackWithThePrefix) {
    keyboard::ImageGuard guard = InstallDefaultImage();
    guard->macros = {MakeMacro(1, u"0123456789", 25)};
    ASSERT_EQ(device::SnapshotAndDownload(guard, true, Link(128)).result, 1);
    ASSERT_EQ(device::ReadBackToFile(path_, Link()), 1);
    const profiles::ProfileContents back = ReadFile();
    ASSERT_EQ(back.macros.size(), 1u);
    EXPECT_EQ(back.macros[0].Name(), u"Macro1");
}

TEST_F(ReadBackTest, ATableWithoutItsMagicHoldsNoMacros) {
    const uint8_t zeros[2] = {0, 0};
    kb_.Model().Write(sim::Area::kMacroTable, 0, zeros);
    ASSERT_EQ(device::ReadBackToFile(path_, Link()), 1);
    EXPECT_TRUE(ReadFile().macros.empty());
    // Only the 16-byte head of the table was read.
    const auto sent = CommandsSent();
    EXPECT_EQ(std::count(sent.begin(), sent.end(), 0x09), 1);
}

TEST_F(ReadBackTest, ATableSizeBeyondTheMacroCapacityIsReadUpToTheCapacity) {
    const std::vector<keyboard::MacroRecord> macros{MakeMacro(1, u"one", 3), MakeMacro(2, u"two")};
    std::vector<uint8_t> table(device::MacroTableSize(macros, true));
    ASSERT_TRUE(device::EncodeMacroTable(macros, table, true));
    table[device::kTableSizeOffset] = 0xFF;
    table[device::kTableSizeOffset + 1] = 0xFF;
    kb_.Model().Write(sim::Area::kMacroTable, 0, table);
    ASSERT_EQ(device::ReadBackToFile(path_, Link()), 1);
    const profiles::ProfileContents back = ReadFile();
    ASSERT_EQ(back.macros.size(), 2u);
    EXPECT_EQ(back.macros[1].Name(), u"two");
}

TEST_F(ReadBackTest, AFailingReadWritesNoFile) {
    WriteBytes(path_, "old");
    ASSERT_EQ(profile_.Get(), 0);
    kb_.Model().FailRequests(0xFF, sim::kUntilCleared);
    EXPECT_EQ(device::ReadBackToFile(path_, Link()), 0);
    kb_.Model().ClearMisbehaviour();
    EXPECT_EQ(ReadBytes(path_), "old");
}

TEST_F(ReadBackTest, AnUnknownCurrentProfileStopsBeforeAnyLayoutIsRead) {
    kb_.Model().FailRequests(0xFF, 3);
    EXPECT_EQ(device::ReadBackToFile(path_, Link()), 0);
    EXPECT_EQ(CommandsSent(), (std::vector<uint8_t>{0x03, 0x03, 0x03}));
    EXPECT_FALSE(std::filesystem::exists(path_));
}

// ---- Reloading the live image --------------------------------------------------------------

class ReloadTest : public ReadBackTest {
  protected:
    device::ReloadSource Reload() {
        const device::TransferLink link = Link();
        return device::ReloadImageFromKeyboard(store_, &link);
    }
    static std::size_t LiveMacroCount() { return keyboard::Images().LockImage()->macros.size(); }

    std::string store_ = profiles::GetStorePath(0);
};

TEST_F(ReloadTest, AFailedReadBackKeepsTheLastGoodStoreAndItsMacros) {
    {
        keyboard::ImageGuard guard = InstallDefaultImage();
        guard->macros = {MakeMacro(1, u"kept", 2)};
    }
    ASSERT_EQ(Download(true), 1);
    ASSERT_EQ(Reload(), device::ReloadSource::kKeyboard);
    ASSERT_EQ(LiveMacroCount(), 1u);
    const std::string good = ReadBytes(store_);

    keyboard::Images().Reset();
    kb_.Model().FailRequests(0xFF, sim::kUntilCleared);
    EXPECT_EQ(Reload(), device::ReloadSource::kLastGoodStore);
    kb_.Model().ClearMisbehaviour();
    EXPECT_EQ(LiveMacroCount(), 1u);
    EXPECT_EQ(ReadBytes(store_), good);
    // What the keyboard holds is not known now: Apply writes every profile's layout.
    kb_.ClearTrace();
    ASSERT_EQ(Download(false), 1);
    const auto sent = CommandsSent();
    EXPECT_EQ(std::count(sent.begin(), sent.end(), 0x08), 18);

    WriteBytes(store_, "not a profile");
    EXPECT_EQ(device::ReloadImageFromKeyboard(store_, nullptr),
              device::ReloadSource::kDefaultImage);
    EXPECT_EQ(LiveMacroCount(), 0u);
    EXPECT_EQ(keyboard::Images().LockImage()->image->Entry(0, 256).Parameter(), 0x301);
    EXPECT_TRUE(Messages().empty());  // the store is checked without telling the user
}

// ---- Import and Apply --------------------------------------------------------------------

class ImportTest : public TransferTest {};

TEST_F(ImportTest, ARefusedFileIsReportedAndNothingIsSent) {
    const std::string path = File("bad.kpf");
    WriteBytes(path, MakeFileBytes(0, 0, 2));
    bool ranLocked = false;
    const auto result = device::ImportProfileFile(path, Link(), [&] { ranLocked = true; });
    Show(result.notices);
    EXPECT_EQ(result.validation, 0);
    EXPECT_FALSE(result.Succeeded());
    EXPECT_FALSE(ranLocked);
    EXPECT_EQ(Messages(),
              (std::vector<std::string>{"Not a profile file: " + path, "Import failed"}));
    EXPECT_TRUE(CommandsSent().empty());
}

TEST_F(ImportTest, AValidFileIsLoadedSavedToTheStoreAndDownloadedForAllProfiles) {
    {
        keyboard::ImageGuard guard = InstallDefaultImage();
        guard->image->Entry(2, 0x1E).SetKind(keyboard::kKindDisabled);
        guard->macros = {MakeMacro(1, u"m", 3)};
    }
    const std::string path = File("good.kpf");
    ASSERT_TRUE(profiles::SaveImageToFile(path));
    keyboard::Images().Reset();
    WriteBytes(profiles::GetStorePath(0), "");  // the store exists

    bool ranLocked = false;
    const auto result = device::ImportProfileFile(path, Link(), [&] { ranLocked = true; });
    Show(result.notices);
    EXPECT_TRUE(result.Succeeded());
    EXPECT_EQ(result.storeSaved, 1);
    EXPECT_TRUE(ranLocked);
    EXPECT_EQ(ReadBytes(profiles::GetStorePath(0)), ReadBytes(path));
    const auto sent = CommandsSent();
    EXPECT_EQ(std::count(sent.begin(), sent.end(), 0x08), 18);
    EXPECT_EQ(Layout(2)[3 * 19], 0);  // A disabled in profile 2
    EXPECT_TRUE(Messages().empty());
}

TEST_F(ImportTest, ApplySavesTheStoreWhenThereIsOneAndWritesTheCurrentProfile) {
    {
        keyboard::ImageGuard guard = InstallDefaultImage();
        guard->image->Entry(1, 0x1E).SetKind(keyboard::kKindDisabled);
    }
    SetActiveProfile(1);
    EXPECT_EQ(device::ApplyToKeyboard(Link()).result, 1);
    EXPECT_FALSE(std::filesystem::exists(profiles::GetStorePath(0)));
    const auto sent = CommandsSent();
    EXPECT_EQ(std::count(sent.begin(), sent.end(), 0x08), 6);
    EXPECT_EQ(Layout(1)[3 * 19], 0);
}

}  // namespace
}  // namespace qx::testing
