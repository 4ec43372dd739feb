// A full download (all three profiles and a macro table that fills a 4096-byte capacity) against
// the emulated keyboard with 1 ms per report each way, compared with the time the wire takes:
// one report out and one back per exchange, and the pause before the transaction's end.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <vector>

#include "device/transfer/image_transfer.h"
#include "device/transfer/macro_table.h"
#include "keyboard/image_holders.h"
#include "profiles/profile_file.h"
#include "tests/support/emulated_keyboard.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr uint32_t kCapacity = 4096;
constexpr int kReportMs = 1;

// One macro of 1000 actions with a 37-unit name: 16 + 2 + 4 + 4000 + 74 = 4096 bytes.
qx::keyboard::MacroRecord FillingMacro() {
    qx::keyboard::MacroRecord macro;
    macro.SetId(1);
    macro.SetRepeatCount(1);
    macro.SetName(std::u16string(37, u'm'));
    macro.SetActionCount(1000);
    for (int i = 0; i < 1000; ++i) {
        macro.SetAction(i, {20, 0x01E, static_cast<uint16_t>(i % 2)});
    }
    return macro;
}

void BM_FullDownloadOneMsPerReport(benchmark::State& state) {
    qx::test_support::EmulatedKeyboardOptions options;
    options.timing = qx::device::Timing{};  // the product's own pauses
    options.keyboard.keepTraceLines = false;
    qx::test_support::EmulatedKeyboard keyboard(options);
    keyboard.Model().SetLatency(std::chrono::milliseconds(kReportMs));
    qx::device::CurrentProfileCache profile(&keyboard.Commands());
    const qx::device::TransferLink link{keyboard.Commands(), profile, kCapacity,
                                        qx::device::kBuiltInDefaultLayout};
    {
        auto guard = qx::keyboard::Images().LockImage();
        guard->image = qx::profiles::BuildDefaultImage(0);
        guard->macros = {FillingMacro()};
        if (qx::device::MacroTableSize(guard->macros, true) != kCapacity) {
            state.SkipWithError("the macro table does not fill the capacity");
            return;
        }
    }
    const std::size_t exchanges = 1 + (kCapacity + 55) / 56 + 18 + 1;
    const double wireMs = static_cast<double>(exchanges) * 2 * kReportMs +
                          static_cast<double>(qx::device::Timing{}.endWritePause.count());
    std::vector<double> samples;
    while (state.KeepRunning()) {
        const auto guard = qx::keyboard::Images().LockImage();
        const auto start = Clock::now();
        const int result = qx::device::SnapshotAndDownload(guard, true, link).result;
        samples.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        if (result != 1) {
            state.SkipWithError("the download failed");
            break;
        }
    }
    if (!samples.empty()) {
        std::sort(samples.begin(), samples.end());
        const double median = samples[samples.size() / 2];
        state.counters["exchanges"] = static_cast<double>(exchanges);
        state.counters["wire_ms"] = wireMs;
        state.counters["median_ms"] = median;
        state.counters["over_wire_pct"] = (median / wireMs - 1.0) * 100.0;
    }
    qx::keyboard::Images().Reset();
}
BENCHMARK(BM_FullDownloadOneMsPerReport)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(20);

}  // namespace

BENCHMARK_MAIN();
