// The message layer: order of posted messages, sends from worker threads, sends to a window that
// goes away, and numbered timers.
#include "platform/message_window.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <atomic>
#include <chrono>
#include <future>
#include <memory>
#include <thread>
#include <vector>

namespace qx::platform {
namespace {

constexpr uint32_t kProfileMessage = 0x5452;
constexpr uint32_t kProfileCode = FourCharCode("PROF");
constexpr uint32_t kBusyTimer = 1050;
constexpr uint32_t kRefreshTimer = 1051;

class MessageLayer : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        if (QCoreApplication::instance() == nullptr) {
            static int argc = 1;
            static char name[] = "message_window_test";
            static char* argv[] = {name, nullptr};
            static QCoreApplication app(argc, argv);
        }
    }
    // Runs the user-interface thread's events until `done` or a generous limit.
    template <class Predicate>
    static bool ProcessUntil(Predicate done, int limitMs = 10000) {
        QElapsedTimer clock;
        clock.start();
        while (!done() && clock.elapsed() < limitMs) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        }
        return done();
    }
};

TEST_F(MessageLayer, PostedMessagesArriveInOrderOnTheWindowThread) {
    MessageWindow window;
    std::vector<MessageLParam> seen;
    std::vector<bool> onWindowThread;
    window.AddHandler(kProfileMessage, [&](MessageWParam, MessageLParam lParam) {
        seen.push_back(lParam);
        onWindowThread.push_back(QThread::currentThread() == window.thread());
        return 0;
    });
    const std::shared_ptr<MessageTarget> target = window.Target();
    std::thread worker([&] {
        for (int i = 0; i < 100; ++i) {
            EXPECT_TRUE(target->PostWindowMessage(kProfileMessage, kProfileCode, i));
        }
    });
    worker.join();
    EXPECT_TRUE(seen.empty()) << "posting never runs the handler at once";
    ASSERT_TRUE(ProcessUntil([&] { return seen.size() == 100; }));
    for (int i = 0; i < 100; ++i) {
        EXPECT_EQ(seen[static_cast<std::size_t>(i)], i);
    }
    EXPECT_EQ(std::count(onWindowThread.begin(), onWindowThread.end(), false), 0);
}

TEST_F(MessageLayer, FirstHandlerOfAMessageIsTheOneThatRuns) {
    MessageWindow window;
    EXPECT_TRUE(window.AddHandler(0x4D4E, [](MessageWParam, MessageLParam) { return 1; }));
    EXPECT_FALSE(window.AddHandler(0x4D4E, [](MessageWParam, MessageLParam) { return 2; }));
    EXPECT_EQ(window.SendWindowMessage(0x4D4E, FourCharCode("INIT"), 0), 1);
    EXPECT_EQ(window.SendWindowMessage(0x1234, 0, 0), 0) << "no handler";
}

TEST_F(MessageLayer, SendFromAWorkerRunsOnTheWindowThreadAndReturnsTheResult) {
    MessageWindow window;
    std::atomic<bool> ranOnWindowThread{false};
    window.AddHandler(kProfileMessage, [&](MessageWParam wParam, MessageLParam lParam) {
        ranOnWindowThread = QThread::currentThread() == window.thread();
        return wParam == kProfileCode ? lParam * 2 : 0;
    });
    const std::shared_ptr<MessageTarget> target = window.Target();
    auto result = std::async(std::launch::async, [&] {
        return target->SendWindowMessage(kProfileMessage, kProfileCode, 21);
    });
    ASSERT_TRUE(ProcessUntil(
        [&] { return result.wait_for(std::chrono::seconds(0)) == std::future_status::ready; }));
    EXPECT_EQ(result.get(), 42);
    EXPECT_TRUE(ranOnWindowThread);
    // On the window's own thread a send is a direct call.
    EXPECT_EQ(target->SendWindowMessage(kProfileMessage, kProfileCode, 5), 10);
    EXPECT_EQ(target->SendWindowMessage(kProfileMessage, FourCharCode("PRFO"), 5), 0)
        << "a wrong code is the handler's to ignore";
}

TEST_F(MessageLayer, SendToAWindowThatGoesAwayReturnsZeroInsteadOfHanging) {
    auto window = std::make_unique<MessageWindow>();
    window->AddHandler(kProfileMessage, [](MessageWParam, MessageLParam) { return 7; });
    const std::shared_ptr<MessageTarget> target = window->Target();

    // The worker waits for a window that will never handle its message.
    std::promise<void> sending;
    auto result = std::async(std::launch::async, [&] {
        sending.set_value();
        return target->SendWindowMessage(kProfileMessage, kProfileCode, 1);
    });
    sending.get_future().wait();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    window.reset();
    ASSERT_EQ(result.wait_for(std::chrono::seconds(10)), std::future_status::ready);
    EXPECT_EQ(result.get(), 0);

    EXPECT_EQ(target->SendWindowMessage(kProfileMessage, kProfileCode, 1), 0);
    EXPECT_FALSE(target->PostWindowMessage(kProfileMessage, kProfileCode, 1));
    EXPECT_FALSE(target->SetWindowTimer(kBusyTimer, 50));
    EXPECT_FALSE(target->KillWindowTimer(kBusyTimer));
}

TEST_F(MessageLayer, HandlerMayEndTheWindowWhileAWorkerWaits) {
    auto* window = new MessageWindow;
    window->AddHandler(kProfileMessage, [&](MessageWParam, MessageLParam) {
        delete window;
        return 9;
    });
    const std::shared_ptr<MessageTarget> target = window->Target();
    auto result = std::async(std::launch::async, [&] {
        return target->SendWindowMessage(kProfileMessage, kProfileCode, 0);
    });
    ASSERT_TRUE(ProcessUntil(
        [&] { return result.wait_for(std::chrono::seconds(0)) == std::future_status::ready; }));
    const MessageResult answer = result.get();
    EXPECT_TRUE(answer == 9 || answer == 0) << answer;
}

TEST_F(MessageLayer, NumberedTimersTickUntilKilled) {
    MessageWindow window;
    std::vector<uint32_t> ticks;
    window.SetTimerHandler([&](uint32_t id) {
        ticks.push_back(id);
        if (id == kRefreshTimer) {
            window.KillWindowTimer(kRefreshTimer);  // the refresh timer runs once
        }
    });
    const std::shared_ptr<MessageTarget> target = window.Target();
    std::thread([&] {
        target->SetWindowTimer(kBusyTimer, 50);
        target->SetWindowTimer(kRefreshTimer, 0);
    }).join();
    ASSERT_TRUE(
        ProcessUntil([&] { return std::count(ticks.begin(), ticks.end(), kBusyTimer) >= 3; }));
    EXPECT_EQ(std::count(ticks.begin(), ticks.end(), kRefreshTimer), 1);
    EXPECT_TRUE(window.IsTimerActive(kBusyTimer));
    EXPECT_FALSE(window.IsTimerActive(kRefreshTimer));

    std::thread([&] { target->KillWindowTimer(kBusyTimer); }).join();
    ASSERT_TRUE(ProcessUntil([&] { return !window.IsTimerActive(kBusyTimer); }));
    const std::size_t before = ticks.size();
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 150) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    EXPECT_EQ(ticks.size(), before);
}

TEST_F(MessageLayer, MainWindowTargetIsSharedWithTheQtFreeLayers) {
    auto window = std::make_unique<MessageWindow>();
    window->AddHandler(kProfileMessage, [](MessageWParam, MessageLParam) { return 3; });
    SetMainWindowTarget(window->Target());
    EXPECT_EQ(MainWindowTarget()->SendWindowMessage(kProfileMessage, kProfileCode, 0), 3);
    window.reset();
    EXPECT_EQ(MainWindowTarget()->SendWindowMessage(kProfileMessage, kProfileCode, 0), 0);
    SetMainWindowTarget(nullptr);
    EXPECT_EQ(MainWindowTarget(), nullptr);
}

}  // namespace
}  // namespace qx::platform
