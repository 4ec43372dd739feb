// The single-instance rule between real processes: copies of a stand-in driver (the real
// application object with a main window that reports what reaches it) started one after
// another, each test with its own runtime folder and its own program name, so that tests running
// side by side never find each other's instances.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QUuid>
#include <memory>

namespace {

constexpr int kStartLimitMs = 20000;

class InstanceProcesses : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        if (QCoreApplication::instance() == nullptr) {
            static int argc = 1;
            static char name[] = "instance_process_test";
            static char* argv[] = {name, nullptr};
            static QCoreApplication app(argc, argv);
        }
    }

    void SetUp() override {
        ASSERT_TRUE(folder_.isValid());
        // A name of its own: the process search compares program file names.
        program_ = folder_.filePath(QStringLiteral("probe-") +
                                    QUuid::createUuid().toString(QUuid::Id128).left(10));
        ASSERT_TRUE(QFile::copy(QStringLiteral(QX_PROBE_PATH), program_));
        QFile::setPermissions(program_, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QDir(folder_.path()).mkpath(QStringLiteral("run"));
        QFile::setPermissions(folder_.filePath(QStringLiteral("run")),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    void TearDown() override {
        for (auto& process : processes_) {
            if (process->state() != QProcess::NotRunning) {
                process->kill();
                process->waitForFinished(5000);
            }
        }
    }

    QProcess& Start(const QStringList& arguments, bool untagged = false) {
        auto process = std::make_unique<QProcess>();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"),
                           folder_.filePath(QStringLiteral("run")));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"),
                           folder_.filePath(QStringLiteral("config")));
        environment.insert(QStringLiteral("XDG_DATA_HOME"),
                           folder_.filePath(QStringLiteral("data")));
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        if (untagged) {
            environment.insert(QStringLiteral("QX_PROBE_UNTAGGED"), QStringLiteral("1"));
        }
        process->setProcessEnvironment(environment);
        process->setProcessChannelMode(QProcess::SeparateChannels);
        process->start(program_, arguments);
        processes_.push_back(std::move(process));
        return *processes_.back();
    }

    // Reads the process's output until a line starting with `prefix` appears.
    static bool WaitForLine(QProcess& process, const QString& prefix, int limitMs = kStartLimitMs) {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < limitMs) {
            while (process.canReadLine()) {
                const QString line = QString::fromUtf8(process.readLine()).trimmed();
                if (line.startsWith(prefix)) {
                    return true;
                }
            }
            if (process.state() == QProcess::NotRunning && !process.canReadLine()) {
                return false;
            }
            process.waitForReadyRead(50);
        }
        return false;
    }

    static QString Finish(QProcess& process) {
        EXPECT_TRUE(process.waitForFinished(kStartLimitMs));
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(process.exitCode(), 0);
        return QString::fromUtf8(process.readAllStandardOutput());
    }

    QProcess& StartFirst() {
        QProcess& first = Start({});
        EXPECT_TRUE(WaitForLine(first, QStringLiteral("READY")));
        return first;
    }

    QTemporaryDir folder_;
    QString program_;
    std::vector<std::unique_ptr<QProcess>> processes_;
};

TEST_F(InstanceProcesses, ASecondStartHandsOpenToTheFirstAndEnds) {
    QProcess& first = StartFirst();
    const QString second = Finish(Start({}));
    EXPECT_FALSE(second.contains(QStringLiteral("READY"))) << second.toStdString();
    EXPECT_TRUE(WaitForLine(first, QStringLiteral("OPEN 4F50454E")));
    EXPECT_EQ(first.state(), QProcess::Running);
}

TEST_F(InstanceProcesses, KillInAnyLetterCaseEndsTheRunningInstance) {
    QProcess& first = StartFirst();
    const QString killer = Finish(Start({QStringLiteral("/kILL")}));
    EXPECT_FALSE(killer.contains(QStringLiteral("READY"))) << killer.toStdString();
    EXPECT_TRUE(WaitForLine(first, QStringLiteral("KILL 4C4C494B")));
    EXPECT_TRUE(WaitForLine(first, QStringLiteral("END")));
    Finish(first);

    // The mutex went with the first instance: the next start runs as the first one.
    QProcess& next = Start({});
    EXPECT_TRUE(WaitForLine(next, QStringLiteral("READY")));
}

TEST_F(InstanceProcesses, StartThenKillStillEndsTheRunningInstance) {
    QProcess& first = StartFirst();
    Finish(Start({QStringLiteral("/START"), QStringLiteral("/kill")}));
    EXPECT_TRUE(WaitForLine(first, QStringLiteral("KILL 4C4C494B")));
    Finish(first);
}

TEST_F(InstanceProcesses, StartInAnyCaseStartsSilentlyAndKillWithoutInstanceIsPassedOver) {
    QProcess& first =
        Start({QStringLiteral("/kill"), QStringLiteral("/sTaRt"), QStringLiteral("x")});
    EXPECT_TRUE(WaitForLine(first, QStringLiteral("START 1")));
    EXPECT_TRUE(WaitForLine(first, QStringLiteral("READY")));
    Finish(Start({QStringLiteral("/Kill")}));
    EXPECT_TRUE(WaitForLine(first, QStringLiteral("END")));
}

TEST_F(InstanceProcesses, AnInstanceWithoutTheTaggedWindowGetsNothingAndTheNewStartStillEnds) {
    QProcess& first = Start({}, /*untagged=*/true);
    ASSERT_TRUE(WaitForLine(first, QStringLiteral("READY")));
    const QString second = Finish(Start({}));
    EXPECT_FALSE(second.contains(QStringLiteral("READY"))) << second.toStdString();
    EXPECT_FALSE(WaitForLine(first, QStringLiteral("OPEN"), 500));
    EXPECT_EQ(first.state(), QProcess::Running);
}

}  // namespace
