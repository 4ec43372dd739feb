// The command line and single-instance steps over a scripted system, the process search over a
// made-up /proc, the instance lock, and the bytes between instances.
#include "app/single_instance.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/instance_mutex.h"
#include "app/instance_wire.h"
#include "app/main_window_port.h"
#include "app/process_search.h"

namespace qx::app {
namespace {

namespace fs = std::filesystem;

// Records every step; finds `running` and answers with `mutexResult`.
class ScriptedSystem : public InstanceSystem {
  public:
    pid_t running = 0;
    InstanceMutex::OpenResult mutexResult = InstanceMutex::OpenResult::Created;
    std::vector<std::string> steps;

    pid_t FindInstanceProcess() override {
        steps.emplace_back("find");
        return running;
    }
    bool SignalInstance(pid_t pid, InstanceSignalKind kind) override {
        steps.push_back((kind == InstanceSignalKind::Kill ? "kill " : "open ") +
                        std::to_string(pid));
        return true;
    }
    InstanceMutex::OpenResult OpenMutex() override {
        steps.emplace_back("mutex");
        return mutexResult;
    }
    void RemoveLeftovers() override { steps.emplace_back("leftovers"); }
    void StartCompanion() override { steps.emplace_back("companion"); }
};

SingleInstanceDecision Decide(ScriptedSystem& system, std::vector<std::string> arguments) {
    return RunSingleInstanceSteps(arguments, system);
}

using Steps = std::vector<std::string>;

// Only the owner of the mutex knows that no instance of this user runs, so only it clears up.
TEST(SingleInstanceSteps, AFirstStartTakesTheMutexClearsUpAndStartsTheCompanion) {
    ScriptedSystem system;
    const SingleInstanceDecision decision = Decide(system, {"--other", "Start"});
    EXPECT_FALSE(decision.endProcess);
    EXPECT_FALSE(decision.startedWithStart);
    EXPECT_EQ(system.steps, (Steps{"mutex", "leftovers", "companion"}));
}

TEST(SingleInstanceSteps, StartIsRecognisedInAnyLetterCaseButOnlyAsAWholeArgument) {
    for (const char* spelling : {"/Start", "/START", "/start", "/sTaRt"}) {
        ScriptedSystem system;
        EXPECT_TRUE(Decide(system, {spelling}).startedWithStart) << spelling;
    }
    for (const char* other : {"/Started", "Start", "/Star", "-Start"}) {
        ScriptedSystem system;
        EXPECT_FALSE(Decide(system, {other}).startedWithStart) << other;
    }
}

TEST(SingleInstanceSteps, KillAsksTheRunningInstanceAndEndsBeforeTheMutex) {
    ScriptedSystem system;
    system.running = 4242;
    const SingleInstanceDecision decision = Decide(system, {"/KILL"});
    EXPECT_TRUE(decision.endProcess);
    EXPECT_EQ(system.steps, (Steps{"find", "kill 4242"}));
}

TEST(SingleInstanceSteps, StartThenKillSetsStartFirstThenEnds) {
    ScriptedSystem system;
    system.running = 7;
    const SingleInstanceDecision decision = Decide(system, {"/Start", "/Kill"});
    EXPECT_TRUE(decision.startedWithStart);
    EXPECT_TRUE(decision.endProcess);
    EXPECT_EQ(system.steps, (Steps{"find", "kill 7"}));

    ScriptedSystem killFirst;
    killFirst.running = 7;
    EXPECT_FALSE(Decide(killFirst, {"/Kill", "/Start"}).startedWithStart);
}

TEST(SingleInstanceSteps, KillWithoutARunningInstanceGoesOnWithTheNextArgument) {
    ScriptedSystem system;
    const SingleInstanceDecision decision = Decide(system, {"/kill", "/start"});
    EXPECT_FALSE(decision.endProcess);
    EXPECT_TRUE(decision.startedWithStart);
    EXPECT_EQ(system.steps, (Steps{"find", "mutex", "leftovers", "companion"}));
}

TEST(SingleInstanceSteps, AnExistingMutexWithARunningInstanceHandsOverOpenAndEnds) {
    ScriptedSystem system;
    system.running = 99;
    system.mutexResult = InstanceMutex::OpenResult::Exists;
    EXPECT_TRUE(Decide(system, {}).endProcess);
    EXPECT_EQ(system.steps, (Steps{"mutex", "find", "open 99"}));
}

TEST(SingleInstanceSteps, AnExistingMutexWithoutAnInstanceRunsOn) {
    ScriptedSystem system;
    system.mutexResult = InstanceMutex::OpenResult::Exists;
    EXPECT_FALSE(Decide(system, {}).endProcess);
    EXPECT_EQ(system.steps, (Steps{"mutex", "find", "companion"}));

    ScriptedSystem failed;
    failed.mutexResult = InstanceMutex::OpenResult::Failed;
    EXPECT_FALSE(Decide(failed, {}).endProcess);
    EXPECT_EQ(failed.steps, (Steps{"mutex", "companion"}));
}

// A made-up /proc: one folder per process with an "exe" link.
class ProcessSearch : public ::testing::Test {
  protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() /
                ("qx-proc-" + std::to_string(::getpid()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root_);
        fs::create_directories(root_);
    }
    void TearDown() override { fs::remove_all(root_); }

    void AddProcess(pid_t pid, const std::string& executable) {
        const fs::path folder = root_ / std::to_string(pid);
        fs::create_directories(folder);
        fs::create_symlink(executable, folder / "exe");
    }

    ProcessTable Table(pid_t self) const { return {root_.string(), self, ::getuid()}; }

    fs::path root_;
};

TEST_F(ProcessSearch, FindsTheLowestOtherProcessOfTheSameNameIgnoringCase) {
    AddProcess(1, "/sbin/init");
    AddProcess(350, "/opt/qx480/QX480-Driver");
    AddProcess(120, "/usr/lib/qx480/qx480-driver");
    AddProcess(80, "/usr/bin/qx480-driver-helper");
    fs::create_directories(root_ / "self");
    fs::create_directories(root_ / "net");
    EXPECT_EQ(FindInstanceProcess("qx480-driver", Table(1000)), 120);
}

TEST_F(ProcessSearch, NeverFindsTheSearchingProcessItself) {
    AddProcess(120, "/usr/lib/qx480/qx480-driver");
    AddProcess(300, "/usr/lib/qx480/qx480-driver");
    EXPECT_EQ(FindInstanceProcess("qx480-driver", Table(120)), 300);
    EXPECT_EQ(FindInstanceProcess("qx480-driver", Table(300)), 120);
    fs::remove_all(root_ / "300");
    EXPECT_EQ(FindInstanceProcess("qx480-driver", Table(120)), 0);
}

TEST_F(ProcessSearch, CountsAReplacedExecutableAndSkipsOtherUsersAndUnreadableEntries) {
    AddProcess(50, "/usr/lib/qx480/qx480-driver (deleted)");
    EXPECT_EQ(ExecutableFileNameOf(50, root_.string()), "qx480-driver");
    EXPECT_EQ(FindInstanceProcess("qx480-driver", Table(1)), 50);

    ProcessTable otherUser = Table(1);
    otherUser.user = ::getuid() + 1;
    EXPECT_EQ(FindInstanceProcess("qx480-driver", otherUser), 0);

    fs::create_directories(root_ / "60");  // a process whose executable cannot be read
    EXPECT_EQ(ExecutableFileNameOf(60, root_.string()), "");
    EXPECT_EQ(FindInstanceProcess("", Table(1)), 0);
    EXPECT_EQ(FindInstanceProcess("qx480-driver", {"/nonexistent-proc", 1, ::getuid()}), 0);
}

TEST(ProcessSearchLive, FindsAnotherRunningProcessButNeverItself) {
    const std::string self = ExecutableFileNameOf(::getpid());
    ASSERT_FALSE(self.empty());
    EXPECT_NE(FindInstanceProcess(self), ::getpid());
}

TEST(InstanceLock, TheFirstOpenOwnsItAndLaterOpensSeeItUntilItIsClosed) {
    const std::string path =
        (fs::temp_directory_path() / ("qx-lock-" + std::to_string(::getpid()) + ".lock")).string();
    InstanceMutex first;
    InstanceMutex second;
    EXPECT_EQ(first.Open(path), InstanceMutex::OpenResult::Created);
    EXPECT_TRUE(first.Owned());
    EXPECT_EQ(second.Open(path), InstanceMutex::OpenResult::Exists);
    EXPECT_FALSE(second.Owned());
    first.Close();
    first.Close();
    EXPECT_EQ(second.Open(path), InstanceMutex::OpenResult::Created);
    second.Close();

    // Never through a symbolic link planted where the lock goes.
    const std::string link = path + ".link";
    fs::create_symlink(path, link);
    EXPECT_EQ(first.Open(link), InstanceMutex::OpenResult::Failed);
    fs::remove(link);
    fs::remove(path);
}

TEST(InstanceLock, NamesLiveInTheRuntimeFolderWithTheUserAndProcess) {
    const std::string uid = std::to_string(::getuid());
    EXPECT_EQ(InstanceLockPath(), InstanceRuntimeFolder() + "/RT42M07C-" + uid + ".lock");
    EXPECT_EQ(InstanceServerPath(321), InstanceRuntimeFolder() + "/RT42M07C-" + uid + "-321");
}

TEST(InstanceWire, RequestsAndRepliesRoundTripAndAnythingElseIsRefused) {
    const InstanceRequest request{kMainWindowTag, kKillMessage, kKillCode, 0xFFFFFFFF};
    const auto bytes = EncodeInstanceRequest(request);
    const auto decoded = DecodeInstanceRequest(bytes);
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(decoded->tag, kMainWindowTag);
    EXPECT_EQ(decoded->message, kKillMessage);
    EXPECT_EQ(decoded->wParam, kKillCode);
    EXPECT_EQ(decoded->lParam, 0xFFFFFFFFu);
    EXPECT_EQ(bytes[0], 'Q');  // little-endian magic "QXI1"
    EXPECT_EQ(bytes[4], 'N');  // 'MAIN' low byte first

    EXPECT_FALSE(DecodeInstanceRequest(std::span(bytes).first(kInstanceRequestSize - 1)));
    auto damaged = bytes;
    damaged[1] ^= 0x20;
    EXPECT_FALSE(DecodeInstanceRequest(damaged));

    const auto reply = EncodeInstanceReply({InstanceStatus::Delivered, 7});
    ASSERT_TRUE(DecodeInstanceReply(reply));
    EXPECT_EQ(DecodeInstanceReply(reply)->result, 7u);
    auto unknownStatus = reply;
    unknownStatus[4] = 9;
    EXPECT_FALSE(DecodeInstanceReply(unknownStatus));

    EXPECT_TRUE(IsInstanceMessage(kOpenMessage));
    EXPECT_TRUE(IsInstanceMessage(kKillMessage));
    EXPECT_FALSE(IsInstanceMessage(kInitMessage));
}

}  // namespace
}  // namespace qx::app
