// What the main window costs where somebody waits for it: the G-key bank switch ('LED', the
// keyboard's delivery thread waits for it) against the full refresh of the keyboard view it
// avoids, the keyboard read back on 'PROF', and the start-up up to 'INIT' (skin, sheets, layout).
// Runs offscreen against the emulated keyboard in process.
#include <benchmark/benchmark.h>

#include <QApplication>

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

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
