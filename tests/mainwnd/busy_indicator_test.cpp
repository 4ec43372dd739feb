// The busy indicator thread: what it asks of the main window for show and hide, in which order,
// after which wait, and how it ends (by itself after hiding, early when the indicator goes).
#include "mainwnd/busy_indicator.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "platform/testing/recording_message_target.h"

namespace qx::mainwnd {
namespace {

using platform::testing::RecordingMessageTarget;
using Kind = RecordingMessageTarget::Kind;
using namespace std::chrono_literals;

bool WaitUntil(const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

bool IsPicture(const RecordingMessageTarget::Record& record, int shown) {
    return record.kind == Kind::Post && record.message == kProgressPictureMessage &&
           record.wParam == kProgressPictureCode && record.lParam == shown;
}

bool IsTimer(const RecordingMessageTarget::Record& record, Kind kind) {
    return record.kind == kind && record.message == kBusyAnimationTimer;
}

TEST(BusyIndicatorTest, ShowThenHideAfterTheWaitAndTheThreadEnds) {
    auto window = std::make_shared<RecordingMessageTarget>();
    BusyIndicator indicator(window, BusyTiming{.startWait = 0ms, .hideWait = 60ms});
    ASSERT_TRUE(indicator.Start());
    ASSERT_TRUE(indicator.Post(kBusyShowMessage));
    ASSERT_TRUE(WaitUntil([&] { return window->Records().size() == 2; }));
    auto records = window->Records();
    EXPECT_TRUE(IsPicture(records[0], 1));
    EXPECT_TRUE(IsTimer(records[1], Kind::SetTimer));
    EXPECT_EQ(records[1].wParam, kBusyAnimationPeriodMs);

    const auto hideAsked = std::chrono::steady_clock::now();
    ASSERT_TRUE(indicator.Post(kBusyHideMessage));
    ASSERT_TRUE(WaitUntil([&] { return !indicator.IsRunning(); }));
    EXPECT_GE(std::chrono::steady_clock::now() - hideAsked, 60ms);
    records = window->Records();
    ASSERT_EQ(records.size(), 4U);
    EXPECT_TRUE(IsTimer(records[2], Kind::KillTimer));  // the timer stops before the picture goes
    EXPECT_TRUE(IsPicture(records[3], 0));
    // The thread is gone: nothing more is taken.
    EXPECT_FALSE(indicator.Post(kBusyShowMessage));
    EXPECT_FALSE(indicator.Start());
}

TEST(BusyIndicatorTest, AnyMessageButHideShows) {
    auto window = std::make_shared<RecordingMessageTarget>();
    BusyIndicator indicator(window, BusyTiming{.startWait = 0ms, .hideWait = 0ms});
    ASSERT_TRUE(indicator.Start());
    ASSERT_TRUE(indicator.Post(0x1234));
    ASSERT_TRUE(WaitUntil([&] { return window->Records().size() == 2; }));
    EXPECT_TRUE(IsPicture(window->Records()[0], 1));
}

TEST(BusyIndicatorTest, EndingEarlyHidesAtOnceWithoutTheWait) {
    auto window = std::make_shared<RecordingMessageTarget>();
    const auto started = std::chrono::steady_clock::now();
    {
        BusyIndicator indicator(window, BusyTiming{.startWait = 0ms, .hideWait = 10s});
        ASSERT_TRUE(indicator.Start());
        indicator.Post(kBusyShowMessage);
        ASSERT_TRUE(WaitUntil([&] { return window->Records().size() == 2; }));
        indicator.Post(kBusyHideMessage);  // ends in the middle of the hide wait
    }
    EXPECT_LT(std::chrono::steady_clock::now() - started, 5s);
    const auto records = window->Records();
    ASSERT_EQ(records.size(), 4U);
    EXPECT_TRUE(IsPicture(records.back(), 0));
}

TEST(BusyIndicatorTest, NeverShownLeavesTheWindowAlone) {
    auto window = std::make_shared<RecordingMessageTarget>();
    {
        BusyIndicator indicator(window);
        ASSERT_TRUE(indicator.Start());
    }
    EXPECT_TRUE(window->Records().empty());
    BusyIndicator notStarted(window);
    EXPECT_FALSE(notStarted.Post(kBusyShowMessage));
}

TEST(BusyIndicatorTest, AWindowThatIsGoneTakesNothing) {
    auto window = std::make_shared<RecordingMessageTarget>();
    window->SetGone(true);
    BusyIndicator indicator(window, BusyTiming{.startWait = 0ms, .hideWait = 0ms});
    ASSERT_TRUE(indicator.Start());
    indicator.Post(kBusyShowMessage);
    indicator.Post(kBusyHideMessage);
    ASSERT_TRUE(WaitUntil([&] { return !indicator.IsRunning(); }));
    EXPECT_TRUE(window->Records().empty());
}

}  // namespace
}  // namespace qx::mainwnd
