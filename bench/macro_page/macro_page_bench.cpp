// The macro page over the macro editor, offscreen: selecting a macro of 2000 actions (every row
// made, named from the language file and coloured), and one key stroke recorded into a macro of
// 1000 rows (two rows inserted through the recording's key filter). The language file is the
// run-time folder's (QX_RUNTIME_DIR, or ../bin next to the benchmark).
#include <benchmark/benchmark.h>
#include <linux/input-event-codes.h>

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <cstdlib>
#include <memory>
#include <string>

#include "keyassign/window/macro_page/macro_page.h"
#include "keyboard/image_holders.h"
#include "platform/memory_settings_store.h"
#include "platform/native_scan_codes.h"
#include "platform/program_paths.h"
#include "platform/settings_store.h"
#include "profiles/profile_file.h"
#include "skin/report_ctrl.h"

namespace {

using qx::keyassign::MacroEditor;
using qx::keyassign::window::MacroPage;

qx::keyboard::MacroRecord Macro(uint16_t id, int actions) {
    qx::keyboard::MacroRecord record;
    record.SetId(id);
    record.SetName(u"Bench");
    record.SetRepeatCount(1);
    for (int i = 0; i < actions; ++i) {
        record.SetAction(
            i, {10, static_cast<uint16_t>(0x010 + (i / 2) % 40), static_cast<uint16_t>(i % 2)});
    }
    record.SetActionCount(static_cast<uint16_t>(actions));
    return record;
}

// A page in a dialog of its own over an editor with a macro of `actions` rows and an empty one.
struct Rig {
    explicit Rig(int actions) {
        qx::keyboard::Images().Reset();
        {
            const qx::keyboard::ImageGuard guard = qx::keyboard::Images().LockImage();
            qx::profiles::WriteDefaultProfileFile(std::nullopt, 0, true);
            guard->macros = {Macro(1, actions), Macro(2, 0)};
        }
        page.Open();
    }
    QDialog dialog;
    MacroEditor editor;
    MacroPage page{dialog, std::string(), editor, qx::keyassign::NoEditObserver()};
};

void BM_ShowMacroOf2000Actions(benchmark::State& state) {
    Rig rig(2000);
    for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores)
        rig.editor.SelectMacro(0);
        state.PauseTiming();
        rig.editor.SelectMacro(1);
        state.ResumeTiming();
    }
    if (rig.page.ActionList().rowCount() != 0) {
        state.SkipWithError("the empty macro shows rows");
    }
}
BENCHMARK(BM_ShowMacroOf2000Actions)->Unit(benchmark::kMillisecond);

void SendKey(QWidget& target, QEvent::Type type) {
    QKeyEvent event(type, Qt::Key_A, Qt::NoModifier, KEY_A + qx::platform::kNativeKeyCodeOffset, 0,
                    0);
    QApplication::sendEvent(&target, &event);
}

void BM_RecordStrokeInto1000Rows(benchmark::State& state) {
    Rig rig(1000);
    rig.editor.SelectMacro(0);
    rig.page.ToggleRecording();
    QWidget& target = rig.page.ActionList();
    for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores)
        SendKey(target, QEvent::KeyPress);
        SendKey(target, QEvent::KeyRelease);
        rig.page.StopRecording();  // records the release held back
        state.PauseTiming();
        rig.editor.ShowActions();  // back to 1000 rows
        rig.page.ToggleRecording();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_RecordStrokeInto1000Rows)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const char* runtime = std::getenv("QX_RUNTIME_DIR");
    qx::platform::SetProgramFolder(
        runtime != nullptr ? std::string(runtime) + "/"
                           : QCoreApplication::applicationDirPath().toStdString() + "/../bin/");
    qx::platform::MemorySettingsStore settings;
    qx::platform::SetCurrentSettings(&settings);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    qx::platform::SetCurrentSettings(nullptr);
    return 0;
}
