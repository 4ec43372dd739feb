// What one command exchange costs the driver against the emulated keyboard: with a keyboard that
// answers at once (the driver's own overhead, thread hand-offs included) and with 1 ms per report
// each way (a 324-byte layout write of six exchanges, whose floor is 12 ms on the wire).
#include <benchmark/benchmark.h>
#include <sys/prctl.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <thread>
#include <vector>

#include "device/link/device_commands.h"
#include "device/link/result_codes.h"
#include "tests/support/emulated_keyboard.h"

namespace {

using Clock = std::chrono::steady_clock;
using qx::test_support::EmulatedKeyboard;

qx::test_support::EmulatedKeyboardOptions BenchOptions() {
    qx::test_support::EmulatedKeyboardOptions options;
    options.keyboard.keepTraceLines = false;  // millions of lines would be measured too
    return options;
}

double Percentile(std::vector<double>& samples, double fraction) {
    const auto k = static_cast<std::size_t>(fraction * static_cast<double>(samples.size() - 1));
    std::nth_element(samples.begin(), samples.begin() + static_cast<std::ptrdiff_t>(k),
                     samples.end());
    return samples[k];
}

void ReportSamples(benchmark::State& state, std::vector<double>& microseconds) {
    if (microseconds.empty()) {
        return;
    }
    state.counters["median_us"] = Percentile(microseconds, 0.5);
    state.counters["p90_us"] = Percentile(microseconds, 0.9);
    state.counters["p99_us"] = Percentile(microseconds, 0.99);
}

void BM_ExchangeZeroLatency(benchmark::State& state) {
    EmulatedKeyboard keyboard(BenchOptions());
    auto& commands = keyboard.Commands();
    std::vector<double> samples;
    samples.reserve(1 << 20);
    for ([[maybe_unused]] auto _ : state) {
        const auto start = Clock::now();
        const int result = commands.SendTestCommand();
        samples.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
        if (result != qx::device::kOk) {
            state.SkipWithError("the keyboard did not answer");
            break;
        }
    }
    ReportSamples(state, samples);
}
BENCHMARK(BM_ExchangeZeroLatency)->UseRealTime()->MinTime(2.0);

void BM_StateBlockReadZeroLatency(benchmark::State& state) {
    EmulatedKeyboard keyboard(BenchOptions());
    std::array<uint8_t, qx::device::kStateBlockSize> block{};
    for ([[maybe_unused]] auto _ : state) {
        benchmark::DoNotOptimize(keyboard.Commands().ReadStateBlock(block));
    }
}
BENCHMARK(BM_StateBlockReadZeroLatency)->UseRealTime();

// Linux lets a sleeping thread oversleep by its timer slack (50 us by default) so that wake-ups
// can be batched. The emulated keyboard models its 1 ms per report with sleeps, so every report
// carries that slack too, which no USB link has. Argument 1 runs with a slack of 1 ns (inherited
// by the keyboard's and the transport's threads, which are created after it is set) to show the
// cost of the link itself; argument 0 keeps the system's default.
class TimerSlack {
  public:
    explicit TimerSlack(bool fine) : previous_(prctl(PR_GET_TIMERSLACK, 0, 0, 0, 0)) {
        if (fine) {
            prctl(PR_SET_TIMERSLACK, 1UL, 0, 0, 0);
        }
    }
    ~TimerSlack() { prctl(PR_SET_TIMERSLACK, static_cast<unsigned long>(previous_), 0, 0, 0); }
    TimerSlack(const TimerSlack&) = delete;
    TimerSlack& operator=(const TimerSlack&) = delete;

  private:
    int previous_;
};

constexpr double kWireMicroseconds = 12000.0;  // six exchanges, one report each way, 1 ms each

void ReportAgainstWire(benchmark::State& state, std::vector<double>& samples) {
    ReportSamples(state, samples);
    if (!samples.empty()) {
        state.counters["over_wire_pct"] =
            (Percentile(samples, 0.5) / kWireMicroseconds - 1.0) * 100.0;
    }
}

void BM_LayoutWriteOneMsPerReport(benchmark::State& state) {
    const TimerSlack slack(state.range(0) != 0);
    EmulatedKeyboard keyboard(BenchOptions());
    keyboard.Model().SetLatency(std::chrono::milliseconds(1));
    std::array<uint8_t, qx::device::kKeyLayoutSize> layout{};
    std::vector<double> samples;
    for ([[maybe_unused]] auto _ : state) {
        const auto start = Clock::now();
        const int result = keyboard.Commands().WriteProfileLayout(layout, 1);
        samples.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
        if (result != qx::device::kOk) {
            state.SkipWithError("the layout write failed");
            break;
        }
    }
    ReportAgainstWire(state, samples);
}
BENCHMARK(BM_LayoutWriteOneMsPerReport)
    ->ArgName("fine_slack")
    ->Arg(0)
    ->Arg(1)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

// The floor the emulation itself sets: the twelve 1 ms sleeps of six exchanges, nothing else.
void BM_EmulatedWireFloor(benchmark::State& state) {
    const TimerSlack slack(state.range(0) != 0);
    std::vector<double> samples;
    for ([[maybe_unused]] auto _ : state) {
        const auto start = Clock::now();
        for (int report = 0; report < 12; ++report) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        samples.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
    }
    ReportAgainstWire(state, samples);
}
BENCHMARK(BM_EmulatedWireFloor)
    ->ArgName("fine_slack")
    ->Arg(0)
    ->Arg(1)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
