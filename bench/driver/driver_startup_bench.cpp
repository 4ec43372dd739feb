// Start-up of the driver on the emulated keyboard, against a bare Qt Widgets program that shows
// one window. The driver counts as started when its local server answers a query for its tagged
// window: the window is published during its start-up and the server answers from the event
// loop, whose first pass handles the 'INIT' posted at the end of start-up before any socket.
// Resident memory and the processor time spent so far are read from /proc at that moment for both
// programs (the processor time does not grow with the machine's load); the driver's memory once
// more after it has settled (work it left to background threads, such as the skin sheets, is done
// by then), so that finishing work after 'INIT' does not hide its memory.
#include <benchmark/benchmark.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "app/instance_signal.h"
#include "app/main_window_port.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr auto kStartLimit = std::chrono::seconds(30);
// Long enough for the driver's background start-up work to end.
constexpr auto kSettleTime = std::chrono::milliseconds(400);

struct Started {
    double seconds = 0;
    double cpuSeconds = 0;
    double residentMb = 0;
    double settledMb = 0;
    bool ok = false;
};

// Time the process's threads have spent on a processor so far (from each thread's schedstat, in
// nanoseconds). On a machine shared with other work the wall-clock start-up grows with the
// load; this share of it does not.
double CpuSeconds(pid_t pid) {
    double total = 0;
    std::error_code error;
    for (const fs::directory_entry& task :
         fs::directory_iterator("/proc/" + std::to_string(pid) + "/task", error)) {
        std::ifstream schedstat(task.path() / "schedstat");
        double runNanoseconds = 0;
        if (schedstat >> runNanoseconds) {
            total += runNanoseconds / 1e9;
        }
    }
    return total;
}

double ResidentMb(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::stod(line.substr(6)) / 1024.0;
        }
    }
    return 0;
}

// A private runtime, config and data folder with the emulated keyboard's state file, shared by
// every run so the emulation's server process is started once.
const fs::path& Sandbox() {
    static const fs::path folder = [] {
        fs::path path =
            fs::temp_directory_path() / ("qx-driver-bench-" + std::to_string(::getpid()));
        fs::create_directories(path / "run");
        fs::permissions(path / "run", fs::perms::owner_all);
        ::setenv("XDG_RUNTIME_DIR", (path / "run").c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", (path / "config").c_str(), 1);
        ::setenv("XDG_DATA_HOME", (path / "data").c_str(), 1);
        ::setenv("RADODOR_BACKEND", "sim", 1);
        ::setenv("RADODOR_SIM_STATE", (path / "keyboard.state").c_str(), 1);
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        return path;
    }();
    return folder;
}

pid_t Spawn(const std::string& program, int* stdoutPipe) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    int channel[2] = {-1, -1};
    if (stdoutPipe != nullptr && ::pipe(channel) == 0) {
        posix_spawn_file_actions_adddup2(&actions, channel[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, channel[0]);
    }
    std::vector<char*> argv{const_cast<char*>(program.c_str()), nullptr};
    pid_t pid = 0;
    const int failed = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (stdoutPipe != nullptr && channel[1] >= 0) {
        ::close(channel[1]);
        *stdoutPipe = channel[0];
    }
    return failed == 0 ? pid : 0;
}

void Reap(pid_t pid) {
    int status = 0;
    ::waitpid(pid, &status, 0);
}

Started StartBareWindow() {
    Sandbox();
    Started started;
    int output = -1;
    const Clock::time_point begin = Clock::now();
    const pid_t pid = Spawn(QX_BARE_WINDOW_PATH, &output);
    if (pid == 0) {
        return started;
    }
    char buffer[16] = {};
    started.ok = ::read(output, buffer, sizeof(buffer)) > 0;
    started.seconds = std::chrono::duration<double>(Clock::now() - begin).count();
    started.cpuSeconds = CpuSeconds(pid);
    started.residentMb = ResidentMb(pid);
    ::close(output);
    ::kill(pid, SIGTERM);
    Reap(pid);
    return started;
}

Started StartDriver() {
    Sandbox();
    Started started;
    const Clock::time_point begin = Clock::now();
    const pid_t pid = Spawn(QX_RUNTIME_DIR "/qx480-driver", nullptr);
    if (pid == 0) {
        return started;
    }
    const qx::app::InstanceRequest query{qx::app::kMainWindowTag, qx::app::kInstanceQueryMessage, 0,
                                         0};
    while (Clock::now() - begin < kStartLimit) {
        const auto reply = qx::app::ExchangeWithInstance(pid, query, std::chrono::seconds(5));
        if (reply && reply->status == qx::app::InstanceStatus::Found) {
            started.ok = true;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    started.seconds = std::chrono::duration<double>(Clock::now() - begin).count();
    started.cpuSeconds = CpuSeconds(pid);
    started.residentMb = ResidentMb(pid);
    if (started.ok) {
        std::this_thread::sleep_for(kSettleTime);
        started.settledMb = ResidentMb(pid);
    }
    if (!started.ok || !qx::app::SignalInstance(pid, qx::app::InstanceSignalKind::Kill)) {
        ::kill(pid, SIGKILL);
    }
    Reap(pid);
    return started;
}

struct Yardstick {
    double seconds = 0;
    double cpuSeconds = 0;
    double residentMb = 0;
};

const Yardstick& BareWindowYardstick() {
    static const Yardstick yardstick = [] {
        constexpr int kRuns = 5;
        Yardstick sum;
        StartBareWindow();  // warm the file cache
        for (int i = 0; i < kRuns; ++i) {
            const Started run = StartBareWindow();
            sum.seconds += run.seconds / kRuns;
            sum.cpuSeconds += run.cpuSeconds / kRuns;
            sum.residentMb += run.residentMb / kRuns;
        }
        return sum;
    }();
    return yardstick;
}

// Sums over `runs` starts.
struct Totals {
    double seconds = 0;
    double cpuSeconds = 0;
    double residentMb = 0;
    double settledMb = 0;
    int runs = 0;

    void Add(const Started& run) {
        seconds += run.seconds;
        cpuSeconds += run.cpuSeconds;
        residentMb += run.residentMb;
        settledMb += run.settledMb;
        ++runs;
    }
};

void Report(benchmark::State& state, const Totals& totals) {
    const double runs = totals.runs;
    state.counters["rss_mb"] = totals.residentMb / runs;
    state.counters["start_ms"] = 1000.0 * totals.seconds / runs;
    state.counters["cpu_ms"] = 1000.0 * totals.cpuSeconds / runs;
    const Yardstick& bare = BareWindowYardstick();
    state.counters["ratio_to_bare"] = bare.seconds > 0 ? (totals.seconds / runs) / bare.seconds : 0;
    state.counters["cpu_ratio_to_bare"] =
        bare.cpuSeconds > 0 ? (totals.cpuSeconds / runs) / bare.cpuSeconds : 0;
    state.counters["rss_over_bare_mb"] = totals.residentMb / runs - bare.residentMb;
}

void BM_BareWindowStartup(benchmark::State& state) {
    BareWindowYardstick();  // warms the caches first
    Totals totals;
    for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores)
        const Started run = StartBareWindow();
        if (!run.ok) {
            state.SkipWithError("the bare window did not start");
            return;
        }
        state.SetIterationTime(run.seconds);
        totals.Add(run);
    }
    Report(state, totals);
}
BENCHMARK(BM_BareWindowStartup)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);

void BM_DriverStartupToInit(benchmark::State& state) {
    if (!fs::exists(QX_RUNTIME_DIR "/qx480-driver")) {
        state.SkipWithError("qx480-driver is not built");
        return;
    }
    BareWindowYardstick();
    StartDriver();  // starts the emulation's server and warms the caches
    Totals totals;
    for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores)
        const Started run = StartDriver();
        if (!run.ok) {
            state.SkipWithError("the driver did not start");
            return;
        }
        state.SetIterationTime(run.seconds);
        totals.Add(run);
    }
    Report(state, totals);
    const double settled = totals.settledMb / totals.runs;
    state.counters["rss_settled_mb"] = settled;
    state.counters["rss_settled_over_bare_mb"] = settled - BareWindowYardstick().residentMb;
}
BENCHMARK(BM_DriverStartupToInit)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);

}  // namespace
BENCHMARK_MAIN();
