// Several programs on one emulated keyboard: each backend made by MakeSimBackend is its own
// connection to the keyboard's server process, exactly as the driver and the command-line tool
// in two processes are; the qx480-sim program steers it from a third process.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

#include "sim/command_handler.h"
#include "sim/endpoint.h"
#include "sim/sim_backend.h"
#include "sim/state_file.h"
#include "sim_test_support.h"

namespace qx::sim {
namespace {

using namespace std::chrono_literals;
using testing::CommandFilter;
using testing::RecordingSink;
using testing::Request;

class SharingTest : public ::testing::Test {
  protected:
    void SetUp() override {
        state_ = dir_ / "kb.state";
        ::setenv(kEnvState, state_.c_str(), 1);
        ::setenv(kEnvLinger, "0", 1);
        ::unsetenv(kEnvTrace);
        ::unsetenv(kEnvSocket);
    }
    void TearDown() override {
        for (auto& b : backends_) {
            b->Stop();
        }
        ::unsetenv(kEnvState);
        ::unsetenv(kEnvLinger);
        ::unsetenv(kEnvTrace);
    }

    // A started backend with a sink that outlives it.
    qx::transport::Backend& Attach(RecordingSink*& sink) {
        sinks_.push_back(std::make_unique<RecordingSink>());
        sink = sinks_.back().get();
        backends_.push_back(MakeSimBackend());
        EXPECT_TRUE(backends_.back()->Start(*sink));
        return *backends_.back();
    }

    int Control(const std::string& words) {
        const char* runtime = std::getenv("QX_RUNTIME_DIR");
        const std::string command = "'" + std::string(runtime ? runtime : ".") + "/qx480-sim' " +
                                    words + " >/dev/null 2>&1";
        const int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    // Sends a request and waits for the answer to it among everything the sink received.
    static std::vector<uint8_t> Exchange(qx::transport::Backend& backend, RecordingSink* sink,
                                         const Packet& request) {
        const size_t before = sink->Reports().size();
        EXPECT_EQ(backend.WriteOutputReport(CommandFilter(), request), 64);
        for (size_t n = before + 1; sink->WaitForReports(n); ++n) {
            const auto report = sink->Reports()[n - 1];
            if (report.usagePage == RADODOR_COMMAND_USAGE_PAGE && report.bytes.size() == 64 &&
                report.bytes[kOffCommand] == request[kOffCommand]) {
                return report.bytes;
            }
        }
        ADD_FAILURE() << "no answer";
        return {};
    }

    testing::TempFolder dir_;
    std::filesystem::path state_;
    std::vector<std::unique_ptr<RecordingSink>> sinks_;
    std::vector<std::unique_ptr<qx::transport::Backend>> backends_;
};

TEST_F(SharingTest, TwoBackendsMeetOneKeyboardAndItsStateFile) {
    RecordingSink* driverSink = nullptr;
    RecordingSink* toolSink = nullptr;
    auto& driver = Attach(driverSink);
    auto& tool = Attach(toolSink);

    const std::vector<uint8_t> colour = {0x11, 0x22, 0x33};
    EXPECT_EQ(Exchange(driver, driverSink, Request(kCmdWriteMemory, 3, 42 + 5, colour))[7],
              kStatusOk);
    const auto answer = Exchange(tool, toolSink, Request(kCmdReadMemory, 56, 42));
    ASSERT_EQ(answer.size(), 64u);
    EXPECT_EQ(std::vector<uint8_t>(answer.begin() + kOffData + 5, answer.begin() + kOffData + 8),
              colour);

    const auto load = LoadStateFile(state_);
    ASSERT_TRUE(load.memory && load.existed);
    EXPECT_EQ(load.memory->lighting[47], 0x11);
}

TEST_F(SharingTest, EveryBackendSeesUnplugPlugAndEventsFromTheTerminal) {
    RecordingSink* a = nullptr;
    RecordingSink* b = nullptr;
    auto& first = Attach(a);
    auto& second = Attach(b);
    EXPECT_EQ(first.CountDevices(CommandFilter()), 1);
    EXPECT_EQ(second.CountDevices(CommandFilter()), 1);

    ASSERT_EQ(Control("unplug"), 0);
    ASSERT_TRUE(a->WaitForDeviceChanges(1));
    ASSERT_TRUE(b->WaitForDeviceChanges(1));
    EXPECT_EQ(first.CountDevices(CommandFilter()), 0);
    EXPECT_EQ(second.CountDevices(CommandFilter()), 0);
    EXPECT_LE(first.WriteOutputReport(CommandFilter(), Request(kCmdTest, 0, 0)), 0);

    ASSERT_EQ(Control("plug"), 0);
    ASSERT_TRUE(a->WaitForDeviceChanges(2));
    ASSERT_TRUE(b->WaitForDeviceChanges(2));
    EXPECT_EQ(first.CountDevices(CommandFilter()), 1);
    EXPECT_EQ(second.CountDevices(CommandFilter()), 1);

    ASSERT_EQ(Control("event 0x02ff"), 0);
    ASSERT_TRUE(a->WaitForReports(1));
    ASSERT_TRUE(b->WaitForReports(1));
    EXPECT_EQ(a->Reports()[0].usagePage, RADODOR_CONSUMER_USAGE_PAGE);
    EXPECT_EQ(b->Reports()[0].bytes, (std::vector<uint8_t>{0x03, 0xFF, 0x02}));
}

TEST_F(SharingTest, MisbehaviourSetFromTheTerminalReachesTheBackends) {
    RecordingSink* sink = nullptr;
    auto& backend = Attach(sink);
    ASSERT_EQ(Control("fail 0xff 1"), 0);
    EXPECT_EQ(Exchange(backend, sink, Request(kCmdTest, 0, 0))[7], kStatusRejected);
    EXPECT_EQ(Exchange(backend, sink, Request(kCmdTest, 0, 0))[7], kStatusOk);
    ASSERT_EQ(Control("status"), 0);
    ASSERT_EQ(Control("reset"), 0);
}

TEST_F(SharingTest, TraceFileOfEachProgramGetsTheLink) {
    const auto trace = dir_ / "trace.txt";
    ::setenv(kEnvTrace, trace.c_str(), 1);
    RecordingSink* sink = nullptr;
    auto& backend = Attach(sink);
    Exchange(backend, sink, Request(kCmdTest, 0, 0));
    backend.Stop();
    std::ifstream in(trace);
    std::string request;
    std::string answer;
    std::getline(in, request);
    std::getline(in, answer);
    EXPECT_EQ(request.substr(0, 30), "> cmd 04 0d 00 0d 00 00 00 00 ");
    EXPECT_EQ(answer.substr(0, 30), "< cmd 04 0d 00 0d 00 00 00 00 ");
}

TEST_F(SharingTest, UnusableStateFileKeepsTheBackendFromStartingAndIsLeftAlone) {
    { std::ofstream(state_) << "twelve bytes"; }
    RecordingSink sink;
    auto backend = MakeSimBackend();
    EXPECT_FALSE(backend->Start(sink));
    std::ifstream in(state_);
    std::string content;
    std::getline(in, content);
    EXPECT_EQ(content, "twelve bytes");
}

TEST_F(SharingTest, ServerEndsAfterTheLastProgramLeft) {
    const Endpoint endpoint = EndpointFromEnvironment();
    RecordingSink* sink = nullptr;
    Attach(sink).Stop();
    bool gone = false;
    for (int i = 0; i < 200 && !gone; ++i) {
        gone = !std::filesystem::exists(endpoint.socketPath);
        std::this_thread::sleep_for(10ms);
    }
    EXPECT_TRUE(gone);
}

TEST_F(SharingTest, StoppedServerLooksLikeAKeyboardThatLeftAndCameBack) {
    RecordingSink* a = nullptr;
    auto& first = Attach(a);
    ASSERT_EQ(Control("stop"), 0);
    ASSERT_TRUE(a->WaitForDeviceChanges(1));
    EXPECT_EQ(first.CountDevices(CommandFilter()), 0);

    RecordingSink* b = nullptr;
    Attach(b);  // starts a new server for the same state file
    ASSERT_TRUE(a->WaitForDeviceChanges(2));
    EXPECT_EQ(first.CountDevices(CommandFilter()), 1);
    EXPECT_EQ(Exchange(first, a, Request(kCmdTest, 0, 0))[7], kStatusOk);
}

}  // namespace
}  // namespace qx::sim
