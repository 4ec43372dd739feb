// How long a newly plugged-in keyboard takes to reach the main window: from the emulated
// keyboard's arrival to the report that it was read, with 1 ms per report each way. The attach
// reads the default layout (six exchanges) and the state block (one): 7 exchanges of one report
// each way cost 14 ms on the wire; over_wire_pct is what the driver adds on top.
#include <benchmark/benchmark.h>
#include <sys/prctl.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <vector>

#include "device/connection/connection_host.h"
#include "device/connection/current_profile.h"
#include "device/connection/device_connection.h"
#include "device/link/result_codes.h"
#include "tests/support/emulated_keyboard.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr double kWireMicroseconds = 7 * 2 * 1000.0;

// A main window that is always ready and notes when a keyboard was read and when it left.
class TimingHost : public qx::device::ConnectionHost {
  public:
    void KeyboardRead() override {
        const auto now = Clock::now();
        std::lock_guard lock(mutex_);
        ++reads_;
        lastRead_ = now;
        changed_.notify_all();
    }
    void LastKeyboardLeft() override {
        std::lock_guard lock(mutex_);
        ++lefts_;
        changed_.notify_all();
    }
    void FirstAttach() override {}
    void GKeyBankSwitched() override {}
    void ShowGKeyBank(int, const qx::device::GKeyCaptions&) override {}
    void LightingChanged() override {}
    void ShowTrayState(qx::device::TrayState) override {}
    void ShowMessage(const std::string&) override {}
    bool IsInitDone() override { return true; }

    // Waits for the n-th keyboard read and returns when it was delivered.
    Clock::time_point WaitForRead(int n) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return reads_ >= n; });
        return lastRead_;
    }
    void WaitForLeft(int n) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return lefts_ >= n; });
    }

  private:
    std::mutex mutex_;
    std::condition_variable changed_;
    int reads_ = 0;
    int lefts_ = 0;
    Clock::time_point lastRead_;
};

double Median(std::vector<double> samples) {
    std::nth_element(samples.begin(), samples.begin() + samples.size() / 2, samples.end());
    return samples[samples.size() / 2];
}

// The emulated keyboard sleeps 1 ms per report; the kernel's default timer slack of 50 us would
// add to every one of those sleeps. Threads inherit the slack of the thread that makes them.
void TightenTimerSlack() {
    constexpr unsigned long kOneNanosecond = 1;
    prctl(PR_SET_TIMERSLACK, kOneNanosecond, 0, 0, 0);
}

void BM_ArrivalToProfOneMsPerReport(benchmark::State& state) {
    TightenTimerSlack();
    qx::test_support::EmulatedKeyboardOptions options;
    options.keyboard.present = false;
    options.keyboard.keepTraceLines = false;
    options.commandRead = false;  // the connection registers its own reads
    qx::test_support::EmulatedKeyboard board(options);
    qx::device::PacketExchange exchange(board.Api(), options.timing);
    qx::device::DeviceCommands commands(exchange);
    qx::device::CurrentProfileCache profile(&commands);
    TimingHost host;
    qx::device::DeviceConnection connection(board.Api(), exchange, commands, host, profile,
                                            options.timing);
    connection.Start(true);
    board.Model().SetLatency(std::chrono::milliseconds(1));

    std::vector<double> samples;
    int attaches = 0;
    for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores)
        const auto arrival = Clock::now();
        board.Model().Plug();
        const auto delivered = host.WaitForRead(++attaches);
        const double micros =
            std::chrono::duration<double, std::micro>(delivered - arrival).count();
        samples.push_back(micros);
        state.SetIterationTime(micros / 1e6);

        board.Model().Unplug();
        host.WaitForLeft(attaches);
    }
    connection.Stop();
    if (!samples.empty()) {
        const double median = Median(samples);
        state.counters["median_ms"] = median / 1000.0;
        state.counters["wire_ms"] = kWireMicroseconds / 1000.0;
        state.counters["over_wire_pct"] = (median / kWireMicroseconds - 1.0) * 100.0;
    }
}
BENCHMARK(BM_ArrivalToProfOneMsPerReport)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(50);

// The same seven exchanges made directly on an attached keyboard: the floor the emulated link
// itself sets, without arrival, notification and the connection's worker.
void BM_AttachExchangesOneMsPerReport(benchmark::State& state) {
    TightenTimerSlack();
    qx::test_support::EmulatedKeyboardOptions options;
    options.keyboard.keepTraceLines = false;
    qx::test_support::EmulatedKeyboard board(options);
    board.Model().SetLatency(std::chrono::milliseconds(1));
    qx::device::KeyLayout layout{};
    std::array<uint8_t, qx::device::kStateBlockSize> block{};
    std::vector<double> samples;
    for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores)
        const auto start = Clock::now();
        const bool ok = board.Commands().ReadDefaultLayout(layout) == qx::device::kOk &&
                        board.Commands().ReadStateBlock(block) == qx::device::kOk;
        const double micros =
            std::chrono::duration<double, std::micro>(Clock::now() - start).count();
        samples.push_back(micros);
        state.SetIterationTime(micros / 1e6);
        if (!ok) {
            state.SkipWithError("the keyboard did not answer");
            break;
        }
    }
    if (!samples.empty()) {
        const double median = Median(samples);
        state.counters["median_ms"] = median / 1000.0;
        state.counters["over_wire_pct"] = (median / kWireMicroseconds - 1.0) * 100.0;
    }
}
BENCHMARK(BM_AttachExchangesOneMsPerReport)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(50);

}  // namespace

BENCHMARK_MAIN();
