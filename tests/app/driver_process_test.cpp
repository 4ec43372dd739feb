// The real driver on the emulated keyboard (offscreen): a second start hands over to the running
// driver and ends, "/Kill" and the signals that end a session end the running driver (with a box
// open too), every end leaves with exit code 0 and takes the local server's socket along, and a
// first start removes what a killed driver left.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QUuid>
#include <chrono>
#include <csignal>
#include <string>
#include <thread>

#include "app/instance_mutex.h"
#include "app/instance_signal.h"
#include "app/main_window_port.h"

namespace qx::app {
namespace {

constexpr int kLimitMs = 30000;

class DriverProcesses : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        if (QCoreApplication::instance() == nullptr) {
            static int argc = 1;
            static char name[] = "driver_process_test";
            static char* argv[] = {name, nullptr};
            static QCoreApplication app(argc, argv);
        }
    }

    void SetUp() override {
        ASSERT_TRUE(folder_.isValid());
        const QString runtime = folder_.filePath(QStringLiteral("run"));
        ASSERT_TRUE(QDir().mkpath(runtime));
        QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        environment_ = QProcessEnvironment::systemEnvironment();
        environment_.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
        environment_.insert(QStringLiteral("XDG_CONFIG_HOME"),
                            folder_.filePath(QStringLiteral("config")));
        environment_.insert(QStringLiteral("XDG_DATA_HOME"),
                            folder_.filePath(QStringLiteral("data")));
        environment_.insert(QStringLiteral("RADODOR_BACKEND"), QStringLiteral("sim"));
        environment_.insert(QStringLiteral("RADODOR_SIM_STATE"),
                            folder_.filePath(QStringLiteral("keyboard.state")));
        environment_.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        // The client below looks for the server in the same runtime folder.
        ::setenv("XDG_RUNTIME_DIR", runtime.toUtf8().constData(), 1);
        // A name of its own beside the real program (the process search compares names), so
        // that drivers of other tests running meanwhile are never found.
        program_ = QStringLiteral(QX_RUNTIME_DIR "/qx480-driver-") +
                   QUuid::createUuid().toString(QUuid::Id128).left(10);
        linked_ = ::link(QX_RUNTIME_DIR "/qx480-driver", program_.toUtf8().constData()) == 0;
        ASSERT_TRUE(linked_) << "qx480-driver is not in " QX_RUNTIME_DIR;
    }

    void Start(QProcess& process, const QStringList& arguments) {
        process.setProcessEnvironment(environment_);
        process.start(program_, arguments);
        ASSERT_TRUE(process.waitForStarted(kLimitMs));
    }

    // Runs a command of the emulated keyboard's program; its exit code.
    int Sim(const QStringList& arguments) {
        QProcess sim;
        sim.setProcessEnvironment(environment_);
        sim.start(QStringLiteral(QX_RUNTIME_DIR "/qx480-sim"), arguments);
        sim.waitForFinished(kLimitMs);
        return sim.exitCode();
    }

    // The emulated keyboard served from the start, unplugged: the driver finds no keyboard.
    void ServeUnpluggedKeyboard() {
        simServer_.setProcessEnvironment(environment_);
        simServer_.start(
            QStringLiteral(QX_RUNTIME_DIR "/qx480-sim"),
            {QStringLiteral("serve"), QStringLiteral("--linger"), QStringLiteral("never")});
        ASSERT_TRUE(simServer_.waitForStarted(kLimitMs));
        QElapsedTimer clock;
        clock.start();
        while (Sim({QStringLiteral("status")}) != 0 && clock.elapsed() < kLimitMs) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        ASSERT_EQ(Sim({QStringLiteral("unplug")}), 0);
    }

    void TearDown() override {
        if (linked_) {
            ::unlink(program_.toUtf8().constData());
        }
        if (simServer_.state() != QProcess::NotRunning) {
            simServer_.kill();
            simServer_.waitForFinished(kLimitMs);
        }
    }

    static bool Exists(const std::string& path) {
        struct stat info {};
        return ::lstat(path.c_str(), &info) == 0;
    }

    static std::string SocketOf(const QProcess& process) {
        return InstanceServerPath(static_cast<pid_t>(process.processId()));
    }

    // True once the driver's window is published and its event loop answers.
    static bool WaitUntilAnswering(const QProcess& process) {
        const InstanceRequest query{kMainWindowTag, kInstanceQueryMessage, 0, 0};
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < kLimitMs && process.state() == QProcess::Running) {
            const auto reply = ExchangeWithInstance(static_cast<pid_t>(process.processId()), query,
                                                    std::chrono::seconds(5));
            if (reply && reply->status == InstanceStatus::Found) {
                return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return false;
    }

    static void ExpectCleanEnd(QProcess& process) {
        EXPECT_TRUE(process.waitForFinished(kLimitMs));
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(process.exitCode(), 0);
    }

    QTemporaryDir folder_;
    QProcessEnvironment environment_;
    QString program_;
    bool linked_ = false;
    QProcess simServer_;
};

TEST_F(DriverProcesses, KillInAnyCaseEndsTheRunningDriver) {
    QProcess first;
    Start(first, {QStringLiteral("/start")});
    ASSERT_TRUE(WaitUntilAnswering(first));
    QProcess killer;
    Start(killer, {QStringLiteral("/KILL")});
    ExpectCleanEnd(killer);
    ExpectCleanEnd(first);
}

// The running driver shows its window, or, while the emulated keyboard is not attached yet, the
// no-keyboard message (modal until answered), so it is ended from outside here.
TEST_F(DriverProcesses, ASecondStartHandsOverAndEndsWhileTheFirstRunsOn) {
    QProcess first;
    Start(first, {QStringLiteral("/start")});
    ASSERT_TRUE(WaitUntilAnswering(first));
    QProcess second;
    Start(second, {});
    ExpectCleanEnd(second);
    EXPECT_EQ(first.state(), QProcess::Running);
    first.kill();
    first.waitForFinished(kLimitMs);
}

// 'OPEN' without a keyboard shows the no-keyboard box, which stays open past the server's request
// deadline (2 s) and a second start's wait (5 s) before the user presses OK: the request was
// answered at once, the driver lives on and serves the next start; 'KILL' then closes the box it
// opened again and ends the driver.
TEST_F(DriverProcesses, ABoxLeftOpenPastEveryTimeoutIsAnsweredAndTheDriverLivesOn) {
    ServeUnpluggedKeyboard();
    environment_.insert(QStringLiteral("QX480_PROMPT_ANSWER_AFTER_MS"), QStringLiteral("7500"));
    QProcess first;
    Start(first, {QStringLiteral("/start")});
    ASSERT_TRUE(WaitUntilAnswering(first));
    const auto reply =
        ExchangeWithInstance(static_cast<pid_t>(first.processId()),
                             {kMainWindowTag, kOpenMessage, kOpenCode, 0}, kInstanceAnswerTimeout);
    ASSERT_TRUE(reply.has_value());
    EXPECT_EQ(reply->status, InstanceStatus::Delivered);
    std::this_thread::sleep_for(std::chrono::milliseconds(9000));  // Enter pressed meanwhile
    ASSERT_EQ(first.state(), QProcess::Running);
    EXPECT_TRUE(WaitUntilAnswering(first));

    QProcess again;
    Start(again, {});
    ExpectCleanEnd(again);
    QProcess killer;
    Start(killer, {QStringLiteral("/kill")});
    ExpectCleanEnd(killer);
    ExpectCleanEnd(first);
}

// SIGKILL leaves the socket behind; the next first start removes it. SIGTERM, SIGINT and SIGHUP
// run the exit sequence, which closes the no-keyboard box left open, the driver ends with exit
// code 0 and its socket goes too. Offscreen has no notification area, which the driver says once
// on its error stream.
TEST_F(DriverProcesses, SignalsEndTheDriverCleanlyAndAFirstStartRemovesWhatAKillLeft) {
    ServeUnpluggedKeyboard();
    QProcess killed;
    Start(killed, {QStringLiteral("/start")});
    ASSERT_TRUE(WaitUntilAnswering(killed));
    const std::string left = SocketOf(killed);
    killed.kill();
    killed.waitForFinished(kLimitMs);
    ASSERT_TRUE(Exists(left));

    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        QProcess driver;
        Start(driver, {QStringLiteral("/start")});
        ASSERT_TRUE(WaitUntilAnswering(driver));
        EXPECT_FALSE(Exists(left));
        const std::string socket = SocketOf(driver);
        ASSERT_TRUE(ExchangeWithInstance(static_cast<pid_t>(driver.processId()),
                                         {kMainWindowTag, kOpenMessage, kOpenCode, 0},
                                         kInstanceAnswerTimeout));
        ::kill(static_cast<pid_t>(driver.processId()), signal);
        ExpectCleanEnd(driver);
        EXPECT_FALSE(Exists(socket)) << signal;
        EXPECT_EQ(QString::fromUtf8(driver.readAllStandardError())
                      .count(QStringLiteral("no notification area")),
                  1);
    }
}

}  // namespace
}  // namespace qx::app
