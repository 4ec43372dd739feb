// The exchange against the emulated keyboard: absent keyboard, refused sends, wrong and missing
// answers, and several threads sharing the one exchange.
#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <functional>
#include <thread>
#include <vector>

#include "device/link/device_commands.h"
#include "device/link/result_codes.h"
#include "tests/support/emulated_keyboard.h"

namespace qx::device {
namespace {

using namespace std::chrono_literals;
using test_support::EmulatedKeyboard;

// One call of every command operation that waits for an answer.
std::vector<std::function<int(DeviceCommands&)>> EveryAnsweredCommand() {
    return {
        [](DeviceCommands& c) { return c.BeginWrite(); },
        [](DeviceCommands& c) { return c.EndWrite(); },
        [](DeviceCommands& c) {
            std::array<uint8_t, kStateBlockSize> b{};
            return c.ReadStateBlock(b);
        },
        [](DeviceCommands& c) {
            std::array<uint8_t, kStateBlockSize> b{};
            return c.WriteStateBlock(b);
        },
        [](DeviceCommands& c) {
            std::array<uint8_t, kDataCapacity> b{};
            return c.ReadMemory(b, 42, 0);
        },
        [](DeviceCommands& c) {
            std::array<uint8_t, kDataCapacity> b{};
            return c.WriteMemory(b, 42, 0);
        },
        [](DeviceCommands& c) {
            std::array<uint8_t, kKeyLayoutSize> b{};
            return c.ReadProfileLayout(b, 0);
        },
        [](DeviceCommands& c) {
            std::array<uint8_t, kKeyLayoutSize> b{};
            return c.WriteProfileLayout(b, 0);
        },
        [](DeviceCommands& c) {
            std::array<uint8_t, 16> b{};
            return c.ReadMacroTable(b);
        },
        [](DeviceCommands& c) {
            std::array<uint8_t, 16> b{};
            return c.WriteMacroTable(b);
        },
        [](DeviceCommands& c) { return c.SendTestCommand(); },
        [](DeviceCommands& c) {
            std::array<uint8_t, kKeyLayoutSize> b{};
            return c.ReadDefaultLayout(b);
        },
        [](DeviceCommands& c) {
            std::array<uint8_t, kDataCapacity> b{};
            return c.ReadPagedMemory(b, 18, 0, 0);
        },
        [](DeviceCommands& c) {
            std::array<uint8_t, kDataCapacity> b{};
            return c.WritePagedMemory(b, 18, 0, 0);
        },
    };
}

TEST(ExchangeWithKeyboard, WithoutKeyboardEveryCommandReturnsZeroAndSendsNothing) {
    EmulatedKeyboard keyboard;
    keyboard.Model().Unplug();
    for (const auto& command : EveryAnsweredCommand()) {
        EXPECT_EQ(command(keyboard.Commands()), kNoDevice);
    }
    EXPECT_TRUE(keyboard.CommandsSent().empty());
    EXPECT_FALSE(keyboard.Exchange().IsBusy());
}

TEST(ExchangeWithKeyboard, TransportRefusingTheSendGivesMinusOne) {
    EmulatedKeyboard keyboard;
    RadOdorApi refusing = keyboard.Api();
    refusing.RequestWriteOne = [](const RadOdorFilter*, const uint8_t*, int) { return 0; };
    PacketExchange exchange(refusing, test_support::kTestTiming);
    DeviceCommands commands(exchange);
    EXPECT_EQ(commands.SendTestCommand(), kSendRefused);
    std::array<uint8_t, kKeyLayoutSize> layout{};
    EXPECT_EQ(commands.WriteProfileLayout(layout, 1), kSendRefused);
    EXPECT_TRUE(keyboard.CommandsSent().empty());
    EXPECT_FALSE(exchange.IsBusy());
}

TEST(ExchangeWithKeyboard, AnswerEchoingAnotherCommandGivesMinusTwoAfterThreeAttempts) {
    EmulatedKeyboard keyboard;
    keyboard.Model().AnswerWithOtherCommand(sim::kUntilCleared);
    std::array<uint8_t, kStateBlockSize> block{};
    EXPECT_EQ(keyboard.Commands().ReadStateBlock(block), kNoAnswer);
    ASSERT_TRUE(keyboard.WaitUntilQuiet());
    const auto sent = keyboard.CommandsSent();
    ASSERT_EQ(sent.size(), 3U);
    EXPECT_EQ(sent[1], sent[0]);
    EXPECT_EQ(sent[2], sent[0]);
    // The keyboard did answer each time, with the wrong command byte.
    const auto answers = keyboard.AnswersReceived();
    ASSERT_EQ(answers.size(), 3U);
    EXPECT_EQ(answers[0][kCommandOffset], 0x03 ^ 0x80);
}

TEST(ExchangeWithKeyboard, LostAnswerIsMadeUpByTheNextAttempt) {
    EmulatedKeyboard keyboard;
    keyboard.Model().DropRequests(2);
    EXPECT_EQ(keyboard.Commands().SendTestCommand(), kOk);
    EXPECT_EQ(keyboard.CommandsSent().size(), 3U);
}

TEST(ExchangeWithKeyboard, ClosingWakesAWaitingExchangeAndRefusesLaterOnes) {
    // Attempts far longer than the test: only the close can end the wait in time.
    test_support::EmulatedKeyboardOptions options;
    options.timing.attemptTimeout = 5s;
    EmulatedKeyboard keyboard(options);
    keyboard.Model().DropRequests(sim::kUntilCleared);
    int result = kOk;
    std::thread waiting([&] { result = keyboard.Commands().SendTestCommand(); });
    while (keyboard.CommandsSent().empty()) {
        std::this_thread::sleep_for(1ms);
    }
    keyboard.Exchange().Close();
    waiting.join();
    EXPECT_EQ(result, kNoDevice);
    EXPECT_FALSE(keyboard.Exchange().IsBusy());

    keyboard.Model().ClearMisbehaviour();
    EXPECT_EQ(keyboard.Commands().SendTestCommand(), kNoDevice);
    EXPECT_EQ(keyboard.Exchange().SendPacketNoReply(std::array<uint8_t, 4>{4, 0, 0, 0xEE}),
              kNoDevice);
    EXPECT_EQ(keyboard.CommandsSent().size(), 1U);
}

TEST(ExchangeWithKeyboard, TwoThreadsExchangingAtOnceEachGetTheirOwnAnswer) {
    EmulatedKeyboard keyboard;
    // A millisecond each way keeps both threads' exchanges in flight at the same time.
    keyboard.Model().SetLatency(1ms);
    auto memory = keyboard.Model().Memory();
    for (std::size_t i = 0; i < memory.profileLayouts.size(); ++i) {
        memory.profileLayouts[i] = static_cast<uint8_t>(0x80 | (i % 0x7F));
    }
    for (std::size_t i = 0; i < memory.lighting.size(); ++i) {
        memory.lighting[i] = static_cast<uint8_t>(i % 0x7F);
    }
    keyboard.Model().SetMemory(memory);

    constexpr int kRounds = 25;
    int layoutFailures = 0;
    int lightingFailures = 0;
    std::thread layouts([&] {
        for (int round = 0; round < kRounds; ++round) {
            std::array<uint8_t, kKeyLayoutSize> layout{};
            if (keyboard.Commands().ReadProfileLayout(layout, 1) != kOk ||
                !std::equal(layout.begin(), layout.end(),
                            memory.profileLayouts.begin() + kKeyLayoutSize)) {
                ++layoutFailures;
            }
        }
    });
    std::thread lighting([&] {
        for (int round = 0; round < 3 * kRounds; ++round) {
            std::array<uint8_t, kDataCapacity> record{};
            const auto address = static_cast<uint16_t>(42 * (round % 3));
            if (keyboard.Commands().ReadMemory(record, 42, address) != kOk ||
                !std::equal(record.begin(), record.begin() + 42,
                            memory.lighting.begin() + address)) {
                ++lightingFailures;
            }
        }
    });
    layouts.join();
    lighting.join();
    EXPECT_EQ(layoutFailures, 0);
    EXPECT_EQ(lightingFailures, 0);
    // Every packet was answered once: no exchange had to try again.
    EXPECT_EQ(keyboard.CommandsSent().size(), static_cast<std::size_t>(6 * kRounds + 3 * kRounds));
}

}  // namespace
}  // namespace qx::device
