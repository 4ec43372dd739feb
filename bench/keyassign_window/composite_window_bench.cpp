// The time from a click on a key of the main window until the key assignment window is shown and
// drawn: the first opening of a freshly started driver (its sheets decoded in the background
// since start-up and the window set up and drawn once off screen), a later opening back to back
// and one after a pause like the first's, and a plain dialog with as many child widgets shown the
// same way. Runs offscreen against the emulated keyboard in process.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QLabel>
#include <QTimer>
#include <chrono>
#include <functional>

#include "keyassign/window/quilvane_dlg_composite.h"
#include "platform/system_messages.h"
#include "tests/mainwnd/main_window_harness.h"

namespace {

using Clock = std::chrono::steady_clock;
using qx::keyassign::window::Quilvane_DlgComposite;
using qx::mainwnd::test::MainWindowHarness;

constexpr int kKeyA = 1058;
// About as long as the first opening's wait for the warm-up.
constexpr qint64 kPauseMs = 250;

// Seconds from `open` (which runs the dialog modally) until `dialog` is shown and drawn once.
double TimeToDrawn(const std::function<QDialog*()>& dialog, const std::function<void()>& open) {
    double seconds = 0;
    const Clock::time_point start = Clock::now();
    QTimer::singleShot(0, [&] {
        QDialog* shown = dialog();
        shown->repaint();
        seconds = std::chrono::duration<double>(Clock::now() - start).count();
        shown->reject();
    });
    open();
    return seconds;
}

double OpenKeyA(MainWindowHarness& harness) {
    return TimeToDrawn([&] { return harness.Window().KeyAssignmentWindow(); },
                       [&] {
                           harness.Window().Messages().SendWindowMessage(
                               qx::platform::kCommandMessage, kKeyA, 0);
                       });
}

bool StartAndDecode(MainWindowHarness& harness) {
    if (!harness.Start()) {
        return false;
    }
    qx::mainwnd::CQuilvaneDlg& window = harness.Window();
    return MainWindowHarness::WaitFor([&window] {
               const Quilvane_DlgComposite* dialog = window.KeyAssignmentWindow();
               return dialog != nullptr && dialog->IsWarmedUp();
           }) &&
           harness.Settle();
}

void BM_CompositeFirstOpening(benchmark::State& state) {
    for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores)
        MainWindowHarness harness;
        if (!StartAndDecode(harness)) {
            state.SkipWithError("the window did not start");
            return;
        }
        state.SetIterationTime(OpenKeyA(harness));
    }
}
BENCHMARK(BM_CompositeFirstOpening)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(8);

// Later openings of one driver, each after `pauseMs` of waiting and settling (none: back to
// back).
void RunLaterOpenings(benchmark::State& state, qint64 pauseMs) {
    MainWindowHarness harness;
    if (!StartAndDecode(harness)) {
        state.SkipWithError("the window did not start");
        return;
    }
    OpenKeyA(harness);
    for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores)
        if (pauseMs > 0) {
            QElapsedTimer pause;
            pause.start();
            MainWindowHarness::WaitFor([&pause, pauseMs] { return pause.elapsed() >= pauseMs; });
            harness.Settle();
        }
        state.SetIterationTime(OpenKeyA(harness));
    }
    state.counters["widgets"] = static_cast<double>(
        harness.Window().KeyAssignmentWindow()->findChildren<QWidget*>().size());
}

void BM_CompositeLaterOpening(benchmark::State& state) {
    RunLaterOpenings(state, 0);
}
BENCHMARK(BM_CompositeLaterOpening)->UseManualTime()->Unit(benchmark::kMillisecond);

// A later opening under the conditions of the first: after the same wait for the warm-up and the
// same settling, so that the processor's caches are as cold as they are for the first. Back-to-
// back openings find them warm, which an opening a user makes after a pause does not.
void BM_CompositeLaterOpeningAfterPause(benchmark::State& state) {
    RunLaterOpenings(state, kPauseMs);
}
BENCHMARK(BM_CompositeLaterOpeningAfterPause)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(8);

// A plain dialog of the same size with as many labels as the key assignment window has widgets.
void BM_PlainDialogOpening(benchmark::State& state) {
    int widgets = 0;
    QSize size;
    {
        MainWindowHarness harness;
        if (!StartAndDecode(harness)) {
            state.SkipWithError("the window did not start");
            return;
        }
        OpenKeyA(harness);
        Quilvane_DlgComposite* composite = harness.Window().KeyAssignmentWindow();
        widgets = static_cast<int>(composite->findChildren<QWidget*>().size());
        size = composite->size();
    }
    QDialog plain;
    plain.resize(size);
    for (int i = 0; i < widgets; ++i) {
        auto* label = new QLabel(QStringLiteral("Label %1").arg(i), &plain);
        label->setGeometry((i % 8) * 64, (i / 8) * 24, 60, 20);
    }
    TimeToDrawn([&] { return &plain; }, [&] { plain.exec(); });
    for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores)
        state.SetIterationTime(TimeToDrawn([&] { return &plain; }, [&] { plain.exec(); }));
    }
    state.counters["widgets"] = widgets;
}
BENCHMARK(BM_PlainDialogOpening)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
