// The exchange's rules against a scripted keyboard: attempts, echo and status handling, the reply
// slot, and the serialisation of exchanges from several threads.
#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <chrono>
#include <future>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "device/link/packet_exchange.h"
#include "device/link/result_codes.h"
#include "tests/device_link/scripted_transport.h"
#include "tests/support/emulated_keyboard.h"

namespace qx::device {
namespace {

using namespace std::chrono_literals;
using testing::AnswerTo;
using testing::ScriptedTransport;

constexpr Timing kQuick{.attemptTimeout = 40ms,
                        .retryPause = 1ms,
                        .busyWait = 5ms,
                        .endWritePause = 1ms,
                        .pollInterval = 5ms};

class ExchangeRules : public ::testing::Test {
  protected:
    ExchangeRules() : exchange_(transport_.Api(), kQuick) { transport_.Connect(&exchange_); }

    int Exchange(std::vector<uint8_t> request) {
        reply_.fill(0xCC);
        return exchange_.ExchangePacket(request, reply_, received_);
    }

    // Answers every packet with the statuses in turn (the last one repeats).
    void AnswerWithStatuses(const std::vector<uint8_t>& statuses) {
        transport_.answer = [statuses](const Packet& request, int n) -> testing::Answer {
            const auto i = std::min<std::size_t>(n, statuses.size() - 1);
            return AnswerTo(request, statuses[i]);
        };
    }

    ScriptedTransport transport_;
    PacketExchange exchange_;
    std::array<uint8_t, kPacketSize> reply_{};
    std::size_t received_ = 99;
    const std::vector<uint8_t> request_{4, 0x12, 0x00, 0x03, 0x30};
};

TEST_F(ExchangeRules, ShortRequestGoesOutPaddedAndOtherwiseAsGiven) {
    AnswerWithStatuses({0});
    ASSERT_EQ(Exchange(request_), kOk);
    const Packet sent = transport_.Sent().at(0);
    EXPECT_EQ(sent, PadToPacket(request_));
}

TEST_F(ExchangeRules, AcceptedAnswerFillsTheReplyAndItsLength) {
    transport_.answer = [](const Packet& request, int) -> testing::Answer {
        return AnswerTo(request, 0x00, {1, 2, 3});
    };
    ASSERT_EQ(Exchange(request_), kOk);
    EXPECT_EQ(received_, kPacketSize);
    EXPECT_EQ(reply_[kCommandOffset], 0x03);
    EXPECT_EQ(reply_[kDataOffset + 2], 3);
    EXPECT_EQ(transport_.Sent().size(), 1U);
    EXPECT_FALSE(exchange_.IsBusy());
}

TEST_F(ExchangeRules, SilentKeyboardGivesMinusTwoAfterThreeIdenticalAttempts) {
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(Exchange(request_), kNoAnswer);
    const auto elapsed = std::chrono::steady_clock::now() - start;
    const auto sent = transport_.Sent();
    ASSERT_EQ(sent.size(), 3U);
    EXPECT_EQ(sent[1], sent[0]);
    EXPECT_EQ(sent[2], sent[0]);
    EXPECT_GE(elapsed, 3 * kQuick.attemptTimeout);
    EXPECT_EQ(received_, 0U);
    EXPECT_FALSE(exchange_.IsBusy());
}

TEST_F(ExchangeRules, AnswerTooShortForEchoAndStatusIsNotAccepted) {
    transport_.answer = [](const Packet& request, int) -> testing::Answer {
        auto reply = AnswerTo(request);
        reply.resize(kStatusOffset);
        return reply;
    };
    EXPECT_EQ(Exchange(request_), kNoAnswer);
}

TEST_F(ExchangeRules, LongerReportIsCutToTheReplyCapacity) {
    transport_.answer = [](const Packet& request, int) -> testing::Answer {
        auto reply = AnswerTo(request);
        reply.resize(100, 0x5A);
        return reply;
    };
    ASSERT_EQ(Exchange(request_), kOk);
    EXPECT_EQ(received_, kPacketSize);
}

struct StatusCase {
    std::vector<uint8_t> statuses;
    std::size_t expectedSends;
    uint8_t finalStatus;
};

void PrintTo(const StatusCase& c, std::ostream* os) {
    *os << "statuses " << test_support::HexBytes(c.statuses);
}

class ExchangeStatus : public ExchangeRules, public ::testing::WithParamInterface<StatusCase> {};

TEST_P(ExchangeStatus, RejectionsAreRetriedAndTheThirdIsReturnedAsReceived) {
    const StatusCase& c = GetParam();
    AnswerWithStatuses(c.statuses);
    EXPECT_EQ(Exchange(request_), kOk);
    EXPECT_EQ(transport_.Sent().size(), c.expectedSends);
    EXPECT_EQ(reply_[kStatusOffset], c.finalStatus);
    EXPECT_EQ(received_, kPacketSize);
}

INSTANTIATE_TEST_SUITE_P(
    Statuses, ExchangeStatus,
    ::testing::Values(StatusCase{{0xFF, 0xFF, 0x00}, 3, 0x00}, StatusCase{{0xFF}, 3, 0xFF},
                      StatusCase{{0xFE}, 3, 0xFE}, StatusCase{{0xFE, 0x01}, 2, 0x01},
                      StatusCase{{0xFF, 0xFE, 0xFE}, 3, 0xFE}, StatusCase{{0x7F}, 1, 0x7F}),
    [](const ::testing::TestParamInfo<StatusCase>& p) {
        std::string name;
        for (const uint8_t status : p.param.statuses) {
            name += (name.empty() ? "" : "_") + test_support::HexBytes({status});
        }
        return name;
    });

TEST_F(ExchangeRules, TheSlotIsBusyExactlyWhileAnAttemptWaits) {
    std::vector<bool> busyWhenSent;
    transport_.answer = [&](const Packet& request, int) -> testing::Answer {
        busyWhenSent.push_back(exchange_.IsBusy());
        return AnswerTo(request, 0xFF);
    };
    EXPECT_FALSE(exchange_.IsBusy());
    Exchange(request_);
    EXPECT_EQ(busyWhenSent, (std::vector<bool>{true, true, true}));
    EXPECT_FALSE(exchange_.IsBusy());
}

TEST_F(ExchangeRules, ReportsWhileNoExchangeWaitsAreDropped) {
    reply_.fill(0xCC);
    exchange_.DeliverAnswer(AnswerTo(PadToPacket(request_)));
    // An answer that arrived early must not satisfy the next exchange.
    EXPECT_EQ(Exchange(request_), kNoAnswer);
    EXPECT_EQ(reply_[kCommandOffset], 0xCC);
}

TEST_F(ExchangeRules, LateAnswerNeverWritesIntoAFinishedExchangesReply) {
    EXPECT_EQ(Exchange(request_), kNoAnswer);
    auto late = AnswerTo(PadToPacket(request_));
    late[kDataOffset] = 0x77;
    exchange_.DeliverAnswer(late);
    EXPECT_EQ(reply_[kDataOffset], 0xCC);
}

TEST(ExchangeSerialisation, SecondThreadsExchangeStartsOnlyAfterTheFirstEnded) {
    // While the first exchange waits for its (late) answer, a second thread starts an exchange
    // of its own. It must neither send nor take the first one's answer before the first exchange
    // has ended. Attempts get ample time so that a loaded machine cannot turn the late answer
    // into a time-out.
    ScriptedTransport transport;
    PacketExchange exchange(transport.Api(), Timing{.attemptTimeout = 5s});
    transport.Connect(&exchange);
    std::array<uint8_t, kPacketSize> reply{};
    std::size_t received = 0;
    const std::vector<uint8_t> first{4, 0x12, 0x00, 0x03, 0x30};
    std::atomic<bool> firstAnswered{false};
    std::atomic<bool> secondSentEarly{false};
    std::thread lateAnswer;
    std::future<int> second;
    std::array<uint8_t, kPacketSize> secondReply{};
    std::size_t secondReceived = 0;
    transport.answer = [&](const Packet& request, int n) -> testing::Answer {
        if (n == 0) {
            second = std::async(std::launch::async, [&] {
                const std::vector<uint8_t> other{4, 0, 0, 0x05, 0x38};
                return exchange.ExchangePacket(other, secondReply, secondReceived);
            });
            lateAnswer = std::thread([&exchange, &firstAnswered, request] {
                std::this_thread::sleep_for(15ms);
                firstAnswered = true;
                exchange.DeliverAnswer(AnswerTo(request, 0, {0xA1}));
            });
            return std::nullopt;
        }
        if (!firstAnswered) {
            secondSentEarly = true;
        }
        return AnswerTo(request, 0, {0xB2});
    };
    EXPECT_EQ(exchange.ExchangePacket(first, reply, received), kOk);
    EXPECT_EQ(second.get(), kOk);
    lateAnswer.join();
    EXPECT_FALSE(secondSentEarly);
    EXPECT_EQ(reply[kCommandOffset], 0x03);
    EXPECT_EQ(reply[kDataOffset], 0xA1);
    EXPECT_EQ(secondReply[kCommandOffset], 0x05);
    EXPECT_EQ(secondReply[kDataOffset], 0xB2);
}

TEST_F(ExchangeRules, SendWithoutReplyPadsAndReturnsTheTransportsResult) {
    transport_.writeResult = 64;
    EXPECT_EQ(exchange_.SendPacketNoReply(std::vector<uint8_t>{4, 0, 0, 0xEE, 0xEE}), 64);
    ASSERT_EQ(transport_.Sent().size(), 1U);
    EXPECT_EQ(transport_.Sent()[0][4], 0xEE);
    EXPECT_EQ(transport_.Sent()[0][5], 0);
    transport_.writeResult = -1;
    EXPECT_EQ(exchange_.SendPacketNoReply(std::vector<uint8_t>{4}), -1);
}

}  // namespace
}  // namespace qx::device
