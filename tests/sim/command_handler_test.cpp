#include "sim/command_handler.h"

#include <gtest/gtest.h>

#include <vector>

#include "sim/keyboard_memory.h"
#include "sim_test_support.h"

namespace qx::sim {
namespace {

using testing::Request;

struct Answered {
    Packet answer{};
    CommandOutcome outcome;
};

Answered Handle(KeyboardMemory& memory, const Packet& request) {
    Answered a;
    a.outcome = HandleCommand(memory, request);
    EXPECT_TRUE(a.outcome.answer.has_value());
    if (a.outcome.answer) {
        a.answer = *a.outcome.answer;
    }
    return a;
}

std::vector<uint8_t> DataOf(const Packet& answer, size_t n) {
    return {answer.begin() + kOffData, answer.begin() + kOffData + static_cast<ptrdiff_t>(n)};
}

std::vector<uint8_t> Slice(std::span<const uint8_t> bytes, size_t from, size_t n) {
    return {bytes.begin() + static_cast<ptrdiff_t>(from),
            bytes.begin() + static_cast<ptrdiff_t>(from + n)};
}

bool ZerosFrom(const Packet& answer, size_t from) {
    return std::all_of(answer.begin() + static_cast<ptrdiff_t>(from), answer.end(),
                       [](uint8_t b) { return b == 0; });
}

class CommandHandlerTest : public ::testing::Test {
  protected:
    KeyboardMemory memory_ = KeyboardMemory::Factory();
};

// ---- Answer layout --------------------------------------------------------------------------

struct LayoutCase {
    uint8_t command;
    uint8_t length;
    uint16_t address;
};

TEST_F(CommandHandlerTest, EveryKnownCommandEchoesCommandLengthAndAddressWithStatusZero) {
    const LayoutCase cases[] = {
        {0x01, 0, 0},  {0x02, 0, 0},    {0x03, 48, 0},   {0x04, 48, 0},   {0x05, 56, 42},
        {0x06, 3, 45}, {0x07, 56, 336}, {0x08, 44, 280}, {0x09, 16, 0},   {0x0A, 16, 0},
        {0x0D, 0, 0},  {0x0F, 44, 280}, {0x10, 54, 270}, {0x11, 18, 530},
    };
    for (const LayoutCase& c : cases) {
        SCOPED_TRACE(::testing::Message() << "command " << int(c.command));
        std::vector<uint8_t> data(c.length, 0);
        if (c.command == 0x04) {
            data.assign(memory_.stateBlock.begin(), memory_.stateBlock.end());
        }
        const Answered a = Handle(memory_, Request(c.command, c.length, c.address, data));
        EXPECT_EQ(a.answer[0], kCommandReportId);
        EXPECT_EQ(a.answer[3], c.command);
        EXPECT_EQ(a.answer[4], c.length);
        EXPECT_EQ(a.answer[5], c.address & 0xFF);
        EXPECT_EQ(a.answer[6], c.address >> 8);
        EXPECT_EQ(a.answer[7], kStatusOk);
        EXPECT_EQ(a.answer[1] | a.answer[2] << 8, PacketChecksum(a.answer));
    }
}

TEST_F(CommandHandlerTest, ShortReportIsPaddedWithZerosBeforeTheChecksumIsChecked) {
    const Packet full = Request(0x03, 48, 0);
    const Answered a = Handle(memory_, Packet(full));
    const auto outcome = HandleCommand(memory_, std::span(full).first(8));
    ASSERT_TRUE(outcome.answer);
    EXPECT_EQ(*outcome.answer, a.answer);
}

// ---- Reads ----------------------------------------------------------------------------------

TEST_F(CommandHandlerTest, ReadsReturnTheAreaBytesAskedFor) {
    memory_.profileLayouts[380] = 0xAB;
    memory_.keyLight[2 * 256 + 162] = 0xCD;

    Answered a = Handle(memory_, Request(0x03, 48, 0));
    EXPECT_EQ(DataOf(a.answer, 48), Slice(memory_.stateBlock, 0, 48));
    EXPECT_TRUE(ZerosFrom(a.answer, kOffData + 48));

    a = Handle(memory_, Request(0x07, 56, 336));
    EXPECT_EQ(DataOf(a.answer, 56), Slice(memory_.profileLayouts, 336, 56));
    EXPECT_EQ(a.answer[kOffData + 380 - 336], 0xAB);

    a = Handle(memory_, Request(0x0F, 44, 280));
    EXPECT_EQ(DataOf(a.answer, 44), Slice(kFactoryKeyLayout, 280, 44));
    EXPECT_TRUE(ZerosFrom(a.answer, kOffData + 44));

    a = Handle(memory_, Request(0x10, 54, 2 * 256 + 162));
    EXPECT_EQ(a.answer[kOffData], 0xCD);
    EXPECT_TRUE(ZerosFrom(a.answer, kOffData + 54));

    a = Handle(memory_, Request(0x09, 16, 0));
    const std::vector<uint8_t> emptyTable = {0xAA, 0x55, 16, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(DataOf(a.answer, 16), emptyTable);
}

TEST_F(CommandHandlerTest, ReadRunningPastTheAreaEndFillsZeros) {
    // The last lighting record asks for 56 bytes of the 126-byte area at 84.
    std::fill(memory_.lighting.begin(), memory_.lighting.end(), 0x11);
    Answered a = Handle(memory_, Request(0x05, 56, 84));
    EXPECT_EQ(a.answer[7], kStatusOk);
    EXPECT_EQ(DataOf(a.answer, 42), std::vector<uint8_t>(42, 0x11));
    EXPECT_TRUE(ZerosFrom(a.answer, kOffData + 42));

    a = Handle(memory_, Request(0x07, 56, 968));  // last 4 bytes of profile 2
    EXPECT_EQ(DataOf(a.answer, 4), Slice(memory_.profileLayouts, 968, 4));
    EXPECT_TRUE(ZerosFrom(a.answer, kOffData + 4));
}

// ---- Writes ---------------------------------------------------------------------------------

TEST_F(CommandHandlerTest, WritesLandAtTheirAddressAndReportAChange) {
    const std::vector<uint8_t> bytes = {1, 2, 3, 4, 5};
    struct Case {
        uint8_t command;
        uint16_t address;
        Area area;
    };
    const Case cases[] = {{0x06, 84 + 5, Area::kLighting},
                          {0x08, 2 * 324 + 10, Area::kProfileLayouts},
                          {0x0A, 4090, Area::kMacroTable},
                          {0x11, 256 + 41, Area::kKeyLight},
                          {0x04, 0, Area::kStateBlock}};
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "command " << int(c.command));
        const Answered a = Handle(memory_, Request(c.command, 5, c.address, bytes));
        EXPECT_EQ(a.answer[7], kStatusOk);
        EXPECT_TRUE(a.outcome.memoryChanged);
        EXPECT_EQ(Slice(memory_.Bytes(c.area), c.address, 5), bytes);
        EXPECT_TRUE(ZerosFrom(a.answer, kOffData));
        EXPECT_FALSE(
            Handle(memory_, Request(c.command, 5, c.address, bytes)).outcome.memoryChanged);
    }
}

TEST_F(CommandHandlerTest, StateBlockWriteSetsProfileAndMacroArea) {
    std::array<uint8_t, 48> block = memory_.stateBlock;
    block[10] = 2;
    block[11] = 1;
    block[3] = 0x77;  // a byte the driver only carries
    EXPECT_EQ(Handle(memory_, Request(0x04, 48, 0, block)).answer[7], kStatusOk);
    EXPECT_EQ(memory_.stateBlock, block);
    EXPECT_EQ(memory_.ActiveProfile(), 2);
    EXPECT_EQ(memory_.MacroAreaSize(), 128u);
}

// ---- Refusals -------------------------------------------------------------------------------

TEST_F(CommandHandlerTest, BadChecksumIsRefusedAndChangesNothing) {
    Packet p = Request(0x06, 1, 0, std::vector<uint8_t>{9});
    p[1] ^= 0x01;
    const KeyboardMemory before = memory_;
    const Answered a = Handle(memory_, p);
    EXPECT_EQ(a.answer[3], 0x06);
    EXPECT_EQ(a.answer[7], kStatusRejected);
    EXPECT_EQ(memory_, before);

    Packet unknown = Request(0x0B, 0, 0);
    unknown[2] ^= 0x10;
    EXPECT_EQ(Handle(memory_, unknown).answer[7], kStatusRejected) << "checksum is checked first";
}

TEST_F(CommandHandlerTest, UnknownCommandsAnswer0xFE) {
    for (const uint8_t command :
         std::vector<uint8_t>{0x00, 0x0B, 0x0C, 0x0E, 0x12, 0x80, 0xED, 0xEF, 0xFF}) {
        SCOPED_TRACE(int(command));
        const Answered a = Handle(memory_, Request(command, 0, 0));
        EXPECT_EQ(a.answer[3], command);
        EXPECT_EQ(a.answer[7], kStatusUnknownCommand);
    }
}

TEST_F(CommandHandlerTest, LengthAbove56IsRefused) {
    EXPECT_EQ(Handle(memory_, Request(0x05, 57, 0)).answer[7], kStatusRejected);
    EXPECT_EQ(Handle(memory_, Request(0x11, 200, 0)).answer[7], kStatusRejected);
    EXPECT_EQ(Handle(memory_, Request(0x05, 56, 0)).answer[7], kStatusOk);
}

TEST_F(CommandHandlerTest, AccessStartingOutsideTheAreaIsRefused) {
    const struct {
        uint8_t command;
        uint16_t address;
    } cases[] = {{0x03, 48},  {0x04, 48},  {0x05, 126}, {0x06, 126},  {0x07, 972},  {0x08, 972},
                 {0x0F, 324}, {0x10, 768}, {0x11, 768}, {0x09, 4096}, {0x0A, 4096}, {0x05, 0xFFFF}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << int(c.command) << " at " << c.address);
        const Answered a =
            Handle(memory_, Request(c.command, 1, c.address, std::vector<uint8_t>{1}));
        EXPECT_EQ(a.answer[7], kStatusRejected);
        EXPECT_FALSE(a.outcome.memoryChanged);
        EXPECT_TRUE(ZerosFrom(a.answer, kOffData));
    }
}

TEST_F(CommandHandlerTest, WriteRunningPastTheAreaEndIsRefusedWhole) {
    const KeyboardMemory before = memory_;
    EXPECT_EQ(Handle(memory_, Request(0x06, 7, 120, std::vector<uint8_t>(7, 9))).answer[7],
              kStatusRejected);
    EXPECT_EQ(Handle(memory_, Request(0x08, 56, 940, std::vector<uint8_t>(56, 9))).answer[7],
              kStatusRejected);
    EXPECT_EQ(Handle(memory_, Request(0x11, 2, 767, std::vector<uint8_t>(2, 9))).answer[7],
              kStatusRejected);
    EXPECT_EQ(memory_, before);
    EXPECT_EQ(Handle(memory_, Request(0x06, 6, 120, std::vector<uint8_t>(6, 9))).answer[7],
              kStatusOk)
        << "a write that ends exactly at the end fits";
}

TEST_F(CommandHandlerTest, StateBlockWriteWithProfileAbove2IsRefused) {
    std::array<uint8_t, 48> block = memory_.stateBlock;
    block[10] = 3;
    const KeyboardMemory before = memory_;
    EXPECT_EQ(Handle(memory_, Request(0x04, 48, 0, block)).answer[7], kStatusRejected);
    EXPECT_EQ(Handle(memory_, Request(0x04, 1, 10, std::vector<uint8_t>{0xFF})).answer[7],
              kStatusRejected);
    EXPECT_EQ(memory_, before);
    EXPECT_EQ(Handle(memory_, Request(0x04, 1, 10, std::vector<uint8_t>{2})).answer[7], kStatusOk);
    EXPECT_EQ(memory_.ActiveProfile(), 2);
}

TEST_F(CommandHandlerTest, MacroTableAreaFollowsStateBlockByte11) {
    memory_.stateBlock[11] = 1;  // 128 bytes
    EXPECT_EQ(Handle(memory_, Request(0x0A, 28, 100, std::vector<uint8_t>(28, 7))).answer[7],
              kStatusOk);
    EXPECT_EQ(Handle(memory_, Request(0x0A, 29, 100, std::vector<uint8_t>(29, 7))).answer[7],
              kStatusRejected);
    EXPECT_EQ(Handle(memory_, Request(0x09, 1, 128)).answer[7], kStatusRejected);
    const Answered tail = Handle(memory_, Request(0x09, 56, 100));
    EXPECT_EQ(DataOf(tail.answer, 28), std::vector<uint8_t>(28, 7));
    EXPECT_TRUE(ZerosFrom(tail.answer, kOffData + 28)) << "bytes past the announced area";

    memory_.stateBlock[11] = 255;
    EXPECT_EQ(Handle(memory_, Request(0x0A, 56, 32640 - 56, std::vector<uint8_t>(56, 1))).answer[7],
              kStatusOk);

    memory_.stateBlock[11] = 0;
    EXPECT_EQ(Handle(memory_, Request(0x09, 16, 0)).answer[7], kStatusRejected);
    EXPECT_EQ(Handle(memory_, Request(0x0A, 0, 0)).answer[7], kStatusRejected);
}

// ---- Control commands and boot mode ---------------------------------------------------------

TEST_F(CommandHandlerTest, TransactionAndTestCommandsAnswerZeroAndChangeNothing) {
    const KeyboardMemory before = memory_;
    EXPECT_EQ(Handle(memory_, Request(0x01, 0, 0)).outcome.transaction, TransactionStep::kBegin);
    EXPECT_EQ(Handle(memory_, Request(0x02, 0, 0)).outcome.transaction, TransactionStep::kEnd);
    const Answered test = Handle(memory_, Request(0x0D, 0, 0));
    EXPECT_EQ(test.outcome.transaction, TransactionStep::kNone);
    EXPECT_EQ(test.answer[7], kStatusOk);
    EXPECT_TRUE(ZerosFrom(test.answer, kOffData));
    EXPECT_EQ(memory_, before);
}

TEST_F(CommandHandlerTest, BootModeCommandIsNeverAnswered) {
    Packet boot{};
    boot[0] = kCommandReportId;
    boot[3] = 0xEE;
    boot[4] = 0xEE;  // checksum bytes stay 0
    auto outcome = HandleCommand(memory_, boot);
    EXPECT_FALSE(outcome.answer);
    EXPECT_TRUE(outcome.enterBootMode);

    SealPacket(boot);
    outcome = HandleCommand(memory_, boot);
    EXPECT_FALSE(outcome.answer);
    EXPECT_TRUE(outcome.enterBootMode);
}

TEST_F(CommandHandlerTest, ReportWithAnotherIdIsNotACommand) {
    Packet p = Request(0x03, 48, 0);
    p[0] = 5;
    const auto outcome = HandleCommand(memory_, p);
    EXPECT_FALSE(outcome.answer);
    EXPECT_FALSE(outcome.enterBootMode);
    EXPECT_FALSE(HandleCommand(memory_, std::span<const uint8_t>()).answer);
}

}  // namespace
}  // namespace qx::sim
