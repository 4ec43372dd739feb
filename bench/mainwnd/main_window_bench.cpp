// What the main window costs where somebody waits for it: the G-key bank switch ('LED', the
// keyboard's delivery thread waits for it) against the full refresh of the keyboard view it
// avoids, the keyboard read back on 'PROF', the start-up up to 'INIT' (skin, sheets, layout),
// and Apply of one changed key from the click until the busy indicator is gone, against what the
// link and the indicator's two waits make unavoidable. Runs offscreen against the emulated
// keyboard in process.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <chrono>

#include "keyboard/image_holders.h"
#include "lighting/panel/lighting_panel.h"
#include "mainwnd/main_ids.h"
#include "tests/mainwnd/main_window_harness.h"

namespace {

namespace mw = qx::mainwnd;
using qx::mainwnd::test::HarnessOptions;
using qx::mainwnd::test::MainWindowHarness;

void BM_GKeyMarksAfterBankSwitch(benchmark::State& state) {
    MainWindowHarness harness;
    if (!harness.Start()) {
        state.SkipWithError("the window did not start");
        return;
    }
    while (state.KeepRunning()) {
        harness.Send(mw::kBankMessage, mw::kBankCode);
    }
}
BENCHMARK(BM_GKeyMarksAfterBankSwitch);

void BM_RefreshKeyButtons(benchmark::State& state) {
    MainWindowHarness harness;
    if (!harness.Start()) {
        state.SkipWithError("the window did not start");
        return;
    }
    while (state.KeepRunning()) {
        harness.Window().RefreshKeyButtons();
    }
}
BENCHMARK(BM_RefreshKeyButtons);

void BM_ProfileRead(benchmark::State& state) {
    MainWindowHarness harness;
    if (!harness.Start()) {
        state.SkipWithError("the window did not start");
        return;
    }
    while (state.KeepRunning()) {
        harness.Send(mw::kProfileReadMessage, mw::kProfileReadCode);
    }
}
BENCHMARK(BM_ProfileRead)->Unit(benchmark::kMillisecond);

void BM_StartUpWithoutKeyboard(benchmark::State& state) {
    HarnessOptions options;
    options.keyboardPresent = false;
    while (state.KeepRunning()) {
        MainWindowHarness harness(options);
        harness.InitialiseOnly();
    }
}
BENCHMARK(BM_StartUpWithoutKeyboard)->Unit(benchmark::kMillisecond);

// Apply of one changed key with 1 ms per report each way. "ratio" is the time from the click
// until the progress picture is hidden again, divided by the wire time of the exchanges Apply
// made (two reports each) plus the indicator's start and hide waits.
void BM_ApplyOneChangedKey(benchmark::State& state) {
    using Clock = std::chrono::steady_clock;
    constexpr auto kLatency = std::chrono::milliseconds(1);
    constexpr int kEntryA = 0x1E;
    MainWindowHarness harness;
    if (!harness.Start()) {
        state.SkipWithError("the window did not start");
        return;
    }
    mw::CQuilvaneDlg& window = harness.Window();
    const mw::BusyTiming waits;
    harness.Keyboard().Model().SetLatency(kLatency);
    double ratioSum = 0;
    double exchangeSum = 0;
    uint32_t value = 0x30;
    for (auto _ : state) {
        {
            const auto guard = qx::keyboard::Images().LockImage();
            guard->image->Entry(0, kEntryA).SetKind(qx::keyboard::kKindKey);
            guard->image->Entry(0, kEntryA).SetValue(value);
        }
        value = value == 0x30 ? 0x31 : 0x30;
        window.SetApplyEnabled(true);
        harness.ForgetTraffic();
        const Clock::time_point start = Clock::now();
        window.OnCommand(mw::kIdApply);
        MainWindowHarness::WaitFor([&] { return !window.Panel().ProgressShown(); });
        const auto elapsed = std::chrono::duration<double>(Clock::now() - start);
        state.SetIterationTime(elapsed.count());
        if (window.IsApplyEnabled()) {
            state.SkipWithError("Apply failed");
            return;
        }
        const auto exchanges = static_cast<double>(harness.CommandsSent().size());
        const auto unavoidable = std::chrono::duration<double>(exchanges * 2 * kLatency +
                                                               waits.startWait + waits.hideWait);
        ratioSum += elapsed.count() / unavoidable.count();
        exchangeSum += exchanges;
    }
    const auto iterations = static_cast<double>(state.iterations());
    state.counters["ratio"] = ratioSum / iterations;
    state.counters["exchanges"] = exchangeSum / iterations;
}
BENCHMARK(BM_ApplyOneChangedKey)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
