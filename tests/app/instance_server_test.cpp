// The running instance's local server against the real client: what reaches the published
// window, and what does not.
#include "app/instance_server.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdlib>
#include <future>
#include <vector>

#include "app/instance_mutex.h"
#include "app/instance_signal.h"
#include "app/main_window_port.h"
#include "platform/message_window.h"

namespace qx::app {
namespace {

using platform::MessageLParam;
using platform::MessageResult;
using platform::MessageWParam;

class InstanceServerTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        static QTemporaryDir runtime;
        ::setenv("XDG_RUNTIME_DIR", runtime.path().toUtf8().constData(), 1);
        if (QCoreApplication::instance() == nullptr) {
            static int argc = 1;
            static char name[] = "instance_server_test";
            static char* argv[] = {name, nullptr};
            static QCoreApplication app(argc, argv);
        }
    }

    void SetUp() override {
        ASSERT_TRUE(server_.Listen(InstanceServerPath(::getpid())));
        for (const uint32_t message : {kOpenMessage, kKillMessage, kInitMessage}) {
            window_.AddHandler(message, [this, message](MessageWParam code, MessageLParam) {
                received_.push_back({message, static_cast<uint32_t>(code)});
                return MessageResult{0};
            });
        }
    }

    void TearDown() override { PublishInstanceWindow(nullptr, 0); }

    // Runs the client on another thread while this (the window's) thread serves it.
    template <class Call>
    static auto Serve(Call call) {
        auto answer = std::async(std::launch::async, call);
        QElapsedTimer clock;
        clock.start();
        while (answer.wait_for(std::chrono::milliseconds(0)) != std::future_status::ready &&
               clock.elapsed() < 10000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        }
        QCoreApplication::processEvents();  // what the server posted after its answer
        return answer.get();
    }

    static std::optional<InstanceReply> Exchange(InstanceRequest request, pid_t pid = ::getpid()) {
        return Serve(
            [=] { return ExchangeWithInstance(pid, request, std::chrono::milliseconds(3000)); });
    }

    struct Received {
        uint32_t message;
        uint32_t code;
        bool operator==(const Received&) const = default;
    };

    InstanceServer server_;
    platform::MessageWindow window_;
    std::vector<Received> received_;
};

TEST_F(InstanceServerTest, NothingReachesAProcessBeforeItsWindowCarriesTheTag) {
    EXPECT_FALSE(Serve([] { return SignalInstance(::getpid(), InstanceSignalKind::Open); }));
    PublishInstanceWindow(window_.Target(), kMainWindowTag + 1);
    const auto reply = Exchange({kMainWindowTag, kOpenMessage, kOpenCode, 0});
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->status, InstanceStatus::NoWindow);
    EXPECT_TRUE(received_.empty());
}

TEST_F(InstanceServerTest, OpenAndKillReachTheTaggedWindowWithTheirCodes) {
    PublishInstanceWindow(window_.Target(), kMainWindowTag);
    EXPECT_TRUE(Serve([] { return SignalInstance(::getpid(), InstanceSignalKind::Open); }));
    EXPECT_TRUE(Serve([] { return SignalInstance(::getpid(), InstanceSignalKind::Kill); }));
    EXPECT_EQ(received_,
              (std::vector<Received>{{kOpenMessage, kOpenCode}, {kKillMessage, kKillCode}}));
}

// The window handles the message from the event loop after the client has its answer: a modal
// box it shows (events go on meanwhile) may stay open past the server's own request deadline.
TEST_F(InstanceServerTest, TheAnswerGoesOutBeforeTheWindowHandlesTheMessage) {
    platform::MessageWindow modal;
    std::future<bool> client;
    bool handled = false;
    bool answeredWhileOpen = false;
    modal.AddHandler(kOpenMessage, [&](MessageWParam, MessageLParam) {
        QElapsedTimer open;
        open.start();
        while (client.wait_for(std::chrono::milliseconds(0)) != std::future_status::ready &&
               open.elapsed() < 3000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        }
        answeredWhileOpen =
            client.wait_for(std::chrono::milliseconds(0)) == std::future_status::ready;
        handled = true;
        return MessageResult{0};
    });
    PublishInstanceWindow(modal.Target(), kMainWindowTag);
    client = std::async(std::launch::async,
                        [] { return SignalInstance(::getpid(), InstanceSignalKind::Open); });
    QElapsedTimer clock;
    clock.start();
    while (!handled && clock.elapsed() < 10000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    EXPECT_TRUE(answeredWhileOpen);
    EXPECT_TRUE(client.get());
}

TEST_F(InstanceServerTest, AWrongCodeIsDeliveredButOnlyInstanceMessagesAre) {
    PublishInstanceWindow(window_.Target(), kMainWindowTag);
    const auto wrongCode = Exchange({kMainWindowTag, kKillMessage, kOpenCode, 0});
    ASSERT_TRUE(wrongCode);
    EXPECT_EQ(wrongCode->status, InstanceStatus::Delivered);
    const auto other = Exchange({kMainWindowTag, kInitMessage, kInitCode, 0});
    ASSERT_TRUE(other);
    EXPECT_EQ(other->status, InstanceStatus::Refused);
    const auto query = Exchange({kMainWindowTag, kInstanceQueryMessage, 0, 0});
    ASSERT_TRUE(query);
    EXPECT_EQ(query->status, InstanceStatus::Found);
    EXPECT_EQ(received_, (std::vector<Received>{{kKillMessage, kOpenCode}}));
}

TEST_F(InstanceServerTest, TheClientTalksOnlyToTheProcessItLooksFor) {
    PublishInstanceWindow(window_.Target(), kMainWindowTag);
    const pid_t otherPid = ::getpid() + 100000;
    InstanceServer impostor;
    ASSERT_TRUE(impostor.Listen(InstanceServerPath(otherPid)));  // served by this process
    EXPECT_FALSE(Exchange({kMainWindowTag, kOpenMessage, kOpenCode, 0}, otherPid));
    EXPECT_FALSE(Exchange({kMainWindowTag, kOpenMessage, kOpenCode, 0}, otherPid + 1));
    EXPECT_TRUE(received_.empty());
}

TEST_F(InstanceServerTest, MalformedRequestsAreDroppedAndTheServerGoesOn) {
    PublishInstanceWindow(window_.Target(), kMainWindowTag);
    const bool dropped = Serve([] {
        const int descriptor = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const std::string path = InstanceServerPath(::getpid());
        std::copy(path.begin(), path.end(), address.sun_path);
        if (::connect(descriptor, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0) {
            ::close(descriptor);
            return false;
        }
        const char garbage[kInstanceRequestSize] = {"not a request, no"};
        ::send(descriptor, garbage, sizeof(garbage), MSG_NOSIGNAL);
        char answer = 0;
        const bool closed = ::recv(descriptor, &answer, 1, 0) <= 0;
        ::close(descriptor);
        return closed;
    });
    EXPECT_TRUE(dropped);
    EXPECT_TRUE(Serve([] { return SignalInstance(::getpid(), InstanceSignalKind::Open); }));
    EXPECT_EQ(received_.size(), 1u);
}

}  // namespace
}  // namespace qx::app
