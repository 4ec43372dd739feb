// The main window's life against the emulated keyboard: it stays hidden until a show request,
// a show request without a keyboard only shows the message, Enter and Esc never close it, arrow
// keys never change the lighting mode, messages with a wrong code do nothing, and the exit
// sequence stops at a sub-window that refuses to close.
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <thread>

#include "device/connection/device_connection.h"
#include "device/connection/device_session.h"
#include "keyboard/image_holders.h"
#include "keyboard/key_buttons.h"
#include "lang/language.h"
#include "lighting/panel/lighting_panel.h"
#include "mainwnd/main_ids.h"
#include "platform/qt_prompt.h"
#include "platform/system_messages.h"
#include "platform/testing/scripted_prompt.h"
#include "skin/png_button.h"
#include "tests/mainwnd/main_window_harness.h"
#include "widgets/about_dlg.h"
#include "widgets/tray_icon.h"

using qx::mainwnd::test::HarnessOptions;
using qx::mainwnd::test::MainWindowHarness;
namespace mw = qx::mainwnd;

namespace {

const std::string kNoDeviceText =
    "No QX480 keyboard is connected. Plug in the keyboard and try again.";

HarnessOptions WithoutKeyboard() {
    HarnessOptions options;
    options.keyboardPresent = false;
    return options;
}

// Each private message with its code, and what its handler would visibly do.
struct CodedMessage {
    uint32_t message;
    uint32_t code;
};
const std::array<CodedMessage, 7> kCodedMessages{{
    {mw::kInitMessage, mw::kInitCode},
    {mw::kKillMessage, mw::kKillCode},
    {mw::kOpenMessage, mw::kOpenCode},
    {mw::kProfileReadMessage, mw::kProfileReadCode},
    {mw::kBankMessage, mw::kBankCode},
    {mw::kLanguageMessage, mw::kLanguageCode},
    {mw::kKeyboardLeftMessage, 0},
}};

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void staysHiddenUntilShowRequest();
    void opensByItselfAtFirstAttachWithoutStartSwitch();
    void showRequestWithoutKeyboardShowsOnlyTheMessage();
    void trayDoubleClickShowsWindowOrMessage();
    void enterAndEscapeNeitherCloseNorHide();
    void arrowKeysDoNotMoveModeList();
    void okAndCancelOnlyHide();
    void wrongCodesDoNothing();
    void exitWithRefusingSubWindowStaysRunningHidden();
    void exitSequenceEndsRunModal();
    void exitClosesOpenPromptsAndNothingAfterThemRuns();
    void languageMessageForwardsFirstThenRenewsTexts();
    void keyboardLeavingHidesAndClosesSubWindows();
    void lightingChangedByKeyboardRefreshesOnce();
    void busyAnimationStepsThroughTenFrames();
};

void MainWindowTest::staysHiddenUntilShowRequest() {
    MainWindowHarness harness;
    QVERIFY(harness.Start());
    mw::CQuilvaneDlg& window = harness.Window();
    QVERIFY(!window.isVisible());
    QVERIFY(window.windowFlags().testFlag(Qt::Tool));
    // The dialog machinery's own attempts to show it do not.
    window.show();
    window.show();
    QVERIFY(!window.isVisible());
    harness.Send(mw::kOpenMessage, mw::kOpenCode);
    QVERIFY(window.isVisible());
    // Shown on request it is an application window with a taskbar entry.
    QVERIFY(!window.windowFlags().testFlag(Qt::Tool));
    QVERIFY(harness.Prompt().MessageTexts().empty());
}

void MainWindowTest::opensByItselfAtFirstAttachWithoutStartSwitch() {
    HarnessOptions options;
    options.startedWithStart = false;
    MainWindowHarness harness(options);
    QVERIFY(harness.Start());
    QVERIFY(MainWindowHarness::WaitFor([&] { return harness.Window().isVisible(); }));
}

void MainWindowTest::showRequestWithoutKeyboardShowsOnlyTheMessage() {
    MainWindowHarness harness(WithoutKeyboard());
    QVERIFY(harness.Start());
    harness.Send(mw::kOpenMessage, mw::kOpenCode);
    harness.Window().OnCommand(mw::kCmdOpen);
    QVERIFY(!harness.Window().isVisible());
    const std::vector<std::string> expected{kNoDeviceText, kNoDeviceText};
    QCOMPARE(harness.Prompt().MessageTexts(), expected);
    QVERIFY(harness.Prompt().Questions().front().caption.empty());
}

// A click too: desktops that speak StatusNotifierItem never report a double click.
void MainWindowTest::trayDoubleClickShowsWindowOrMessage() {
    {
        HarnessOptions options = WithoutKeyboard();
        options.trayAvailable = true;
        MainWindowHarness harness(options);
        QVERIFY(harness.Start());
        qx::widgets::CTrayIcon* tray = harness.Window().TrayIcon();
        QVERIFY(tray != nullptr && tray->IsValid());
        tray->OnTrayNotify(tray->Id(), qx::platform::kLeftButtonDoubleClick);
        QVERIFY(!harness.Window().isVisible());
        QCOMPARE(harness.Prompt().MessageTexts().size(), std::size_t{1});
    }
    HarnessOptions options;
    options.trayAvailable = true;
    MainWindowHarness harness(options);
    QVERIFY(harness.Start());
    qx::widgets::CTrayIcon* tray = harness.Window().TrayIcon();
    // The connection set the tray to "keyboard attached" once the window was ready.
    QVERIFY(MainWindowHarness::WaitFor([&] { return tray->IconId() == 141; }));
    tray->OnTrayNotify(tray->Id(), qx::platform::kLeftButtonDoubleClick);
    QVERIFY(harness.Window().isVisible());
    harness.Window().hide();
    tray->OnTrayNotify(tray->Id(), qx::platform::kLeftButtonUp);
    QVERIFY(harness.Window().isVisible());
}

void MainWindowTest::enterAndEscapeNeitherCloseNorHide() {
    MainWindowHarness harness;
    QVERIFY(harness.Start());
    mw::CQuilvaneDlg& window = harness.Window();
    harness.Send(mw::kOpenMessage, mw::kOpenCode);
    QVERIFY(window.isVisible());
    QSignalSpy finished(&window, &QDialog::finished);
    for (const Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter}) {
        QTest::keyClick(&window, key);
        QTest::keyClick(window.Button(mw::kIdApply), key);
    }
    QVERIFY(window.isVisible());
    QVERIFY(!window.HasEnded());
    QCOMPARE(finished.count(), 0);
    // F1 is the window's help request.
    QTest::keyClick(window.Button(mw::kIdOk), Qt::Key_F1);
    QCOMPARE(harness.helpOpened, 1);
}

void MainWindowTest::arrowKeysDoNotMoveModeList() {
    HarnessOptions options;
    options.lightingSwitchOn = true;
    MainWindowHarness harness(options);
    QVERIFY(harness.Start());
    mw::CQuilvaneDlg& window = harness.Window();
    harness.Send(mw::kOpenMessage, mw::kOpenCode);
    QComboBox* modes = window.Panel().ModeList();
    QVERIFY(modes->count() > 2);
    QVERIFY(!modes->isHidden());
    modes->setCurrentIndex(1);
    modes->setFocus();
    for (const Qt::Key key : {Qt::Key_Down, Qt::Key_Up, Qt::Key_Left, Qt::Key_Right}) {
        QTest::keyClick(modes, key);
    }
    QCOMPARE(modes->currentIndex(), 1);
    // Other keys still reach the list.
    QTest::keyClick(modes, Qt::Key_End);
    QCOMPARE(modes->currentIndex(), modes->count() - 1);
}

void MainWindowTest::okAndCancelOnlyHide() {
    MainWindowHarness harness;
    QVERIFY(harness.Start());
    mw::CQuilvaneDlg& window = harness.Window();
    for (const int id : {mw::kIdOk, mw::kIdCancel}) {
        harness.Send(mw::kOpenMessage, mw::kOpenCode);
        QVERIFY(window.isVisible());
        window.Button(id)->click();
        QVERIFY(!window.isVisible());
        QVERIFY(!window.HasEnded());
    }
    // The skin stays: the next show request shows the same window.
    harness.Send(mw::kOpenMessage, mw::kOpenCode);
    QVERIFY(window.isVisible());
    QVERIFY(window.HasBackground());
}

void MainWindowTest::wrongCodesDoNothing() {
    MainWindowHarness harness;
    mw::CQuilvaneDlg& window = harness.Window();
    harness.InitialiseOnly();  // 'INIT' and 'PROF' wait in the queue
    qx::widgets::ShowAboutWindow(&window);
    // What each handler would change: 'PROF' clears Apply, 'LED' the G keys' marks, 'LANG' the
    // captions, 0x4753 closes the about window, 'OPEN' shows, 'KILL' ends, 'INIT' sets done.
    window.SetApplyEnabled(true);
    window.Button(qx::keyboard::kGKeyButtonIds[0])->SetMarked(true);
    window.Button(mw::kIdProfileButtons[0])->setText(QStringLiteral("unchanged"));
    for (const CodedMessage& coded : kCodedMessages) {
        for (const uint32_t wrong : {coded.code + 1, coded.code ^ 0xFF000000u, 0x4d41494eu}) {
            harness.Send(coded.message, wrong, 1);
        }
    }
    QVERIFY(!window.IsInitDone());
    QVERIFY(!window.HasEnded());
    QVERIFY(!window.isVisible());
    QVERIFY(harness.Prompt().MessageTexts().empty());
    QVERIFY(window.IsApplyEnabled());
    QVERIFY(window.Button(qx::keyboard::kGKeyButtonIds[0])->IsMarked());
    QCOMPARE(window.Button(mw::kIdProfileButtons[0])->text(), QStringLiteral("unchanged"));
    QVERIFY(qx::widgets::AboutWindow() != nullptr);
    // The right codes still work afterwards.
    QVERIFY(harness.Start());
    QVERIFY(window.IsInitDone());
    QVERIFY(!window.IsApplyEnabled());
    QVERIFY(!window.Button(qx::keyboard::kGKeyButtonIds[0])->IsMarked());
    harness.Send(mw::kKeyboardLeftMessage, 0);
    QVERIFY(qx::widgets::AboutWindow() == nullptr);
}

void MainWindowTest::exitWithRefusingSubWindowStaysRunningHidden() {
    MainWindowHarness harness;
    QVERIFY(harness.Start());
    mw::CQuilvaneDlg& window = harness.Window();
    bool refuse = true;
    int asked = 0;
    window.SubWindows().Register("test window", [&] {
        ++asked;
        return !refuse;
    });
    harness.Send(mw::kOpenMessage, mw::kOpenCode);
    harness.Send(mw::kKillMessage, mw::kKillCode);
    QCOMPARE(asked, 1);
    QVERIFY(!window.isVisible());
    QVERIFY(!window.HasEnded());
    QVERIFY(qx::device::IsKeyboardAttached());
    QVERIFY(qx::platform::MainWindowTarget() != nullptr);
    // Still running: a show request shows it again, the close button tries again.
    harness.Send(mw::kOpenMessage, mw::kOpenCode);
    QVERIFY(window.isVisible());
    refuse = false;
    window.Button(mw::kIdClose)->click();
    QVERIFY(window.HasEnded());
    QVERIFY(!window.isVisible());
    QVERIFY(qx::device::CurrentDeviceSession() == nullptr);
    QVERIFY(!qx::device::IsKeyboardAttached());
    QVERIFY(qx::platform::MainWindowTarget() == nullptr);
    QVERIFY(!window.Sheets().IsBuilt());
    QVERIFY(!window.IsApplyEnabled());
    QVERIFY(qx::keyboard::Images().LockImage()->image == nullptr);
}

void MainWindowTest::exitSequenceEndsRunModal() {
    HarnessOptions options;
    options.trayAvailable = true;
    MainWindowHarness harness(options);
    mw::CQuilvaneDlg& window = harness.Window();
    QSignalSpy ended(&window, &mw::CQuilvaneDlg::Ended);
    // 'KILL' from another instance arrives once the window runs (after 'INIT', however slow the
    // start-up is).
    auto target = window.Target();
    std::thread otherInstance;
    QTimer started;
    QObject::connect(&started, &QTimer::timeout, [&] {
        if (window.IsInitDone() && !otherInstance.joinable()) {
            otherInstance = std::thread(
                [target] { target->PostWindowMessage(mw::kKillMessage, mw::kKillCode, 0); });
        }
    });
    started.start(10);
    window.RunModal();
    started.stop();
    QVERIFY(otherInstance.joinable());
    otherInstance.join();
    QCOMPARE(ended.count(), 1);
    QVERIFY(window.IsInitDone());
    QVERIFY(!window.TrayIcon()->IsValid());
    // Nothing reaches an ended window.
    window.OnCommand(mw::kCmdOpen);
    QVERIFY(!window.isVisible());
    QVERIFY(harness.Prompt().MessageTexts().empty());
}

// 'KILL' while the Defaults question, a file dialog or the question before a profile switch is
// open: it closes as answered No / Cancel, the window ends, and what waited for the answer does
// nothing (no reset, no Apply, no file, no switch, nothing sent to the keyboard).
void MainWindowTest::exitClosesOpenPromptsAndNothingAfterThemRuns() {
    for (const int command : {mw::kIdDefault, mw::kCmdBackup, mw::kCmdRestore,
                              mw::kCmdProfileMenuBase + 1, mw::kCmdFirmwareUpdate}) {
        MainWindowHarness harness;
        QVERIFY(harness.Start());
        mw::CQuilvaneDlg& window = harness.Window();
        window.SetApplyEnabled(true);  // a profile switch asks about these first
        qx::platform::QtPrompt prompt(&window, /*useNativeDialogs=*/false);
        qx::platform::testing::ScopedCurrentPrompt current(prompt);
        harness.ForgetTraffic();
        bool killed = false;
        bool leftOpen = false;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (!killed && QApplication::activeModalWidget() != nullptr) {
                killed = true;
                window.Target()->PostWindowMessage(mw::kKillMessage, mw::kKillCode, 0);
            }
        });
        poll.start(10);
        QTimer::singleShot(5000, &poll, [&] {  // an exit that leaves it open must not hang here
            if (QWidget* modal = QApplication::activeModalWidget()) {
                leftOpen = true;
                modal->close();
            }
        });
        window.OnCommand(command);
        poll.stop();
        QVERIFY2(killed, std::to_string(command).c_str());
        QVERIFY(!leftOpen);
        QVERIFY(window.HasEnded());
        QVERIFY(!window.Busy().IsBusy());
        QVERIFY(harness.CommandsSent().empty());
    }
}

void MainWindowTest::languageMessageForwardsFirstThenRenewsTexts() {
    MainWindowHarness harness;
    QVERIFY(harness.Start());
    mw::CQuilvaneDlg& window = harness.Window();
    QCOMPARE(window.Button(mw::kIdProfileButtons[0])->text(), QStringLiteral("Profile 1"));
    QCOMPARE(window.windowTitle(), QStringLiteral("Varkon QX480 Driver"));
    QString captionWhenForwarded;
    int forwardedIndex = -1;
    window.SubWindows().Register(
        "test window", [] { return true; },
        [&](int index) {
            forwardedIndex = index;
            captionWhenForwarded = window.Button(mw::kIdApply)->text();
        });
    harness.Send(mw::kLanguageMessage, mw::kLanguageCode, 1);
    QCOMPARE(forwardedIndex, 1);
    QCOMPARE(captionWhenForwarded, QStringLiteral("Apply"));
    QCOMPARE(window.Button(mw::kIdProfileButtons[0])->text(), QStringLiteral("Perfil 1"));
    QCOMPARE(window.Button(mw::kIdApply)->text(), QStringLiteral("Aplicar"));
    QCOMPARE(window.Button(mw::kIdApply)->CaptionFont().family(), QStringLiteral("DejaVu Sans"));
    QCOMPARE(window.Button(mw::kIdClose)->TooltipText(),
             QString::fromStdString(qx::lang::LoadLangText("MAIN_CLOSE_PROMPT", 1)));
    auto* label = qobject_cast<QLabel*>(window.Control(mw::kIdLampLabel));
    QCOMPARE(label->text(), QString::fromStdString(qx::lang::LoadLightText("Deng", 1)));
}

void MainWindowTest::keyboardLeavingHidesAndClosesSubWindows() {
    MainWindowHarness harness;
    QVERIFY(harness.Start());
    mw::CQuilvaneDlg& window = harness.Window();
    int asked = 0;
    window.SubWindows().Register("test window", [&] {
        ++asked;
        return false;  // a refusal does not matter here
    });
    harness.Send(mw::kOpenMessage, mw::kOpenCode);
    QVERIFY(window.isVisible());
    harness.Keyboard().Model().Unplug();
    QVERIFY(MainWindowHarness::WaitFor([&] { return asked == 1 && !window.isVisible(); }));
    QVERIFY(harness.Settle());
    QVERIFY(!qx::device::IsKeyboardAttached());
    QVERIFY(!window.HasEnded());
}

void MainWindowTest::lightingChangedByKeyboardRefreshesOnce() {
    MainWindowHarness harness;
    QVERIFY(harness.Start());
    mw::CQuilvaneDlg& window = harness.Window();
    const auto sentBefore = harness.Keyboard().CommandsSent().size();
    constexpr uint16_t kLightingChanged = 0x0401;
    harness.Keyboard().Model().SendEvent(kLightingChanged);
    QVERIFY(MainWindowHarness::WaitFor([&] {
        return harness.Keyboard().CommandsSent().size() > sentBefore &&
               !window.Messages().IsTimerActive(mw::kLightingRefreshTimer);
    }));
    QVERIFY(harness.Settle());
    const auto sentByRefresh = harness.Keyboard().CommandsSent().size() - sentBefore;
    QTest::qWait(50);
    QCOMPARE(harness.Keyboard().CommandsSent().size() - sentBefore, sentByRefresh);
}

void MainWindowTest::busyAnimationStepsThroughTenFrames() {
    MainWindowHarness harness;
    QVERIFY(harness.Start());
    mw::CQuilvaneDlg& window = harness.Window();
    QStringList seen;
    window.Busy().StartAnimation();
    QVERIFY(MainWindowHarness::WaitFor([&] {
        const QString now = window.Panel().PictureOf(mw::kIdProgress);
        if (!now.isEmpty() && (seen.isEmpty() || seen.back() != now)) {
            seen.push_back(now);
        }
        return seen.size() >= 12;
    }));
    QCOMPARE(seen.mid(0, 3), QStringList({"jdt1.bmp", "jdt2.bmp", "jdt3.bmp"}));
    QCOMPARE(seen.at(9), QStringLiteral("jdt10.bmp"));
    QCOMPARE(seen.at(10), QStringLiteral("jdt1.bmp"));
    QVERIFY(window.Panel().ProgressShown());
    QVERIFY(!window.Control(mw::kIdProgress)->isHidden());
    window.Busy().StopAnimation();
    QVERIFY(MainWindowHarness::WaitFor([&] {
        return !window.Panel().ProgressShown() &&
               !window.Messages().IsTimerActive(mw::kBusyAnimationTimer);
    }));
    QVERIFY(window.Control(mw::kIdProgress)->isHidden());
}

QTEST_MAIN(MainWindowTest)
#include "tst_main_window.moc"
