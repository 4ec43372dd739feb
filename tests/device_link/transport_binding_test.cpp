// Binding the transport library: every name bound in order, and the silent exit when the library,
// a name or its start-up is missing.
#include "device/link/transport_binding.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

#include "platform/program_paths.h"

namespace qx::device {
namespace {

struct ChildOutcome {
    int exitCode = -1;
    std::string output;  // standard output and standard error together
};

// Runs `body` in a child process with its output captured; a body that returns exits with 99.
ChildOutcome RunInChild(const std::function<void()>& body) {
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) {
        return {};
    }
    const pid_t child = fork();
    if (child == 0) {
        dup2(pipeEnds[1], STDOUT_FILENO);
        dup2(pipeEnds[1], STDERR_FILENO);
        close(pipeEnds[0]);
        body();
        std::_Exit(99);
    }
    close(pipeEnds[1]);
    ChildOutcome outcome;
    char buffer[256];
    ssize_t n = 0;
    while ((n = read(pipeEnds[0], buffer, sizeof buffer)) > 0) {
        outcome.output.append(buffer, static_cast<std::size_t>(n));
    }
    close(pipeEnds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (WIFEXITED(status)) {
        outcome.exitCode = WEXITSTATUS(status);
    }
    return outcome;
}

class TransportBinding : public ::testing::Test {
  protected:
    void SetUp() override { unsetenv("FAKE_RADODOR_INIT"); }
    void TearDown() override { unsetenv("FAKE_RADODOR_INIT"); }
};

TEST_F(TransportBinding, BindsEveryNameInTableOrder) {
    const auto api = BindTransport(FAKE_RADODOR_PATH);
    ASSERT_TRUE(api.has_value());
    // Each field reaches the function of its own name (each fake answers differently).
    EXPECT_EQ(api->Debug(5), 5);
    EXPECT_EQ(api->Init(0), 1);
    EXPECT_EQ(api->End(), 1);
    EXPECT_EQ(api->RequestGetDeviceCount(nullptr), 7);
    EXPECT_EQ(api->DeleteRequestFromUnitId(3), 1);
    EXPECT_EQ(api->DeleteRequestFromHandle(nullptr), 0);
    EXPECT_EQ(api->RequestWrite(nullptr, nullptr, 0, nullptr, 11, nullptr), 11);
    EXPECT_EQ(api->RequestWriteOne(nullptr, nullptr, 64), 64);
    EXPECT_EQ(api->RequestStatusWrite(nullptr, nullptr, 0, nullptr, 2, nullptr), 2);
    EXPECT_EQ(api->RequestStatusGet(nullptr, nullptr, 2), 0);
    uint32_t unitId = 0;
    EXPECT_EQ(api->RequestAsyncRead(nullptr, nullptr, 0, &unitId), 1);
    EXPECT_EQ(unitId, 42U);
    EXPECT_EQ(api->RequestStatusSetFeature(nullptr, nullptr, 9), 9);
}

TEST_F(TransportBinding, FailsWhenTheLibraryANameOrInitIsMissing) {
    EXPECT_FALSE(BindTransport("/nonexistent/libRadOdor.so").has_value());
    EXPECT_FALSE(BindTransport(FAKE_RADODOR_WITHOUT_END_PATH).has_value());
    setenv("FAKE_RADODOR_INIT", "0", 1);
    EXPECT_FALSE(BindTransport(FAKE_RADODOR_PATH).has_value());
    setenv("FAKE_RADODOR_INIT", "-3", 1);
    EXPECT_FALSE(BindTransport(FAKE_RADODOR_PATH).has_value());
}

TEST_F(TransportBinding, LibraryIsLookedForInTheRunTimeFolder) {
    char self[4096] = {};
    ASSERT_GT(readlink("/proc/self/exe", self, sizeof self - 1), 0);
    std::string folder(self);
    folder.erase(folder.find_last_of('/') + 1);
    EXPECT_EQ(TransportLibraryPath(), folder + "libRadOdor.so");

    // A run-time folder that holds the library: the driver binds it and carries on.
    namespace fs = std::filesystem;
    const fs::path runtime = fs::path(::testing::TempDir()) / "qx_binding_runtime";
    fs::create_directories(runtime);
    fs::copy_file(FAKE_RADODOR_PATH, runtime / "libRadOdor.so",
                  fs::copy_options::overwrite_existing);
    const ChildOutcome found = RunInChild([&runtime] {
        platform::SetProgramFolder(runtime.string());
        BindTransportOrExit();
    });
    EXPECT_EQ(found.exitCode, 99);
    fs::remove_all(runtime);
}

TEST_F(TransportBinding, ExitsWithCodeZeroAndNoMessageWhenBindingFails) {
    for (const char* path : {"/nonexistent/libRadOdor.so", FAKE_RADODOR_WITHOUT_END_PATH}) {
        const ChildOutcome outcome = RunInChild([path] { BindTransportOrExit(path); });
        EXPECT_EQ(outcome.exitCode, 0) << path;
        EXPECT_EQ(outcome.output, "") << path;
    }
    const ChildOutcome refused = RunInChild([] {
        setenv("FAKE_RADODOR_INIT", "0", 1);
        BindTransportOrExit(FAKE_RADODOR_PATH);
    });
    EXPECT_EQ(refused.exitCode, 0);
    EXPECT_EQ(refused.output, "");
    // The test programs' folder holds no transport library.
    ASSERT_FALSE(std::filesystem::exists(TransportLibraryPath()));
    const ChildOutcome missing = RunInChild([] { BindTransportOrExit(); });
    EXPECT_EQ(missing.exitCode, 0);
    EXPECT_EQ(missing.output, "");
}

TEST_F(TransportBinding, CarriesOnWhenTheLibraryIsThere) {
    const ChildOutcome outcome = RunInChild([] { BindTransportOrExit(FAKE_RADODOR_PATH); });
    EXPECT_EQ(outcome.exitCode, 99);
}

}  // namespace
}  // namespace qx::device
