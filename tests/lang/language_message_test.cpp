// The language message on a real window: the broadcast reaches the main window's handler on its
// own thread, and a message with another code changes nothing.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <future>

#include "lang/language.h"
#include "platform/message_window.h"

namespace qx::lang {
namespace {

class LanguageMessageOnAWindow : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        if (QCoreApplication::instance() == nullptr) {
            static int argc = 1;
            static char name[] = "language_message_test";
            static char* argv[] = {name, nullptr};
            static QCoreApplication app(argc, argv);
        }
    }
    void SetUp() override {
        window_.AddHandler(kLanguageMessage, MakeLanguageHandler([this](int index) {
                               applied_.push_back(index);
                               onWindowThread_ = QThread::currentThread() == window_.thread();
                           }));
        platform::SetMainWindowTarget(window_.Target());
    }
    void TearDown() override { platform::SetMainWindowTarget(nullptr); }

    platform::MessageWindow window_;
    std::vector<int> applied_;
    bool onWindowThread_ = false;
};

TEST_F(LanguageMessageOnAWindow, BroadcastFromAWorkerIsAppliedOnTheWindowThread) {
    auto sent = std::async(std::launch::async, [] { return BroadcastLanguage(1); });
    QElapsedTimer clock;
    clock.start();
    while (sent.wait_for(std::chrono::seconds(0)) != std::future_status::ready &&
           clock.elapsed() < 10000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    EXPECT_EQ(sent.get(), 0);
    EXPECT_EQ(applied_, std::vector<int>{1});
    EXPECT_TRUE(onWindowThread_);
    BroadcastLanguage(9);
    EXPECT_EQ(applied_, (std::vector<int>{1, 0})) << "an index above 3 is sent as 0";
}

TEST_F(LanguageMessageOnAWindow, AnotherCodeChangesNothing) {
    EXPECT_EQ(window_.SendWindowMessage(kLanguageMessage, platform::FourCharCode("LANX"), 1), 0);
    EXPECT_EQ(window_.SendWindowMessage(kLanguageMessage, 0, 1), 0);
    window_.PostWindowMessage(kLanguageMessage, platform::FourCharCode("OPEN"), 1);
    QCoreApplication::processEvents();
    EXPECT_TRUE(applied_.empty());
}

}  // namespace
}  // namespace qx::lang
