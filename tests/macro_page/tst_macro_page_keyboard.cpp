// Recorded macros from the key assignment window to the emulated keyboard: two macros recorded
// with the record-delay setting off and on, the second assigned to A, then the main window's
// Apply; the keyboard's macro table holds both as recorded and A plays the second.
#include <linux/input-event-codes.h>

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <functional>

#include "device/transfer/key_action_layout.h"
#include "device/transfer/macro_table.h"
#include "keyassign/window/macro_page/macro_page.h"
#include "keyassign/window/quilvane_dlg_composite.h"
#include "mainwnd/main_ids.h"
#include "platform/native_scan_codes.h"
#include "platform/system_messages.h"
#include "sim/keyboard_memory.h"
#include "skin/png_button.h"
#include "skin/report_ctrl.h"
#include "tests/mainwnd/main_window_harness.h"

using qx::keyassign::window::MacroPage;
using qx::keyassign::window::Quilvane_DlgComposite;
using qx::keyboard::MacroAction;
using qx::mainwnd::test::MainWindowHarness;
namespace kw = qx::keyassign::window;

namespace {

constexpr int kKeyA = 1058;
constexpr int kEntryA = 0x1E;
constexpr uint16_t kDown = qx::keyboard::kMacroPress;
constexpr uint16_t kUp = qx::keyboard::kMacroRelease;

void Key(QEvent::Type type, uint32_t input, int qtKey) {
    QKeyEvent event(type, qtKey, Qt::NoModifier, input + qx::platform::kNativeKeyCodeOffset, 0, 0,
                    {});
    QWidget* target = QApplication::focusWidget();
    QApplication::sendEvent(target != nullptr ? target : QApplication::activeModalWidget(), &event);
}

// Opens the window for A's key button and adds a macro; `body` types while a recording runs,
// `afterwards` edits the page after the recording stopped; then OK.
bool RecordOnA(MainWindowHarness& harness, const std::function<void(MacroPage&)>& body,
               const std::function<void(MacroPage&)>& afterwards = {}) {
    bool ran = false;
    QTimer::singleShot(0, [&] {
        Quilvane_DlgComposite* dialog = harness.Window().KeyAssignmentWindow();
        if (dialog == nullptr || !dialog->isVisible()) {
            return;
        }
        ran = true;
        dialog->OnCommand(kw::kIdPageMacro);
        MacroPage& page = dialog->MacroPageOf();
        page.Button(kw::kIdAddMacro).click();
        page.ActionList().setFocus();
        page.Button(kw::kIdRecord).click();
        body(page);
        page.Button(kw::kIdRecord).click();
        if (afterwards) {
            afterwards(page);
        }
        dialog->OnCommand(kw::kIdOk);
    });
    harness.Window().Messages().SendWindowMessage(qx::platform::kCommandMessage, kKeyA, 0);
    return ran;
}

std::vector<uint8_t> KeyboardArea(MainWindowHarness& harness, qx::sim::Area area,
                                  std::size_t offset, std::size_t size) {
    return harness.Keyboard().Model().Read(area, offset, size);
}

// The key action at A's place in profile 0's layout on the keyboard.
std::vector<uint8_t> ActionOfA(MainWindowHarness& harness) {
    const std::vector<uint8_t> bytes =
        KeyboardArea(harness, qx::sim::Area::kDefaultLayout, 0, qx::device::kKeyLayoutSize);
    qx::device::KeyLayout defaults{};
    std::copy(bytes.begin(), bytes.end(), defaults.begin());
    for (std::size_t position = 0; position < qx::device::kLayoutPositions; ++position) {
        if (qx::device::EntryOfPosition(defaults, position) == kEntryA) {
            return KeyboardArea(harness, qx::sim::Area::kProfileLayouts, position * 3, 3);
        }
    }
    return {};
}

std::vector<MacroAction> ActionsOf(const qx::keyboard::MacroRecord& record) {
    std::vector<MacroAction> actions;
    actions.reserve(record.ActionCount());
    for (int i = 0; i < record.ActionCount(); ++i) {
        actions.push_back(record.Action(i));
    }
    return actions;
}

}  // namespace

class MacroPageKeyboardTest : public QObject {
    Q_OBJECT

  private slots:
    void recordedMacrosReachTheKeyboard();
};

void MacroPageKeyboardTest::recordedMacrosReachTheKeyboard() {
    MainWindowHarness harness;
    QVERIFY(harness.Start());
    // Delays off: A B pressed and released in turn, repeated three times.
    QVERIFY(RecordOnA(
        harness,
        [](MacroPage& page) {
            QVERIFY(!page.RecordDelayBox().isChecked());
            Key(QEvent::KeyPress, KEY_A, Qt::Key_A);
            Key(QEvent::KeyPress, KEY_B, Qt::Key_B);
            Key(QEvent::KeyRelease, KEY_B, Qt::Key_B);
            Key(QEvent::KeyRelease, KEY_A, Qt::Key_A);
        },
        [](MacroPage& page) {
            page.CountBox().selectAll();
            QTest::keyClicks(&page.CountBox(), QStringLiteral("3"));
        }));
    // Delays on: C held for a measured while; this macro is the one A plays.
    QVERIFY(RecordOnA(harness, [](MacroPage& page) {
        page.RecordDelayBox().click();
        QVERIFY(page.RecordDelayBox().isChecked());
        Key(QEvent::KeyPress, KEY_C, Qt::Key_C);
        QTest::qWait(60);
        Key(QEvent::KeyRelease, KEY_C, Qt::Key_C);
    }));
    harness.Window().Messages().SendWindowMessage(qx::platform::kCommandMessage,
                                                  qx::mainwnd::kIdApply, 0);
    QVERIFY(harness.Settle());

    const std::vector<uint8_t> table =
        KeyboardArea(harness, qx::sim::Area::kMacroTable, 0, qx::sim::kMacroAreaCapacity);
    const std::vector<qx::keyboard::MacroRecord> macros = qx::device::DecodeMacroTable(table);
    QCOMPARE(macros.size(), std::size_t{2});
    const std::vector<MacroAction> first{
        {50, 0x01E, kDown}, {50, 0x030, kDown}, {50, 0x030, kUp}, {0, 0x01E, kUp}};
    QCOMPARE(ActionsOf(macros[0]), first);
    QCOMPARE(static_cast<int>(macros[0].RepeatCount()), 3);
    const std::vector<MacroAction> second = ActionsOf(macros[1]);
    QCOMPARE(second.size(), std::size_t{2});
    QCOMPARE(second[0].keyCode, uint16_t{0x02E});
    QCOMPARE(second[1].action, kUp);
    QVERIFY2(second[0].delayMs >= 60 && second[0].delayMs < 5000,
             qPrintable(QString::number(second[0].delayMs)));
    // A plays the keyboard's second macro (position 1).
    QCOMPARE(ActionOfA(harness), (std::vector<uint8_t>{0x05, 0x01, 0x01}));
}

QTEST_MAIN(MacroPageKeyboardTest)
#include "tst_macro_page_keyboard.moc"
