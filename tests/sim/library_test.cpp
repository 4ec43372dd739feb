// The emulated keyboard as the driver meets it: libRadOdor.so loaded by name with
// RADODOR_BACKEND=sim, which finds qx480-sim next to itself and starts the keyboard's server.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <mutex>
#include <thread>

#include "sim/command_handler.h"
#include "sim/endpoint.h"
#include "sim_test_support.h"
#include "transport/radodor.h"

namespace qx::sim {
namespace {

using namespace std::chrono_literals;

std::mutex g_mutex;
std::vector<std::vector<uint8_t>> g_answers;
std::atomic<int> g_countChanges{0};

int OnNotification(RadOdorNotification* n) {
    if (n->kind == RADODOR_NOTIFY_REPORT) {
        const std::lock_guard lock(g_mutex);
        g_answers.emplace_back(n->request->report, n->request->report + n->request->length);
    } else {
        ++g_countChanges;
    }
    return 1;
}

template <typename Fn>
Fn Bind(void* library, const char* name) {
    return reinterpret_cast<Fn>(::dlsym(library, name));
}

TEST(LibraryTest, DriverMeetsTheEmulatedKeyboardThroughTheLoadedLibrary) {
    const char* runtime = std::getenv("QX_RUNTIME_DIR");
    ASSERT_NE(runtime, nullptr);
    const std::string libraryPath = std::string(runtime) + "/libRadOdor.so";
    testing::TempFolder dir;
    ::setenv("RADODOR_BACKEND", "sim", 1);
    ::setenv(kEnvState, (dir / "kb.state").c_str(), 1);
    ::setenv(kEnvLinger, "0", 1);
    // Only the library's own folder may lead to qx480-sim.
    const std::string savedRuntime = runtime;
    ::unsetenv("QX_RUNTIME_DIR");
    ::unsetenv(kEnvServer);

    void* library = ::dlopen(libraryPath.c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << ::dlerror();
    auto init = Bind<RadOdorInitFn>(library, "Init");
    auto end = Bind<RadOdorEndFn>(library, "End");
    auto count = Bind<RadOdorGetDeviceCountFn>(library, "RequestGetDeviceCount");
    auto read = Bind<RadOdorAsyncReadFn>(library, "RequestAsyncRead");
    auto writeOne = Bind<RadOdorWriteOneFn>(library, "RequestWriteOne");
    ASSERT_TRUE(init && end && count && read && writeOne);

    ASSERT_GT(init(0), 0);
    const RadOdorFilter command = testing::CommandFilter();
    EXPECT_EQ(count(&command), 1);
    uint32_t unit = 0;
    ASSERT_GT(read(&command, OnNotification, 0x4354524C, &unit), 0);
    const Packet request = testing::Request(kCmdReadStateBlock, 48, 0);
    EXPECT_GT(writeOne(&command, request.data(), 64), 0);
    bool answered = false;
    for (int i = 0; i < 500 && !answered; ++i) {
        std::this_thread::sleep_for(10ms);
        const std::lock_guard lock(g_mutex);
        answered = !g_answers.empty();
    }
    ASSERT_TRUE(answered);
    {
        const std::lock_guard lock(g_mutex);
        ASSERT_EQ(g_answers[0].size(), 64u);
        EXPECT_EQ(g_answers[0][3], kCmdReadStateBlock);
        EXPECT_EQ(g_answers[0][kOffData + 11], 32);
    }
    end();
    // The library stays loaded, as in the driver (and so leak reports can name its code).
    ::setenv("QX_RUNTIME_DIR", savedRuntime.c_str(), 1);
    ::unsetenv("RADODOR_BACKEND");
    ::unsetenv(kEnvState);
    ::unsetenv(kEnvLinger);
}

}  // namespace
}  // namespace qx::sim
