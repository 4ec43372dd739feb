// The key assignment window in the main window against the emulated keyboard: keys typed with
// native scan codes (as X11 and Wayland deliver them), the pages' choices written into the key's
// entry and, after the main window's Apply, into the keyboard's layout.
#include <linux/input-event-codes.h>

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <functional>

#include "device/transfer/key_action.h"
#include "device/transfer/key_action_layout.h"
#include "keyassign/action_texts.h"
#include "keyassign/assignment.h"
#include "keyassign/window/macro_page/macro_page.h"
#include "keyassign/window/quilvane_dlg_composite.h"
#include "keyboard/image_holders.h"
#include "lang/language.h"
#include "lang/language_keys.h"
#include "mainwnd/main_ids.h"
#include "platform/native_scan_codes.h"
#include "platform/system_messages.h"
#include "sim/keyboard_memory.h"
#include "skin/picture_file.h"
#include "skin/png_button.h"
#include "skin/report_ctrl.h"
#include "tests/mainwnd/main_window_harness.h"

using qx::keyassign::window::Quilvane_DlgComposite;
using qx::mainwnd::test::MainWindowHarness;
namespace kw = qx::keyassign::window;
namespace mw = qx::mainwnd;
namespace kb = qx::keyboard;

namespace {

constexpr int kKeyA = 1058;
constexpr int kEntryA = 0x1E;
constexpr int kGKeyG9 = 1143;
constexpr int kEntryG9 = 256 + 8;  // bank 0

void Click(mw::CQuilvaneDlg& window, int id) {
    window.Messages().SendWindowMessage(qx::platform::kCommandMessage, id, 0);
}

// A key event as the desktop delivers it, to the widget that has the focus in the window.
void Key(Quilvane_DlgComposite& dialog, QEvent::Type type, uint32_t input, int qtKey,
         bool autoRepeat = false) {
    QKeyEvent event(type, qtKey, Qt::NoModifier, input + qx::platform::kNativeKeyCodeOffset, 0, 0,
                    {}, autoRepeat);
    QWidget* target = dialog.focusWidget() != nullptr ? dialog.focusWidget() : &dialog;
    QApplication::sendEvent(target, &event);
}

void Stroke(Quilvane_DlgComposite& dialog, uint32_t input, int qtKey) {
    Key(dialog, QEvent::KeyPress, input, qtKey);
    Key(dialog, QEvent::KeyRelease, input, qtKey);
}

// Clicks `controlId` on the main window and runs `body` while the window it opens is shown; the
// window is cancelled afterwards if `body` left it open. False when it did not open.
bool WhileOpen(MainWindowHarness& harness, int controlId,
               const std::function<void(Quilvane_DlgComposite&)>& body) {
    bool ran = false;
    QTimer::singleShot(0, [&] {
        Quilvane_DlgComposite* dialog = harness.Window().KeyAssignmentWindow();
        if (dialog == nullptr || !dialog->isVisible()) {
            return;
        }
        ran = true;
        body(*dialog);
        dialog->CloseIfOpen();
    });
    Click(harness.Window(), controlId);
    return ran;
}

qx::keyassign::Assignment EntryOf(int entry, int profile = 0) {
    return qx::keyassign::ReadAssignment(qx::keyassign::AbsoluteEntryIndex(profile, entry))
        .value_or(qx::keyassign::Assignment{0xFFFF, 0, 0});
}

// The key action the keyboard holds at A's place in profile 0's layout.
std::array<uint8_t, 3> ActionOfAOnKeyboard(MainWindowHarness& harness) {
    qx::sim::Keyboard& keyboard = harness.Keyboard().Model();
    const std::vector<uint8_t> bytes =
        keyboard.Read(qx::sim::Area::kDefaultLayout, 0, qx::device::kKeyLayoutSize);
    qx::device::KeyLayout defaults{};
    std::copy(bytes.begin(), bytes.end(), defaults.begin());
    for (std::size_t position = 0; position < qx::device::kLayoutPositions; ++position) {
        if (qx::device::EntryOfPosition(defaults, position) == kEntryA) {
            const std::vector<uint8_t> action =
                keyboard.Read(qx::sim::Area::kProfileLayouts, position * 3, 3);
            return {action[0], action[1], action[2]};
        }
    }
    return {};
}

}  // namespace

class CompositeTest : public QObject {
    Q_OBJECT

  private slots:
    void clickAPressBOkApplyWritesBToAsPlace();
    void enterEscapeAndHeldKeysAreCapturedOnceWithoutClosing();
    void mediaKeysAreNotCapturedAndPrintScreenIsTakenOnRelease();
    void mouseChoiceShowsTheMouseListAndAssignsItsRow();
    void functionPageAppliedUntouchedAssignsFunctionZero();
    void keyAssignedToItselfStoresTheDefault();
    void cancelDiscardsEverythingSinceTheLastApply();
    void profileSwitchIsRefusedWhileOpen();
    void exitSequenceClosesTheOpenWindow();
    void macroOnlyFromG9AndTheMacroButton();
    void missingPictureEndsTheProgramAtTheFirstOpeningOnly();
};

void CompositeTest::clickAPressBOkApplyWritesBToAsPlace() {
    MainWindowHarness harness;
    QVERIFY(harness.Start());
    mw::CQuilvaneDlg& window = harness.Window();
    QVERIFY(WhileOpen(harness, kKeyA, [&](Quilvane_DlgComposite& dialog) {
        QCOMPARE(dialog.EntryIndex(), kEntryA);
        // The key stays highlighted while its window is open.
        QVERIFY(window.Button(kKeyA)->Sheets().normal != window.Sheets().Get(mw::Sheet::kNormal));
        Stroke(dialog, KEY_B, Qt::Key_B);
        QCOMPARE(dialog.CapturedKey(), kb::KeyCode{0x030});
        QCOMPARE(static_cast<QLineEdit*>(dialog.Control(kw::kIdKeyBox))->text(), QString("B"));
        QVERIFY(dialog.Button(kw::kIdApply)->isEnabled());
        dialog.OnCommand(kw::kIdOk);
        QVERIFY(!dialog.isVisible());
    }));
    QCOMPARE(EntryOf(kEntryA).kind, qx::keyassign::kKindKey);
    QCOMPARE(EntryOf(kEntryA).value, 0x030U);
    QVERIFY(window.IsApplyEnabled());
    QVERIFY(window.Button(kKeyA)->IsMarked());
    QCOMPARE(window.Button(kKeyA)->Sheets().normal, window.Sheets().Get(mw::Sheet::kNormal));
    Click(window, mw::kIdApply);
    QVERIFY(harness.Settle());
    QCOMPARE(ActionOfAOnKeyboard(harness), (std::array<uint8_t, 3>{0x02, 0x02, 0x05}));
}

void CompositeTest::enterEscapeAndHeldKeysAreCapturedOnceWithoutClosing() {
    MainWindowHarness harness;
    QVERIFY(harness.Start());
    QVERIFY(WhileOpen(harness, kKeyA, [&](Quilvane_DlgComposite& dialog) {
        Stroke(dialog, KEY_ENTER, Qt::Key_Return);
        QCOMPARE(dialog.CapturedKey(), kb::KeyCode{0x01C});
        Stroke(dialog, KEY_ESC, Qt::Key_Escape);
        QCOMPARE(dialog.CapturedKey(), kb::KeyCode{0x001});
        QVERIFY(dialog.isVisible());
        // A held key: its first press is taken, the automatic repeats are not.
        Key(dialog, QEvent::KeyPress, KEY_C, Qt::Key_C);
        QCOMPARE(dialog.CapturedKey(), kb::KeyCode{0x02E});
        dialog.OnCommand(kw::kIdClear);
        Key(dialog, QEvent::KeyRelease, KEY_C, Qt::Key_C, true);
        Key(dialog, QEvent::KeyPress, KEY_C, Qt::Key_C, true);
        QCOMPARE(dialog.Kind(), qx::keyassign::kKindDefault);
        QVERIFY(static_cast<QLineEdit*>(dialog.Control(kw::kIdKeyBox))->text().isEmpty());
    }));
}

void CompositeTest::mediaKeysAreNotCapturedAndPrintScreenIsTakenOnRelease() {
    MainWindowHarness harness;
    QVERIFY(harness.Start());
    QVERIFY(WhileOpen(harness, kKeyA, [&](Quilvane_DlgComposite& dialog) {
        Stroke(dialog, KEY_VOLUMEUP, Qt::Key_VolumeUp);
        QCOMPARE(dialog.CapturedKey(), kb::kNoKey);
        QVERIFY(!dialog.IsModified());
        Key(dialog, QEvent::KeyPress, KEY_SYSRQ, Qt::Key_Print);
        QCOMPARE(dialog.CapturedKey(), kb::kNoKey);
        Key(dialog, QEvent::KeyRelease, KEY_SYSRQ, Qt::Key_Print);
        QCOMPARE(dialog.CapturedKey(), kb::KeyCode{0x137});
        dialog.OnCommand(kw::kIdOk);
    }));
    QCOMPARE(EntryOf(kEntryA).value, 0x137U);
}

void CompositeTest::mouseChoiceShowsTheMouseListAndAssignsItsRow() {
    MainWindowHarness harness;
    QVERIFY(harness.Start());
    QVERIFY(WhileOpen(harness, kKeyA, [&](Quilvane_DlgComposite& dialog) {
        QWidget* choice = dialog.Control(kw::kIdMouseChoice);
        const QPoint centre(choice->width() / 2, choice->height() / 2);
        // Events run between press and release, as on a real desktop.
        QTest::mousePress(choice, Qt::LeftButton, {}, centre);
        QTest::qWait(20);
        QTest::mouseRelease(choice, Qt::LeftButton, {}, centre);
        auto* list = static_cast<QComboBox*>(dialog.Control(kw::kIdMouseList));
        QVERIFY(list->isVisible());
        QVERIFY(!dialog.Control(kw::kIdKeyBox)->isVisible());
        QCOMPARE(list->count(), 5);
        list->setCurrentIndex(3);
        dialog.OnCommand(kw::kIdOk);
    }));
    QCOMPARE(EntryOf(kEntryA).kind, qx::keyassign::kKindKey);
    QCOMPARE(EntryOf(kEntryA).value, 0x161U);  // wheel up
}

void CompositeTest::functionPageAppliedUntouchedAssignsFunctionZero() {
    MainWindowHarness harness;
    QVERIFY(harness.Start());
    QVERIFY(WhileOpen(harness, kKeyA, [&](Quilvane_DlgComposite& dialog) {
        dialog.OnCommand(kw::kIdPageFunction);
        QCOMPARE(dialog.CurrentPage(), kw::Page::Function);
        QVERIFY(dialog.Control(kw::kIdFunctionList)->isVisible());
        QVERIFY(!dialog.Control(kw::kIdKeyBox)->isVisible());
        // Away from the single-key page F1 opens help and Escape still does not close.
        Stroke(dialog, KEY_F1, Qt::Key_F1);
        QCOMPARE(harness.helpOpened, 1);
        Stroke(dialog, KEY_ESC, Qt::Key_Escape);
        QVERIFY(dialog.isVisible());
        dialog.OnCommand(kw::kIdApply);
        QVERIFY(!dialog.Button(kw::kIdApply)->isEnabled());
        QVERIFY(dialog.isVisible());
    }));
    QCOMPARE(EntryOf(kEntryA).kind, qx::keyassign::kKindFunction);
    QCOMPARE(EntryOf(kEntryA).value, 0U);
    // Clear from another page: the single-key page without a key, the key's own function.
    QVERIFY(WhileOpen(harness, kKeyA, [&](Quilvane_DlgComposite& dialog) {
        QCOMPARE(dialog.CurrentPage(), kw::Page::Function);
        dialog.OnCommand(kw::kIdClear);
        QCOMPARE(dialog.CurrentPage(), kw::Page::SingleKey);
        QCOMPARE(dialog.Kind(), qx::keyassign::kKindDefault);
        dialog.OnCommand(kw::kIdOk);
    }));
    QCOMPARE(EntryOf(kEntryA).kind, qx::keyassign::kKindDefault);
}

void CompositeTest::keyAssignedToItselfStoresTheDefault() {
    MainWindowHarness harness;
    QVERIFY(harness.Start());
    QVERIFY(qx::keyassign::SetAssignment(kEntryA, qx::keyassign::kKindKey, 0, 0x030));
    QVERIFY(WhileOpen(harness, kKeyA, [&](Quilvane_DlgComposite& dialog) {
        // The entry's key shows at opening.
        QCOMPARE(static_cast<QLineEdit*>(dialog.Control(kw::kIdKeyBox))->text(), QString("B"));
        Stroke(dialog, KEY_A, Qt::Key_A);
        dialog.OnCommand(kw::kIdOk);
    }));
    QCOMPARE(EntryOf(kEntryA).kind, qx::keyassign::kKindDefault);
}

void CompositeTest::cancelDiscardsEverythingSinceTheLastApply() {
    MainWindowHarness harness;
    QVERIFY(harness.Start());
    QVERIFY(WhileOpen(harness, kKeyA, [&](Quilvane_DlgComposite& dialog) {
        Stroke(dialog, KEY_B, Qt::Key_B);
        dialog.OnCommand(kw::kIdApply);
        Stroke(dialog, KEY_C, Qt::Key_C);
        dialog.OnCommand(kw::kIdPageMedia);
        dialog.OnCommand(kw::kIdCancel);
    }));
    QCOMPARE(EntryOf(kEntryA).kind, qx::keyassign::kKindKey);
    QCOMPARE(EntryOf(kEntryA).value, 0x030U);
    // The next opening starts from the entry again, with an empty key box for a kind-1 key.
    QVERIFY(qx::keyassign::SetAssignment(kEntryA, qx::keyassign::kKindDisabled, 0, 0));
    QVERIFY(WhileOpen(harness, kKeyA, [&](Quilvane_DlgComposite& dialog) {
        QCOMPARE(dialog.CurrentPage(), kw::Page::SingleKey);
        QVERIFY(static_cast<QLineEdit*>(dialog.Control(kw::kIdKeyBox))->text().isEmpty());
        dialog.OnCommand(kw::kIdOk);
    }));
    QCOMPARE(EntryOf(kEntryA).kind, qx::keyassign::kKindDisabled);
}

void CompositeTest::profileSwitchIsRefusedWhileOpen() {
    MainWindowHarness harness;
    QVERIFY(harness.Start());
    int result = -1;
    QVERIFY(WhileOpen(harness, kKeyA, [&](Quilvane_DlgComposite&) {
        result = harness.Window().Profiles().SelectOnboardProfile(1);
    }));
    QCOMPARE(result, 0);
    const std::vector<std::string> texts = harness.Prompt().MessageTexts();
    QVERIFY(!texts.empty());
    QCOMPARE(texts.back(), qx::lang::LangText(qx::lang::kProfileSeelctPrompt2));
    QVERIFY(harness.Window().Profiles().SelectOnboardProfile(1) == 1);
}

void CompositeTest::exitSequenceClosesTheOpenWindow() {
    MainWindowHarness harness;
    QVERIFY(harness.Start());
    bool ended = false;
    QVERIFY(WhileOpen(harness, kKeyA, [&](Quilvane_DlgComposite& dialog) {
        Stroke(dialog, KEY_B, Qt::Key_B);
        ended = harness.Window().RunExitSequence();
        QVERIFY(!dialog.IsOpen());
    }));
    QVERIFY(ended);
    QVERIFY(harness.Window().HasEnded());
}

void CompositeTest::macroOnlyFromG9AndTheMacroButton() {
    MainWindowHarness harness;
    QVERIFY(harness.Start());
    for (const int id : {kGKeyG9, mw::kIdMacro}) {
        QVERIFY(WhileOpen(harness, id, [&](Quilvane_DlgComposite& dialog) {
            QVERIFY(dialog.IsMacroOnly());
            QCOMPARE(dialog.CurrentPage(), kw::Page::Macro);
            QVERIFY(!dialog.Button(kw::kIdPageKey)->isEnabled());
            QVERIFY(!dialog.Button(kw::kIdClear)->isEnabled());
            QVERIFY(dialog.Button(kw::kIdPageKey)->text().isEmpty());
            const QRect screen = dialog.screen()->geometry();
            QCOMPARE(dialog.pos(), QPoint((screen.width() - dialog.width()) / 2,
                                          (screen.height() - dialog.height()) / 2));
        }));
    }
    // OK gives the ninth G key the macro made in the window.
    QVERIFY(WhileOpen(harness, kGKeyG9, [&](Quilvane_DlgComposite& dialog) {
        dialog.MacroPageOf().Button(kw::kIdAddMacro).click();
        QCOMPARE(dialog.Editor().MacroCount(), 1);
        // Enter in a delay cell ends its edit and closes nothing.
        kw::MacroPage& page = dialog.MacroPageOf();
        page.ToggleRecording();
        Stroke(dialog, KEY_A, Qt::Key_A);
        page.ToggleRecording();
        qx::skin::CReportCtrl& list = page.ActionList();
        list.BeginEdit(0, qx::keyassign::kDelayColumn);
        QTRY_VERIFY(list.IsEditing() && list.CellEditor() != nullptr);
        list.CellEditor()->setText(QStringLiteral("50"));
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(list.CellEditor(), &enter);
        QVERIFY(!list.IsEditing());
        QCOMPARE(dialog.Editor().Actions().Row(0).action.delayMs, 50);
        QVERIFY(dialog.isVisible());
        dialog.OnCommand(kw::kIdOk);
    }));
    QCOMPARE(EntryOf(kEntryG9).kind, qx::keyassign::kKindMacro);
    QCOMPARE(EntryOf(kEntryG9).value, 1U);
    QCOMPARE(EntryOf(kEntryG9).parameter, uint16_t{1});
    // A key opened afterwards has every page again.
    QVERIFY(WhileOpen(harness, kKeyA, [&](Quilvane_DlgComposite& dialog) {
        QVERIFY(!dialog.IsMacroOnly());
        QVERIFY(dialog.Button(kw::kIdPageKey)->isEnabled());
    }));
}

void CompositeTest::missingPictureEndsTheProgramAtTheFirstOpeningOnly() {
    MainWindowHarness harness;
    std::filesystem::remove(harness.ProgramFolder() + "Skins/function_over.jpg");
    int ends = 0;
    qx::skin::SetSkinFatalHandler([&] { ++ends; });
    QVERIFY(harness.Start());
    QVERIFY(harness.Settle());
    QCOMPARE(ends, 0);
    QVERIFY(WhileOpen(harness, kKeyA, [&](Quilvane_DlgComposite&) { QCOMPARE(ends, 1); }));
    QVERIFY(WhileOpen(harness, kKeyA, [&](Quilvane_DlgComposite&) {}));
    qx::skin::SetSkinFatalHandler({});
    QCOMPARE(ends, 1);
}

QTEST_MAIN(CompositeTest)
#include "tst_composite.moc"
