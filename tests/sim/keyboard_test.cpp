#include "sim/keyboard.h"

#include <gtest/gtest.h>

#include <chrono>

#include "sim/command_handler.h"
#include "sim/inprocess_backend.h"
#include "sim_test_support.h"

namespace qx::sim {
namespace {

using namespace std::chrono_literals;
using testing::CommandFilter;
using testing::ConsumerFilter;
using testing::LedFilter;
using testing::RecordingSink;
using testing::Request;
using Clock = std::chrono::steady_clock;

class KeyboardTest : public ::testing::Test {
  protected:
    void SetUp() override {
        KeyboardOptions options;
        options.bootReturn = 30ms;
        keyboard_ = Keyboard::Create(options);
        backend_ = MakeInProcessBackend(keyboard_);
        ASSERT_TRUE(backend_->Start(sink_));
    }
    void TearDown() override { backend_->Stop(); }

    // Sends a request and returns the answers that came back once the keyboard is quiet.
    std::vector<testing::ReceivedReport> Exchange(const Packet& request) {
        const size_t before = sink_.Reports().size();
        EXPECT_EQ(backend_->WriteOutputReport(CommandFilter(), request), 64);
        EXPECT_TRUE(keyboard_->WaitUntilQuiet());
        auto all = sink_.Reports();
        return {all.begin() + static_cast<ptrdiff_t>(before), all.end()};
    }

    uint8_t StatusOf(const Packet& request) {
        const auto answers = Exchange(request);
        EXPECT_EQ(answers.size(), 1u);
        return answers.empty() ? 0 : answers[0].bytes[kOffStatus];
    }

    std::shared_ptr<Keyboard> keyboard_;
    RecordingSink sink_;
    std::unique_ptr<qx::transport::Backend> backend_;
};

// ---- The link -------------------------------------------------------------------------------

TEST_F(KeyboardTest, AnswerComesBackOnTheCommandCollection) {
    const auto answers = Exchange(Request(0x03, 48, 0));
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(answers[0].usagePage, RADODOR_COMMAND_USAGE_PAGE);
    ASSERT_EQ(answers[0].bytes.size(), 64u);
    EXPECT_EQ(answers[0].bytes[3], 0x03);
    EXPECT_EQ(answers[0].bytes[kOffData + 11], 32);
}

TEST_F(KeyboardTest, CountsOneKeyboardForEachOfItsCollectionsWhilePresent) {
    EXPECT_EQ(backend_->CountDevices(CommandFilter()), 1);
    EXPECT_EQ(backend_->CountDevices(ConsumerFilter()), 1);
    EXPECT_EQ(backend_->CountDevices(LedFilter()), 1);
    RadOdorFilter other = CommandFilter();
    other.product_id = 0x1234;
    EXPECT_EQ(backend_->CountDevices(other), 0);
    other = testing::FilterOf(0xFF00, 1);
    EXPECT_EQ(backend_->CountDevices(other), 0);
    EXPECT_EQ(backend_->WriteOutputReport(other, Request(0x03, 48, 0)), -1);
    RadOdorFilter anyCollection = CommandFilter();
    anyCollection.mask = RADODOR_MATCH_VENDOR | RADODOR_MATCH_PRODUCT;
    EXPECT_EQ(backend_->CountDevices(anyCollection), 1);
}

TEST_F(KeyboardTest, LedReportSetsTheGKeyBankFromBit0) {
    const std::vector<uint8_t> bank1 = {0x05, 0x03};
    EXPECT_EQ(backend_->WriteOutputReport(LedFilter(), bank1), 2);
    EXPECT_EQ(keyboard_->GKeyBank(), 1);
    const std::vector<uint8_t> bank0 = {0x05, 0x02};
    backend_->WriteOutputReport(LedFilter(), bank0);
    EXPECT_EQ(keyboard_->GKeyBank(), 0);
    const std::vector<uint8_t> otherId = {0x06, 0x01};
    backend_->WriteOutputReport(LedFilter(), otherId);
    EXPECT_EQ(keyboard_->GKeyBank(), 0);
}

TEST_F(KeyboardTest, ConsumerCollectionAndFeatureReportsTakeNoOutput) {
    const std::vector<uint8_t> report = {0x03, 0x01, 0x04};
    EXPECT_LE(backend_->WriteOutputReport(ConsumerFilter(), report), 0);
    EXPECT_LE(backend_->SetFeatureReport(CommandFilter(), report), 0);
    EXPECT_LE(backend_->WriteOutputReport(CommandFilter(), std::vector<uint8_t>(65, 4)), 0);
    EXPECT_TRUE(keyboard_->TraceLines().empty());
}

TEST_F(KeyboardTest, EventsArriveOnTheConsumerCollectionAsReportId3AndTheCode) {
    for (uint16_t code : {kEventBankSwitch, kEventLightingChanged, kEventIndicatorOff,
                          kEventIndicatorOn, uint16_t{0x1803}}) {
        ASSERT_TRUE(keyboard_->SendEvent(code));
    }
    ASSERT_TRUE(keyboard_->WaitUntilQuiet());
    const auto reports = sink_.Reports();
    ASSERT_EQ(reports.size(), 5u);
    EXPECT_EQ(reports[0].usagePage, RADODOR_CONSUMER_USAGE_PAGE);
    EXPECT_EQ(reports[0].bytes, (std::vector<uint8_t>{0x03, 0xFF, 0x02}));
    EXPECT_EQ(reports[1].bytes, (std::vector<uint8_t>{0x03, 0x01, 0x04}));
    EXPECT_EQ(reports[3].bytes, (std::vector<uint8_t>{0x03, 0x11, 0x18}));
    EXPECT_EQ(reports[4].bytes, (std::vector<uint8_t>{0x03, 0x03, 0x18}));
}

TEST_F(KeyboardTest, EveryAttachedBackendSeesEveryReport) {
    RecordingSink second;
    auto other = MakeInProcessBackend(keyboard_);
    ASSERT_TRUE(other->Start(second));
    Exchange(Request(0x0D, 0, 0));
    keyboard_->SendEvent(0x02FF);
    ASSERT_TRUE(keyboard_->WaitUntilQuiet());
    EXPECT_EQ(second.Reports().size(), 2u);
    EXPECT_EQ(sink_.Reports().size(), 2u);

    other->Stop();
    keyboard_->SendEvent(0x02FF);
    ASSERT_TRUE(keyboard_->WaitUntilQuiet());
    EXPECT_EQ(second.Reports().size(), 2u) << "nothing reaches a stopped backend";
    EXPECT_EQ(sink_.Reports().size(), 3u);
}

TEST_F(KeyboardTest, TransactionIsTrackedButWritesNeedNone) {
    Exchange(Request(0x01, 0, 0));
    EXPECT_TRUE(keyboard_->Status().inWriteTransaction);
    Exchange(Request(0x02, 0, 0));
    EXPECT_FALSE(keyboard_->Status().inWriteTransaction);
    const std::vector<uint8_t> profile = {2};
    EXPECT_EQ(StatusOf(Request(0x04, 1, 10, profile)), kStatusOk);
    EXPECT_EQ(keyboard_->Status().activeProfile, 2);
}

// ---- Misbehaviour ---------------------------------------------------------------------------

TEST_F(KeyboardTest, DelayedAnswerArrivesNoEarlierThanTheDelay) {
    keyboard_->SetAnswerDelay(60ms);
    const auto start = Clock::now();
    backend_->WriteOutputReport(CommandFilter(), Request(0x0D, 0, 0));
    EXPECT_FALSE(sink_.WaitForReports(1, 20ms));
    ASSERT_TRUE(sink_.WaitForReports(1));
    EXPECT_GE(Clock::now() - start, 60ms);
}

TEST_F(KeyboardTest, SilentRequestsGetNoAnswerAndAreNotRun) {
    keyboard_->DropRequests(2);
    const std::vector<uint8_t> colour = {0x42};
    EXPECT_TRUE(Exchange(Request(0x06, 1, 5, colour)).empty());
    EXPECT_TRUE(Exchange(Request(0x03, 48, 0)).empty());
    EXPECT_EQ(keyboard_->Read(Area::kLighting, 5, 1), std::vector<uint8_t>{0});
    EXPECT_EQ(Exchange(Request(0x03, 48, 0)).size(), 1u);

    keyboard_->DropRequests(kUntilCleared);
    for (int i = 0; i < 5; ++i) {
        EXPECT_TRUE(Exchange(Request(0x0D, 0, 0)).empty());
    }
    keyboard_->ClearMisbehaviour();
    EXPECT_EQ(Exchange(Request(0x0D, 0, 0)).size(), 1u);
}

TEST_F(KeyboardTest, WrongCommandAnswerCarriesAnotherCommandByteButTheWriteIsDone) {
    keyboard_->AnswerWithOtherCommand(1);
    const std::vector<uint8_t> colour = {0x42};
    const auto answers = Exchange(Request(0x06, 1, 5, colour));
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_NE(answers[0].bytes[3], 0x06);
    EXPECT_EQ(answers[0].bytes[7], kStatusOk);
    EXPECT_EQ(keyboard_->Read(Area::kLighting, 5, 1), colour);
    EXPECT_EQ(Exchange(Request(0x06, 1, 5, colour))[0].bytes[3], 0x06);
}

TEST_F(KeyboardTest, FailedRequestsAnswerTheChosenStatusAndChangeNothing) {
    keyboard_->FailRequests(kStatusUnknownCommand, 2);
    const std::vector<uint8_t> colour = {0x42};
    const auto answers = Exchange(Request(0x06, 1, 5, colour));
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(answers[0].bytes[3], 0x06);
    EXPECT_EQ(answers[0].bytes[4], 1);
    EXPECT_EQ(answers[0].bytes[5], 5);
    EXPECT_EQ(answers[0].bytes[7], kStatusUnknownCommand);
    EXPECT_EQ(StatusOf(Request(0x06, 1, 5, colour)), kStatusUnknownCommand);
    EXPECT_EQ(keyboard_->Read(Area::kLighting, 5, 1), std::vector<uint8_t>{0});
    EXPECT_EQ(StatusOf(Request(0x06, 1, 5, colour)), kStatusOk);

    keyboard_->FailRequests(kStatusRejected, kUntilCleared);
    EXPECT_EQ(StatusOf(Request(0x0D, 0, 0)), kStatusRejected);
    EXPECT_EQ(StatusOf(Request(0x0D, 0, 0)), kStatusRejected);
    keyboard_->Reset();
    EXPECT_EQ(StatusOf(Request(0x0D, 0, 0)), kStatusOk);
}

TEST_F(KeyboardTest, LatencyIsPaidOnceEachWay) {
    keyboard_->SetLatency(15ms);
    const auto start = Clock::now();
    EXPECT_EQ(backend_->WriteOutputReport(CommandFilter(), Request(0x0D, 0, 0)), 64);
    EXPECT_GE(Clock::now() - start, 15ms) << "the report takes its time to reach the keyboard";
    ASSERT_TRUE(sink_.WaitForReports(1));
    EXPECT_GE(Clock::now() - start, 30ms) << "and the answer its time to come back";

    keyboard_->SetLatency(0ms);
    keyboard_->SetAnswerDelay(0ms);
    EXPECT_EQ(keyboard_->Status().latency, 0ms);
}

TEST_F(KeyboardTest, UnplugAndPlugAreSeenAsDeviceChangesAndCounts) {
    keyboard_->Unplug();
    ASSERT_TRUE(sink_.WaitForDeviceChanges(1));
    EXPECT_EQ(backend_->CountDevices(CommandFilter()), 0);
    EXPECT_LE(backend_->WriteOutputReport(CommandFilter(), Request(0x0D, 0, 0)), 0);
    keyboard_->Plug();
    ASSERT_TRUE(sink_.WaitForDeviceChanges(2));
    EXPECT_EQ(backend_->CountDevices(CommandFilter()), 1);
    keyboard_->Plug();
    ASSERT_TRUE(keyboard_->WaitUntilQuiet());
    EXPECT_EQ(sink_.DeviceChanges(), 2) << "plugging a present keyboard changes nothing";
}

TEST_F(KeyboardTest, AnswersPendingWhenTheKeyboardLeavesAreLost) {
    keyboard_->SetAnswerDelay(50ms);
    backend_->WriteOutputReport(CommandFilter(), Request(0x0D, 0, 0));
    keyboard_->Unplug();
    keyboard_->Plug();
    ASSERT_TRUE(keyboard_->WaitUntilQuiet());
    EXPECT_TRUE(sink_.Reports().empty());
}

TEST_F(KeyboardTest, ReplugComesBackByItself) {
    keyboard_->Replug(20ms);
    EXPECT_EQ(backend_->CountDevices(CommandFilter()), 0);
    ASSERT_TRUE(sink_.WaitForDeviceChanges(2));
    EXPECT_EQ(backend_->CountDevices(CommandFilter()), 1);
}

Packet BootPacket() {
    Packet boot{};
    boot[0] = kCommandReportId;
    boot[3] = kCmdEnterBootMode;
    boot[4] = kCmdEnterBootMode;
    return boot;
}

TEST_F(KeyboardTest, BootModeLeavesWithoutAnswerAndComesBackAfterTheReturnTime) {
    EXPECT_EQ(backend_->WriteOutputReport(CommandFilter(), BootPacket()), 64);
    EXPECT_EQ(backend_->CountDevices(CommandFilter()), 0);
    EXPECT_TRUE(keyboard_->Status().inBootMode);
    ASSERT_TRUE(sink_.WaitForDeviceChanges(2));
    EXPECT_EQ(backend_->CountDevices(CommandFilter()), 1);
    EXPECT_FALSE(keyboard_->Status().inBootMode);
    EXPECT_TRUE(sink_.Reports().empty());
}

TEST_F(KeyboardTest, BootModeCanLastUntilPlugOrReset) {
    keyboard_->SetBootReturn(kStayInBootMode);
    backend_->WriteOutputReport(CommandFilter(), BootPacket());
    ASSERT_TRUE(sink_.WaitForDeviceChanges(1));
    std::this_thread::sleep_for(60ms);  // twice the configured return time
    EXPECT_EQ(backend_->CountDevices(CommandFilter()), 0);
    keyboard_->Reset();
    ASSERT_TRUE(sink_.WaitForDeviceChanges(2));
    EXPECT_EQ(backend_->CountDevices(CommandFilter()), 1);
}

TEST_F(KeyboardTest, ResetRestoresFactoryMemoryAndClearsMisbehaviour) {
    const std::vector<uint8_t> profile = {1};
    Exchange(Request(0x04, 1, 10, profile));
    backend_->WriteOutputReport(LedFilter(), std::vector<uint8_t>{0x05, 0x01});
    keyboard_->SetLatency(5ms);
    keyboard_->DropRequests(kUntilCleared);
    keyboard_->Reset();
    EXPECT_EQ(keyboard_->Memory(), KeyboardMemory::Factory());
    const KeyboardStatus s = keyboard_->Status();
    EXPECT_EQ(s.latency, 0ms);
    EXPECT_EQ(s.silentCount, 0);
    EXPECT_EQ(s.gKeyBank, 0);
    EXPECT_TRUE(s.present);
}

}  // namespace
}  // namespace qx::sim
