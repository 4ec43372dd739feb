// Downloads against the emulated keyboard: what crosses the link, in which order, what the
// keyboard stores, and the size limits of the macro table.
#include <gtest/gtest.h>

#include "device/transfer/key_action_layout.h"
#include "device/transfer/macro_table.h"
#include "tests/device_transfer/transfer_fixture.h"

namespace qx::testing {
namespace {

constexpr std::size_t kPositionOfA = 19;  // 02 02 04 in the default layout
constexpr int kEntryOfA = 0x1E;
constexpr uint8_t kBegin = 0x01, kEnd = 0x02, kReadState = 0x03, kLayoutWrite = 0x08,
                  kTableWrite = 0x0A;

std::vector<uint8_t> Repeat(uint8_t command, int times) {
    return std::vector<uint8_t>(static_cast<std::size_t>(times), command);
}

std::vector<uint8_t> Concat(std::initializer_list<std::vector<uint8_t>> parts) {
    std::vector<uint8_t> all;
    for (const auto& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

std::vector<uint8_t> DefaultLayoutWith(std::size_t position, device::KeyAction action) {
    device::KeyLayout layout = device::kBuiltInDefaultLayout;
    device::SetActionAt(layout, position, action);
    return {layout.begin(), layout.end()};
}

const std::vector<uint8_t> kDefaultLayout(device::kBuiltInDefaultLayout.begin(),
                                          device::kBuiltInDefaultLayout.end());

class DownloadTest : public TransferTest {
  protected:
    // A on B in `profile`; `macros` in the macro area.
    void Prepare(int profile, std::vector<keyboard::MacroRecord> macros = {}) {
        keyboard::ImageGuard guard = InstallDefaultImage();
        guard->image->Entry(profile, kEntryOfA).SetKind(keyboard::kKindKey);
        guard->image->Entry(profile, kEntryOfA).SetValue(0x030);
        guard->macros = std::move(macros);
    }
    std::vector<uint8_t> MacroTableOnKeyboard(std::size_t size) const {
        return Memory(sim::Area::kMacroTable, 0, size);
    }
    static std::vector<uint8_t> Table(const std::vector<keyboard::MacroRecord>& macros,
                                      bool names) {
        std::vector<uint8_t> table(device::MacroTableSize(macros, names));
        device::EncodeMacroTable(macros, table, names);
        return table;
    }
};

TEST_F(DownloadTest, AllProfilesGoInOneTransactionInAscendingOrder) {
    const std::vector<keyboard::MacroRecord> macros{MakeMacro(1, u"one", 20)};
    Prepare(1, macros);
    ASSERT_EQ(Download(true), 1);
    const std::size_t tableSize = device::MacroTableSize(macros, true);  // 16+2+4+80+6 = 108
    EXPECT_EQ(CommandsSent(),
              Concat({{kBegin}, Repeat(kTableWrite, 2), Repeat(kLayoutWrite, 18), {kEnd}}));
    // Layout packets: profile 0, 1, 2 at addresses p × 324 + 56 × chunk.
    const auto packets = kb_.CommandsSent();
    for (std::size_t i = 0; i < 18; ++i) {
        const auto& packet = packets[3 + i];
        const uint16_t address = static_cast<uint16_t>(packet[5] | (packet[6] << 8));
        EXPECT_EQ(address, 324 * (i / 6) + 56 * (i % 6)) << i;
    }
    EXPECT_EQ(Layout(0), kDefaultLayout);
    EXPECT_EQ(Layout(1), DefaultLayoutWith(kPositionOfA, {2, 2, 0x05}));
    EXPECT_EQ(Layout(2), kDefaultLayout);
    EXPECT_EQ(MacroTableOnKeyboard(tableSize), Table(macros, true));
    EXPECT_TRUE(Messages().empty());
}

TEST_F(DownloadTest, ApplyWritesTheCurrentProfileOnly) {
    Prepare(2);
    SetActiveProfile(2);
    ASSERT_EQ(Download(false), 1);
    EXPECT_EQ(CommandsSent(),
              Concat({{kReadState, kBegin, kTableWrite}, Repeat(kLayoutWrite, 6), {kEnd}}));
    EXPECT_EQ(kb_.CommandsSent()[3][5] | (kb_.CommandsSent()[3][6] << 8), 648);
    EXPECT_EQ(Layout(2), DefaultLayoutWith(kPositionOfA, {2, 2, 0x05}));
    EXPECT_EQ(MacroTableOnKeyboard(16), Table({}, true));
}

TEST_F(DownloadTest, AChosenProfileIsWrittenInsteadOfTheCurrentOneWithoutAskingForIt) {
    Prepare(1);
    SetActiveProfile(2);
    {
        const keyboard::ImageGuard guard = keyboard::Images().LockImage();
        ASSERT_EQ(device::SnapshotAndDownloadProfile(guard, 1, Link()).result, 1);
    }
    EXPECT_EQ(CommandsSent(), Concat({{kBegin, kTableWrite}, Repeat(kLayoutWrite, 6), {kEnd}}));
    EXPECT_EQ(Layout(1), DefaultLayoutWith(kPositionOfA, {2, 2, 0x05}));
    EXPECT_EQ(Layout(2), kDefaultLayout);
}

TEST_F(DownloadTest, AnUnknownCurrentProfileHasItsLayoutWriteRefused) {
    Prepare(0);
    kb_.Model().FailRequests(0xFF, 3);  // the state block cannot be read
    EXPECT_EQ(Download(false), 0);
    EXPECT_EQ(CommandsSent(), Concat({Repeat(kReadState, 3), {kBegin, kTableWrite, kEnd}}));
    EXPECT_EQ(Layout(0), kDefaultLayout);
}

TEST_F(DownloadTest, TheRewriteAllFlagWidensOneDownloadToAllProfiles) {
    Prepare(1);
    SetActiveProfile(0);
    device::SetRewriteAll();
    ASSERT_EQ(Download(false), 1);
    EXPECT_FALSE(device::IsRewriteAllSet());
    EXPECT_EQ(CommandsSent(), Concat({{kBegin, kTableWrite}, Repeat(kLayoutWrite, 18), {kEnd}}));
    EXPECT_EQ(Layout(1), DefaultLayoutWith(kPositionOfA, {2, 2, 0x05}));
}

TEST_F(DownloadTest, MacroNamesAreLeftOutWhenOnlyTheyDoNotFit) {
    const std::vector<keyboard::MacroRecord> macros{MakeMacro(1, u"0123456789", 25)};
    Prepare(0, macros);
    ASSERT_EQ(Download(true, 128), 1);
    EXPECT_EQ(MacroTableOnKeyboard(122), Table(macros, false));
    const auto questions = prompt_.Questions();
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_EQ(questions[0].text, "Names left out");
    EXPECT_TRUE(questions[0].topmost);
}

TEST_F(DownloadTest, AMacroListTooLongEvenWithoutNamesWritesNothing) {
    Prepare(0, {MakeMacro(1, u"0123456789", 27)});
    device::SetRewriteAll();
    EXPECT_EQ(Download(true, 128), 0);
    EXPECT_TRUE(CommandsSent().empty());
    const auto questions = prompt_.Questions();
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_EQ(questions[0].text, "Macros too long");
    EXPECT_TRUE(questions[0].topmost);
    EXPECT_TRUE(device::IsRewriteAllSet());  // no download passed the size check
    ASSERT_EQ(Download(true, 4096), 1);
    EXPECT_FALSE(device::IsRewriteAllSet());
}

TEST_F(DownloadTest, WithoutMacroCapacityNothingIsWritten) {
    Prepare(0);
    EXPECT_EQ(Download(true, 0), 0);
    EXPECT_TRUE(CommandsSent().empty());
    EXPECT_EQ(Messages(), std::vector<std::string>{"Macros too long"});
}

TEST_F(DownloadTest, OnlyTheLastLayoutWriteDecidesTheResult) {
    Prepare(0);
    // Begin, the macro table and the first piece of profile 0 are refused (three attempts
    // each); profiles 1 and 2 and the end go through.
    kb_.Model().FailRequests(0xFF, 9);
    EXPECT_EQ(Download(true), 1);
    EXPECT_EQ(Layout(0), kDefaultLayout);

    kb_.Model().FailRequests(0xFF, sim::kUntilCleared);
    EXPECT_EQ(Download(true), 0);
    kb_.Model().ClearMisbehaviour();
}

TEST_F(DownloadTest, AMacroKeyPlaysTheMacroAtItsListPosition) {
    Prepare(0, {MakeMacro(5, u"a"), MakeMacro(7, u"b"), MakeMacro(9, u"c")});
    {
        const keyboard::ImageGuard guard = keyboard::Images().LockImage();
        guard->image->Entry(0, kEntryOfA).SetKind(keyboard::kKindMacro);
        guard->image->Entry(0, kEntryOfA).SetValue(9);
    }
    ASSERT_EQ(Download(true), 1);
    EXPECT_EQ(Layout(0), DefaultLayoutWith(kPositionOfA, {5, 1, 2}));
}

TEST_F(DownloadTest, TheSnapshotHoldsTheRefreshedHeaderTheMacrosAndThePackedTexts) {
    Prepare(0, {MakeMacro(1, u"m", 2)});
    {
        const keyboard::ImageGuard guard = keyboard::Images().LockImage();
        guard->image->Entry(0, 3).SetKind(keyboard::kKindText);
        guard->texts.Set(3, u"xy");
        guard->image->Entry(0, 2).SetKind(keyboard::kKindLaunch);
        guard->texts.Set(2, u"abc");
        guard->image->Header()[0] = 0;  // stale header bytes are refreshed in the copy
    }
    ASSERT_EQ(Download(true), 1);
    const keyboard::ImageGuard guard = keyboard::Images().LockImage();
    const keyboard::SnapshotGuard snapshot = keyboard::Images().LockSnapshot(guard);
    std::array<uint8_t, 32> header{};
    profiles::FillProfileHeader(header, 1, 14, 0);
    EXPECT_TRUE(std::equal(header.begin(), header.end(), snapshot->image->Header().begin()));
    EXPECT_EQ(snapshot->macros.size(), 1u);
    EXPECT_EQ(snapshot->textArea,
              (std::vector<uint8_t>{'a', 0, 'b', 0, 'c', 0, 0, 0, 'x', 0, 'y', 0, 0, 0}));
    EXPECT_EQ(guard->image->Entry(0, 3).Value(), 8u);
}

}  // namespace
}  // namespace qx::testing
