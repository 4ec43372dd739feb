// The macro page in a stand-in window: recordings typed as a Linux desktop delivers the keys
// (native scan codes, flagged automatic repeats, Print Screen as press and release) through the
// page's own key filter, what the controls show and allow while a recording runs, the delay edit,
// and the selector's renaming.
#include <linux/input-event-codes.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QShortcut>
#include <QTest>
#include <memory>
#include <string>
#include <vector>

#include "keyassign/action_texts.h"
#include "keyassign/window/macro_page/macro_page.h"
#include "keyboard/image_holders.h"
#include "keyboard/key_lookup.h"
#include "keyboard/key_table.h"
#include "lang/language.h"
#include "platform/memory_settings_store.h"
#include "platform/native_scan_codes.h"
#include "platform/program_paths.h"
#include "platform/settings_store.h"
#include "platform/testing/scripted_prompt.h"
#include "platform/unicode_text.h"
#include "profiles/profile_file.h"
#include "skin/png_button.h"
#include "skin/report_ctrl.h"
#include "tests/platform/temp_folder.h"

using qx::keyassign::MacroEditor;
using qx::keyboard::MacroAction;
using namespace qx::keyassign::window;
namespace skin = qx::skin;

namespace {

constexpr const char* kLanguage =
    "[TEXT]\n"
    "IDS_KEYBOARD_A=A\n"
    "MACRO_NEW_PREFIX=Macro\n"
    "MACRO_ACTION_RECORD_DELAY=Record delays\n"
    "MACRO_ACTION_RECORD=Record\n"
    "MACRO_ACTION_STOP_RECORD=Stop\n"
    "A_RECORD=Rec\n"
    "MACRO_ACTION_ERR_DELAY_MAX=At most %d ms\n";

constexpr uint16_t kDown = qx::keyboard::kMacroPress;
constexpr uint16_t kUp = qx::keyboard::kMacroRelease;

const QInputDevice* TestKeyboard() {
    static const QInputDevice keyboard(QStringLiteral("test keyboard"), 1,
                                       QInputDevice::DeviceType::Keyboard);
    return &keyboard;
}

class CountingWindow : public qx::keyassign::EditObserver {
  public:
    void MarkModified() override { ++modified; }
    int modified = 0;
};

}  // namespace

class MacroPageTest : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void cleanup();
    void recordsEveryKeyOnceWithoutClosing();
    void recordsMeasuredDelaysAndPrintScreen();
    void unflaggedRepeatsAreOneStroke();
    void delayEditStopsRecordingAndRounds();
    void selectorRenamesOnlyWhatIsTyped();
    void keyAndActionCellsOfferDropDowns();

  private:
    void OpenWithMacro(const char* name);
    // A key event as the desktop delivers it, sent to the widget with the focus.
    void Key(QEvent::Type type, uint32_t input, int qtKey, bool autoRepeat = false,
             uint64_t timestamp = 0);
    void Stroke(uint32_t input, int qtKey) {
        Key(QEvent::KeyPress, input, qtKey);
        Key(QEvent::KeyRelease, input, qtKey);
    }
    std::vector<MacroAction> Rows() const;

    std::unique_ptr<qx::testing::TempFolder> folder_;
    std::string savedFolder_;
    qx::platform::MemorySettingsStore settings_;
    qx::platform::testing::ScriptedPrompt prompt_;
    int64_t now_ = 0;
    std::unique_ptr<QDialog> dialog_;
    CountingWindow window_;
    std::unique_ptr<MacroEditor> editor_;
    std::unique_ptr<MacroPage> page_;
};

void MacroPageTest::init() {
    folder_ = std::make_unique<qx::testing::TempFolder>();
    savedFolder_ = qx::platform::GetProgramPaths().folder;
    qx::platform::SetProgramFolder(folder_->path());
    qx::testing::WriteBytes(folder_->File("Lang0409.ini"), kLanguage);
    settings_.WriteUserDword(qx::lang::kLanguageIdValue, 0x0409);
    qx::platform::SetCurrentSettings(&settings_);
    qx::platform::SetCurrentPrompt(&prompt_);
    qx::keyboard::Images().Reset();
    {
        const qx::keyboard::ImageGuard guard = qx::keyboard::Images().LockImage();
        qx::profiles::WriteDefaultProfileFile(std::nullopt, 0, true);
    }
    now_ = 1000;
    dialog_ = std::make_unique<QDialog>();
    editor_ = std::make_unique<MacroEditor>(qx::keyassign::NoEditObserver(),
                                            qx::keyassign::MacroEditorServices{&prompt_, [] {}});
    page_ = std::make_unique<MacroPage>(*dialog_, std::string(), *editor_, window_,
                                        [this] { return now_; });
    page_->ApplyLanguage(0);
}

void MacroPageTest::cleanup() {
    page_.reset();
    editor_.reset();
    dialog_.reset();
    qx::keyboard::Images().Reset();
    qx::platform::SetCurrentPrompt(nullptr);
    qx::platform::SetCurrentSettings(nullptr);
    qx::platform::SetProgramFolder(savedFolder_);
    folder_.reset();
}

void MacroPageTest::OpenWithMacro(const char* name) {
    qx::keyboard::MacroRecord record;
    record.SetId(1);
    record.SetName(qx::platform::Utf8ToUtf16(name));
    record.SetRepeatCount(1);
    qx::keyboard::Images().LockImage()->macros = {record};
    page_->Open();
    page_->SelectFirstMacro();
    dialog_->resize(600, 460);
    dialog_->show();
    page_->Show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog_.get()));
    page_->ActionList().setFocus();
}

void MacroPageTest::Key(QEvent::Type type, uint32_t input, int qtKey, bool autoRepeat,
                        uint64_t timestamp) {
    QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : dialog_.get();
    QKeyEvent event(type, qtKey, Qt::NoModifier, input + qx::platform::kNativeKeyCodeOffset, 0, 0,
                    {}, autoRepeat, 1, TestKeyboard());
    event.setTimestamp(timestamp);
    QApplication::sendEvent(target, &event);
}

std::vector<MacroAction> MacroPageTest::Rows() const {
    std::vector<MacroAction> rows;
    for (const qx::keyassign::ActionRow& row : editor_->Actions().Rows()) {
        rows.push_back(row.action);
    }
    return rows;
}

// Delays off: a held key is one press and one release; Escape, Enter and F1 are recorded and the
// window stays open; Super is the left Windows key. While it runs, the record button is marked
// and says Stop, and add, delete and the selector are off.
void MacroPageTest::recordsEveryKeyOnceWithoutClosing() {
    OpenWithMacro("One");
    skin::CPngButton& record = page_->Button(kIdRecord);
    QCOMPARE(record.text(), QStringLiteral("Rec"));
    QTest::mouseClick(&record, Qt::LeftButton);
    QVERIFY(page_->IsRecording());
    QVERIFY(record.IsMarked());
    QCOMPARE(record.text(), QStringLiteral("Stop"));
    QVERIFY(!page_->Button(kIdAddMacro).isEnabled());
    QVERIFY(!page_->Button(kIdDeleteMacro).isEnabled());
    QVERIFY(!page_->Selector().isEnabled());
    QVERIFY(page_->Button(kIdDeleteAction).isEnabled());

    Key(QEvent::KeyPress, KEY_A, Qt::Key_A);
    for (int i = 0; i < 3; ++i) {  // Qt's automatic repeats: a flagged release and press
        Key(QEvent::KeyRelease, KEY_A, Qt::Key_A, true);
        Key(QEvent::KeyPress, KEY_A, Qt::Key_A, true);
    }
    Key(QEvent::KeyRelease, KEY_A, Qt::Key_A);
    Stroke(KEY_ESC, Qt::Key_Escape);
    Stroke(KEY_ENTER, Qt::Key_Return);
    // F1 through the desktop's path, shortcuts first: the window's help never opens.
    int helpOpened = 0;
    QShortcut help(QKeySequence(Qt::Key_F1), dialog_.get());
    connect(&help, &QShortcut::activated, [&helpOpened] { ++helpOpened; });
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
    QCOMPARE(helpOpened, 0);
    Stroke(KEY_LEFTMETA, Qt::Key_Super_L);
    QVERIFY(dialog_->isVisible());
    QTest::mouseClick(&record, Qt::LeftButton);

    const std::vector<uint16_t> keys{0x01E, 0x01E, 0x001, 0x001, 0x01C,
                                     0x01C, 0x03B, 0x03B, 0x15B, 0x15B};
    const std::vector<MacroAction> rows = Rows();
    QCOMPARE(rows.size(), keys.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        QCOMPARE(rows[i].keyCode, keys[i]);
        QCOMPARE(rows[i].action, i % 2 == 0 ? kDown : kUp);
        QCOMPARE(rows[i].delayMs, i + 1 == rows.size() ? 0 : 50);
    }
    skin::CReportCtrl& list = page_->ActionList();
    QCOMPARE(list.rowCount(), static_cast<int>(rows.size()));
    QCOMPARE(list.GetCellText(1, 1), QString::fromUtf8("  \xE2\x86\x91"));
    QCOMPARE(list.GetCellText(0, 2), QStringLiteral("50"));
    QCOMPARE(list.FindNextRow(skin::kRowSelected), static_cast<int>(rows.size()) - 1);

    QVERIFY(!page_->IsRecording());
    QVERIFY(!record.IsMarked());
    QCOMPARE(record.text(), QStringLiteral("Record"));
    QVERIFY(page_->Button(kIdAddMacro).isEnabled());
    QVERIFY(page_->Selector().isEnabled());
    // Without a recording Escape is the window's again.
    Stroke(KEY_ESC, Qt::Key_Escape);
    QVERIFY(!dialog_->isVisible());
}

// Delays on: the measured gaps; Print Screen's press (which the desktop may act on) records
// nothing, its release the press with 2 ms and then the release. A page change stops.
void MacroPageTest::recordsMeasuredDelaysAndPrintScreen() {
    OpenWithMacro("One");
    QTest::mouseClick(&page_->RecordDelayBox(), Qt::LeftButton);
    QVERIFY(page_->RecordDelayBox().isChecked());
    QCOMPARE(page_->Recorder().RecordDelay(), qx::keyassign::kRecordDelayOn);
    page_->ToggleRecording();
    now_ = 1100;
    Key(QEvent::KeyPress, KEY_A, Qt::Key_A);
    now_ = 1250;
    Key(QEvent::KeyRelease, KEY_A, Qt::Key_A);
    now_ = 1300;
    Key(QEvent::KeyPress, KEY_SYSRQ, Qt::Key_Print);
    QCOMPARE(Rows().size(), std::size_t{2});
    now_ = 1400;
    Key(QEvent::KeyRelease, KEY_SYSRQ, Qt::Key_Print);
    now_ = 1500;
    page_->Hide();  // a page change stops the recording; the last release keeps its time
    QVERIFY(!page_->IsRecording());
    const std::vector<MacroAction> expected{
        {150, 0x01E, kDown}, {2, 0x01E, kUp}, {150, 0x137, kDown}, {0, 0x137, kUp}};
    QCOMPARE(Rows(), expected);
}

// A held key as X11 may deliver it: releases and presses at one instant, or presses alone, that
// Qt does not flag as repeats. Either way one press and one release.
void MacroPageTest::unflaggedRepeatsAreOneStroke() {
    OpenWithMacro("One");
    page_->ToggleRecording();
    Key(QEvent::KeyPress, KEY_B, Qt::Key_B, false, 100);
    for (const uint64_t at : {600, 640, 680}) {
        Key(QEvent::KeyRelease, KEY_B, Qt::Key_B, false, at);
        Key(QEvent::KeyPress, KEY_B, Qt::Key_B, false, at);
    }
    Key(QEvent::KeyRelease, KEY_B, Qt::Key_B, false, 700);
    Key(QEvent::KeyPress, KEY_C, Qt::Key_C, false, 800);
    Key(QEvent::KeyPress, KEY_C, Qt::Key_C, false, 1300);
    Key(QEvent::KeyPress, KEY_C, Qt::Key_C, false, 1340);
    Key(QEvent::KeyRelease, KEY_C, Qt::Key_C, false, 1400);
    // The last release is recorded once no press follows it.
    QTRY_COMPARE(Rows().size(), std::size_t{4});
    const std::vector<uint16_t> keys{0x030, 0x030, 0x02E, 0x02E};
    for (std::size_t i = 0; i < keys.size(); ++i) {
        QCOMPARE(Rows()[i].keyCode, keys[i]);
        QCOMPARE(Rows()[i].action, i % 2 == 0 ? kDown : kUp);
    }
}

// Editing a delay stops the recording first; the typed number is rounded down to 10 ms.
void MacroPageTest::delayEditStopsRecordingAndRounds() {
    OpenWithMacro("One");
    page_->ToggleRecording();
    Stroke(KEY_A, Qt::Key_A);
    skin::CReportCtrl& list = page_->ActionList();
    list.BeginEdit(0, qx::keyassign::kDelayColumn);
    QVERIFY(!page_->IsRecording());
    // The stop recorded A's release, held back until then; the edit of row 0 goes on.
    QCOMPARE(editor_->Actions().Count(), 2);
    QTRY_VERIFY(list.IsEditing() && list.CellEditor() != nullptr);
    QCOMPARE(list.EditRow(), 0);
    list.CellEditor()->setText(QStringLiteral("12345"));
    list.EndEdit(true);
    QCOMPARE(editor_->Actions().Row(0).action.delayMs, 12340);
    QCOMPARE(list.GetCellText(0, 2), QStringLiteral("12340"));
}

// Typing renames the selected macro and keeps what is typed in the edit; choosing another macro
// in the drop-down renames nothing.
void MacroPageTest::selectorRenamesOnlyWhatIsTyped() {
    OpenWithMacro("One");
    editor_->AddMacro();
    QComboBox& selector = page_->Selector();
    QCOMPARE(selector.count(), 2);
    QCOMPARE(selector.currentIndex(), 1);
    selector.lineEdit()->selectAll();
    QTest::keyClicks(selector.lineEdit(), QStringLiteral("On"));
    // "O" and "On" begin "One", so they are in use: each keystroke gives the macro the next
    // default name, and the edit keeps what is typed.
    QCOMPARE(selector.lineEdit()->text(), QStringLiteral("On"));
    QCOMPARE(QString::fromStdString(editor_->MacroNameAt(1)), QStringLiteral("Macro3"));
    QTest::keyClicks(selector.lineEdit(), QStringLiteral("ly"));
    QCOMPARE(QString::fromStdString(editor_->MacroNameAt(1)), QStringLiteral("Only"));
    selector.setCurrentIndex(0);
    QCOMPARE(editor_->SelectedMacro(), 0);
    QCOMPARE(QString::fromStdString(editor_->MacroNameAt(0)), QStringLiteral("One"));
    QCOMPARE(QString::fromStdString(editor_->MacroNameAt(1)), QStringLiteral("Only"));
    QCOMPARE(selector.lineEdit()->text(), QStringLiteral("One"));
}

// The key column offers the picker's names in a 20-row drop-down, the action column press and
// release in a 6-row one; a chosen entry becomes the row's key or action and ends the edit.
void MacroPageTest::keyAndActionCellsOfferDropDowns() {
    OpenWithMacro("One");
    editor_->InsertAction({10, 0x01E, kDown}, false, false);
    skin::CReportCtrl& list = page_->ActionList();
    auto* picker = list.viewport()->findChild<QComboBox*>();
    QVERIFY(picker != nullptr);

    list.BeginEdit(0, qx::keyassign::kKeyColumn);
    QVERIFY(picker->isVisible());
    QCOMPARE(picker->count(), static_cast<int>(qx::keyboard::kPickerCount));
    QCOMPARE(picker->maxVisibleItems(), 20);
    QCOMPARE(picker->currentIndex(), static_cast<int>(qx::keyboard::PickerOfKeyCode(0x01E)));
    const int escape = qx::keyboard::PickerOfKeyCode(0x001);
    picker->setCurrentIndex(escape);
    emit picker->activated(escape);
    QVERIFY(!picker->isVisible());
    QVERIFY(!list.IsEditing());
    QCOMPARE(editor_->Actions().Row(0).action.keyCode, qx::keyboard::KeyCodeOfPicker(escape));
    QCOMPARE(list.GetCellText(0, 0), picker->itemText(escape));

    list.BeginEdit(0, qx::keyassign::kActionColumn);
    QCOMPARE(picker->count(), 2);
    QCOMPARE(picker->maxVisibleItems(), 6);
    picker->setCurrentIndex(1);
    emit picker->activated(1);
    QCOMPARE(editor_->Actions().Row(0).action.action, kUp);
    QCOMPARE(list.GetCellText(0, 1), QString::fromUtf8("  \xE2\x86\x91"));
}

QTEST_MAIN(MacroPageTest)
#include "tst_macro_page.moc"
