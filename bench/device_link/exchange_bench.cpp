// What one command exchange costs the driver against the emulated keyboard: with a keyboard that
// answers at once (the driver's own overhead, thread hand-offs included) and with 1 ms per report
// each way (a 324-byte layout write of six exchanges, whose floor is 12 ms on the wire).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <vector>

#include "device/device_commands.h"
#include "device/result_codes.h"
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
    for (auto _ : state) {
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
    for (auto _ : state) {
        benchmark::DoNotOptimize(keyboard.Commands().ReadStateBlock(block));
    }
}
BENCHMARK(BM_StateBlockReadZeroLatency)->UseRealTime();

void BM_LayoutWriteOneMsPerReport(benchmark::State& state) {
    EmulatedKeyboard keyboard(BenchOptions());
    keyboard.Model().SetLatency(std::chrono::milliseconds(1));
    std::array<uint8_t, qx::device::kKeyLayoutSize> layout{};
    std::vector<double> samples;
    for (auto _ : state) {
        const auto start = Clock::now();
        const int result = keyboard.Commands().WriteProfileLayout(layout, 1);
        samples.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
        if (result != qx::device::kOk) {
            state.SkipWithError("the layout write failed");
            break;
        }
    }
    ReportSamples(state, samples);
    // Six exchanges of one report each way: 12 ms is what the wire allows.
    if (!samples.empty()) {
        state.counters["over_wire_pct"] = (Percentile(samples, 0.5) / 12000.0 - 1.0) * 100.0;
    }
}
BENCHMARK(BM_LayoutWriteOneMsPerReport)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
