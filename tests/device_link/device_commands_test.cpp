// Every command operation against the emulated keyboard, checked byte for byte on the link's
// trace: the packets each operation sends, the data it copies out and the result it maps.
#include "device/link/device_commands.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <functional>
#include <numeric>
#include <ostream>
#include <string>
#include <vector>

#include "device/link/result_codes.h"
#include "tests/support/emulated_keyboard.h"

namespace qx::device {
namespace {

using test_support::EmulatedKeyboard;
using test_support::HexBytes;

// Bytes 3..7 of a packet as the trace writes them.
std::string Head(const Packet& packet) {
    return HexBytes({packet.begin() + kCommandOffset, packet.begin() + kDataOffset});
}

uint16_t AddressOf(const Packet& packet) {
    return static_cast<uint16_t>(packet[kAddressOffset] | packet[kAddressOffset + 1] << 8);
}

std::vector<uint8_t> Pattern(std::size_t size, uint8_t seed) {
    std::vector<uint8_t> bytes(size);
    for (std::size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<uint8_t>(seed + 7 * i);
    }
    return bytes;
}

class DeviceCommandsTest : public ::testing::Test {
  protected:
    DeviceCommands& Commands() { return keyboard_.Commands(); }
    std::vector<Packet> Sent() { return keyboard_.CommandsSent(); }

    // Every sent packet is a well-formed request: report id 4, status 0, checksum right.
    void ExpectWellFormed(const std::vector<Packet>& packets) {
        for (const Packet& p : packets) {
            EXPECT_EQ(p[kReportIdOffset], kCommandReportId);
            EXPECT_EQ(p[kStatusOffset], 0);
            EXPECT_EQ(p[kChecksumOffset] | p[kChecksumOffset + 1] << 8, PacketChecksum(p));
        }
    }

    EmulatedKeyboard keyboard_;
};

// ---- Commands with a fixed command word --------------------------------------------------------

struct PlainCase {
    const char* name;
    std::function<int(DeviceCommands&)> run;
    const char* head;  // bytes 3..7
};

void PrintTo(const PlainCase& c, std::ostream* os) {
    *os << c.name;
}

class PlainCommands : public DeviceCommandsTest, public ::testing::WithParamInterface<PlainCase> {};

TEST_P(PlainCommands, SendTheirCommandWordAndNothingElse) {
    EXPECT_EQ(GetParam().run(Commands()), kOk);
    const auto sent = Sent();
    ASSERT_EQ(sent.size(), 1U);
    ExpectWellFormed(sent);
    EXPECT_EQ(Head(sent[0]), GetParam().head);
    for (std::size_t i = kDataOffset; i < kPacketSize; ++i) {
        EXPECT_EQ(sent[0][i], 0) << "byte " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Words, PlainCommands,
    ::testing::Values(
        PlainCase{"BeginWrite", [](DeviceCommands& c) { return c.BeginWrite(); }, "01 00 00 00 00"},
        PlainCase{"EndWrite", [](DeviceCommands& c) { return c.EndWrite(); }, "02 00 00 00 00"},
        PlainCase{"ReadStateBlock",
                  [](DeviceCommands& c) {
                      std::array<uint8_t, kStateBlockSize> block{};
                      return c.ReadStateBlock(block);
                  },
                  "03 30 00 00 00"},
        PlainCase{"SendTestCommand", [](DeviceCommands& c) { return c.SendTestCommand(); },
                  "0d 00 00 00 00"}),
    [](const ::testing::TestParamInfo<PlainCase>& p) { return std::string(p.param.name); });

TEST_F(DeviceCommandsTest, StateBlockReadCopiesReplyBytes8To55) {
    auto memory = keyboard_.Model().Memory();
    const auto pattern = Pattern(kStateBlockSize, 0x40);
    std::copy(pattern.begin(), pattern.end(), memory.stateBlock.begin());
    memory.stateBlock[10] = 1;  // a profile the keyboard accepts
    keyboard_.Model().SetMemory(memory);

    std::array<uint8_t, kStateBlockSize> block{};
    ASSERT_EQ(Commands().ReadStateBlock(block), kOk);
    EXPECT_TRUE(std::equal(block.begin(), block.end(), memory.stateBlock.begin()));
}

TEST_F(DeviceCommandsTest, StateBlockWriteCarriesAll48BytesAt8) {
    std::array<uint8_t, kStateBlockSize> block{};
    ASSERT_EQ(Commands().ReadStateBlock(block), kOk);
    block[10] = 2;
    block[47] = 0x99;
    ASSERT_EQ(Commands().WriteStateBlock(block), kOk);
    const Packet sent = Sent().back();
    EXPECT_EQ(Head(sent), "04 30 00 00 00");
    EXPECT_TRUE(std::equal(block.begin(), block.end(), sent.begin() + kDataOffset));
    EXPECT_EQ(keyboard_.Model().Memory().stateBlock, block);
}

TEST_F(DeviceCommandsTest, EndWritePausesBeforeSending) {
    const Timing slowEnd{.endWritePause = std::chrono::milliseconds(30)};
    PacketExchange exchange(keyboard_.Api(), slowEnd);
    keyboard_.RouteAnswersTo(&exchange);
    DeviceCommands commands(exchange);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(commands.EndWrite(), kOk);
    EXPECT_GE(std::chrono::steady_clock::now() - start, slowEnd.endWritePause);
    keyboard_.RouteAnswersTo(&keyboard_.Exchange());
}

// ---- Memory and paged memory --------------------------------------------------------------------

TEST_F(DeviceCommandsTest, MemoryReadAsksForLengthAtAddressAndCopies56Bytes) {
    const auto lighting = Pattern(126, 3);
    keyboard_.Model().Write(sim::Area::kLighting, 0, lighting);
    std::array<uint8_t, kDataCapacity> out{};
    out.fill(0xEE);
    ASSERT_EQ(Commands().ReadMemory(out, 42, 0x0054), kOk);
    EXPECT_EQ(Head(Sent().back()), "05 2a 54 00 00");
    // The keyboard answers 42 bytes; the operation copies the whole 56-byte data part.
    EXPECT_TRUE(std::equal(out.begin(), out.begin() + 42, lighting.begin() + 0x54));
    EXPECT_EQ(out[55], 0);
}

TEST_F(DeviceCommandsTest, MemoryWriteSendsLengthBytesAtTheAddress) {
    const auto bytes = Pattern(42, 9);
    ASSERT_EQ(Commands().WriteMemory(bytes, 42, 0x002A), kOk);
    const Packet sent = Sent().back();
    ExpectWellFormed({sent});
    EXPECT_EQ(Head(sent), "06 2a 2a 00 00");
    EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), sent.begin() + kDataOffset));
    EXPECT_EQ(sent[kDataOffset + 42], 0);
    EXPECT_EQ(keyboard_.Model().Read(sim::Area::kLighting, 42, 42), bytes);
}

TEST_F(DeviceCommandsTest, MemoryWriteWithoutLengthSendsNoData) {
    const auto bytes = Pattern(8, 1);
    Commands().WriteMemory(bytes, 0, 0x0010);
    Commands().WriteMemory(bytes, -5, 0x0010);
    for (const Packet& sent : Sent()) {
        EXPECT_EQ(Head(sent), "06 00 10 00 00");
        EXPECT_TRUE(
            std::all_of(sent.begin() + kDataOffset, sent.end(), [](uint8_t b) { return b == 0; }));
    }
}

TEST_F(DeviceCommandsTest, MemoryWriteNeverReadsPastTheCallersBytes) {
    const std::vector<uint8_t> bytes{1, 2, 3};
    Commands().WriteMemory(bytes, 56, 0);
    const Packet sent = Sent().back();
    EXPECT_EQ(sent[kLengthOffset], 56);
    EXPECT_EQ(HexBytes({sent.begin() + kDataOffset, sent.begin() + kDataOffset + 4}),
              "01 02 03 00");
}

TEST_F(DeviceCommandsTest, PagedReadAddressesPageTimes256PlusLow) {
    const auto keyLight = Pattern(768, 5);
    keyboard_.Model().Write(sim::Area::kKeyLight, 0, keyLight);
    std::array<uint8_t, kDataCapacity> out{};
    ASSERT_EQ(Commands().ReadPagedMemory(out, 36, 0x12, 2), kOk);
    EXPECT_EQ(Head(Sent().back()), "10 24 12 02 00");
    EXPECT_TRUE(std::equal(out.begin(), out.begin() + 36, keyLight.begin() + 0x212));
}

TEST_F(DeviceCommandsTest, PagedWriteGoesToTheLightingProfilesPage) {
    const auto bytes = Pattern(18, 0x21);
    ASSERT_EQ(Commands().WritePagedMemory(bytes, 18, 0x24, 1), kOk);
    const Packet sent = Sent().back();
    EXPECT_EQ(Head(sent), "11 12 24 01 00");
    EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), sent.begin() + kDataOffset));
    EXPECT_EQ(keyboard_.Model().Read(sim::Area::kKeyLight, 0x124, 18), bytes);
}

// ---- Chunked transfers --------------------------------------------------------------------------

TEST_F(DeviceCommandsTest, LayoutWriteIsFivePiecesOf56AndOneOf44AtProfileAddresses) {
    const auto layout = Pattern(kKeyLayoutSize, 0x33);
    ASSERT_EQ(Commands().WriteProfileLayout(std::span<const uint8_t, kKeyLayoutSize>(layout), 2),
              kOk);
    const auto sent = Sent();
    ASSERT_EQ(sent.size(), 6U);
    ExpectWellFormed(sent);
    for (std::size_t k = 0; k < 6; ++k) {
        const std::size_t length = k < 5 ? 56 : 44;
        EXPECT_EQ(sent[k][kCommandOffset], 0x08);
        EXPECT_EQ(sent[k][kLengthOffset], length);
        EXPECT_EQ(AddressOf(sent[k]), 2U * 324U + 56U * k);
        EXPECT_TRUE(std::equal(layout.begin() + 56 * k, layout.begin() + 56 * k + length,
                               sent[k].begin() + kDataOffset));
    }
    EXPECT_EQ(keyboard_.Model().Read(sim::Area::kProfileLayouts, 648, 324), layout);
}

TEST_F(DeviceCommandsTest, LayoutReadReassemblesTheProfilesLayout) {
    const auto layout = Pattern(kKeyLayoutSize, 0x51);
    keyboard_.Model().Write(sim::Area::kProfileLayouts, 324, layout);
    std::array<uint8_t, kKeyLayoutSize> out{};
    ASSERT_EQ(Commands().ReadProfileLayout(out, 1), kOk);
    EXPECT_TRUE(std::equal(out.begin(), out.end(), layout.begin()));
    const auto sent = Sent();
    ASSERT_EQ(sent.size(), 6U);
    EXPECT_EQ(Head(sent[0]), "07 38 44 01 00");  // 324 = 0x0144
    EXPECT_EQ(Head(sent[5]), "07 2c 5c 02 00");  // 324 + 280 = 0x025C, 44 bytes
}

TEST_F(DeviceCommandsTest, DefaultLayoutIsAddressedByItsOwnOffsets) {
    std::array<uint8_t, kKeyLayoutSize> out{};
    ASSERT_EQ(Commands().ReadDefaultLayout(out), kOk);
    const auto sent = Sent();
    ASSERT_EQ(sent.size(), 6U);
    for (std::size_t k = 0; k < 6; ++k) {
        EXPECT_EQ(sent[k][kCommandOffset], 0x0F);
        EXPECT_EQ(AddressOf(sent[k]), 56 * k);
    }
    const auto factory = keyboard_.Model().Memory().defaultLayout;
    EXPECT_EQ(out, factory);
}

TEST_F(DeviceCommandsTest, ProfileOutsideZeroToTwoIsRefusedWithNothingSent) {
    std::array<uint8_t, kKeyLayoutSize> layout{};
    EXPECT_EQ(Commands().ReadProfileLayout(layout, 3), kBadProfile);
    EXPECT_EQ(Commands().WriteProfileLayout(layout, 3), kBadProfile);
    EXPECT_EQ(Commands().WriteProfileLayout(layout, -1), kBadProfile);  // "unknown"
    EXPECT_TRUE(Sent().empty());
}

TEST_F(DeviceCommandsTest, EmptyMacroTableSucceedsWithNothingSent) {
    EXPECT_EQ(Commands().WriteMacroTable({}), kOk);
    EXPECT_EQ(Commands().ReadMacroTable({}), kOk);
    EXPECT_TRUE(Sent().empty());
}

TEST_F(DeviceCommandsTest, MacroTableOf57BytesIsPiecesOf56And1AtOffsets0And56) {
    const auto table = Pattern(57, 0x0B);
    ASSERT_EQ(Commands().WriteMacroTable(table), kOk);
    const auto sent = Sent();
    ASSERT_EQ(sent.size(), 2U);
    EXPECT_EQ(Head(sent[0]), "0a 38 00 00 00");
    EXPECT_EQ(Head(sent[1]), "0a 01 38 00 00");
    EXPECT_EQ(sent[1][kDataOffset], table[56]);
    EXPECT_EQ(sent[1][kDataOffset + 1], 0);
    EXPECT_EQ(keyboard_.Model().Read(sim::Area::kMacroTable, 0, 57), table);

    std::vector<uint8_t> back(57);
    ASSERT_EQ(Commands().ReadMacroTable(back), kOk);
    EXPECT_EQ(back, table);
}

TEST_F(DeviceCommandsTest, FailingPieceEndsTheTransferAndEarlierPiecesStay) {
    // The keyboard's macro area ends at state-block byte 11 × 128; a table running past it is
    // refused at the piece that crosses the end.
    const std::size_t area = keyboard_.Model().Memory().MacroAreaSize();
    const auto table = Pattern(area + 100, 0x6D);
    EXPECT_EQ(Commands().WriteMacroTable(table), kRejectedFF);
    const auto sent = Sent();
    const std::size_t goodPieces = area / 56;
    // The good pieces once each, then the crossing piece three times, then nothing more.
    ASSERT_EQ(sent.size(), goodPieces + 3);
    EXPECT_EQ(AddressOf(sent.back()), 56 * goodPieces);
    EXPECT_EQ(sent[goodPieces], sent[goodPieces + 2]);
    EXPECT_EQ(keyboard_.Model().Read(sim::Area::kMacroTable, 0, 56 * goodPieces),
              std::vector<uint8_t>(table.begin(), table.begin() + 56 * goodPieces));
}

// ---- Result mapping -----------------------------------------------------------------------------

TEST_F(DeviceCommandsTest, StatusFFTwiceThenAcceptedGivesSuccess) {
    keyboard_.Model().FailRequests(0xFF, 2);
    std::array<uint8_t, kStateBlockSize> block{};
    EXPECT_EQ(Commands().ReadStateBlock(block), kOk);
    EXPECT_EQ(block, keyboard_.Model().Memory().stateBlock);
    const auto sent = Sent();
    ASSERT_EQ(sent.size(), 3U);
    EXPECT_EQ(sent[0], sent[2]) << "each attempt re-sends the identical packet";
}

TEST_F(DeviceCommandsTest, StatusFFThreeTimesGivesMinus102AndCopiesNothing) {
    keyboard_.Model().FailRequests(0xFF, 3);
    std::array<uint8_t, kStateBlockSize> block{};
    block.fill(0xAB);
    EXPECT_EQ(Commands().ReadStateBlock(block), kRejectedFF);
    EXPECT_EQ(block[0], 0xAB);
    EXPECT_EQ(Sent().size(), 3U);
}

TEST_F(DeviceCommandsTest, StatusFEThreeTimesGivesMinus103) {
    keyboard_.Model().FailRequests(0xFE, sim::kUntilCleared);
    EXPECT_EQ(Commands().BeginWrite(), kRejectedFE);
    EXPECT_EQ(Sent().size(), 3U);
}

// ---- Update mode --------------------------------------------------------------------------------

TEST_F(DeviceCommandsTest, UpdateModeIsSentWithChecksumZeroAndNothingWaits) {
    // With attempts of a minute, any wait for the (never coming) answer would show.
    const Timing patient{.attemptTimeout = std::chrono::minutes(1)};
    PacketExchange exchange(keyboard_.Api(), patient);
    DeviceCommands commands(exchange);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_GT(commands.EnterUpdateMode(), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - start, patient.attemptTimeout);
    const auto sent = Sent();
    ASSERT_EQ(sent.size(), 1U);
    Packet expected{};
    expected[0] = 4;
    expected[3] = 0xEE;
    expected[4] = 0xEE;
    EXPECT_EQ(HexBytes({sent[0].begin(), sent[0].end()}),
              HexBytes({expected.begin(), expected.end()}));
}

}  // namespace
}  // namespace qx::device
