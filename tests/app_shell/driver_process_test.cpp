// The real driver on the emulated keyboard (offscreen): a second start hands over to the running
// driver and ends, "/Kill" ends the running driver, and both leave with exit code 0.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <chrono>
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
    }

    void Start(QProcess& process, const QStringList& arguments) {
        process.setProcessEnvironment(environment_);
        process.start(QStringLiteral(QX_RUNTIME_DIR "/qx480-driver"), arguments);
        ASSERT_TRUE(process.waitForStarted(kLimitMs));
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

}  // namespace
}  // namespace qx::app
