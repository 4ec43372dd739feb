// The main window with the emulated keyboard behind it: the image read back when the keyboard
// reports its profile, the profile menu and button, the G-key bank switch, key clicks in the
// key assignment and lighting modes, and the hidden test command.
#include <QTest>
#include <QTimer>
#include <algorithm>

#include "device/connection/current_profile.h"
#include "device/connection/default_key_layout.h"
#include "device/link/command_packet.h"
#include "device/transfer/key_action_layout.h"
#include "keyassign/window/quilvane_dlg_composite.h"
#include "keyboard/image_holders.h"
#include "keyboard/key_buttons.h"
#include "lighting/lighting_layout.h"
#include "lighting/lighting_model.h"
#include "lighting/panel/lighting_panel.h"
#include "mainwnd/main_ids.h"
#include "sim/keyboard_memory.h"
#include "skin/png_button.h"
#include "tests/mainwnd/main_window_harness.h"
#include "widgets/profile_menu.h"

using qx::mainwnd::test::HarnessOptions;
using qx::mainwnd::test::MainWindowHarness;
namespace mw = qx::mainwnd;

namespace {

constexpr int kKeyA = 1058;
constexpr int kEntryA = 0x1E;
constexpr uint16_t kBankSwitchEvent = 0x02FF;

// Assigns B to A in onboard profile `profile` of the keyboard's own memory.
void AssignBToAOnKeyboard(qx::sim::Keyboard& keyboard, int profile) {
    const std::vector<uint8_t> bytes =
        keyboard.Read(qx::sim::Area::kDefaultLayout, 0, qx::device::kKeyLayoutSize);
    qx::device::KeyLayout defaults{};
    std::copy(bytes.begin(), bytes.end(), defaults.begin());
    for (std::size_t position = 0; position < qx::device::kLayoutPositions; ++position) {
        if (qx::device::EntryOfPosition(defaults, position) == kEntryA) {
            const std::array<uint8_t, 3> keyB{qx::device::kActionKeyboard, qx::device::kKeySub,
                                              0x05};
            keyboard.Write(qx::sim::Area::kProfileLayouts,
                           profile * qx::device::kKeyLayoutSize + position * 3, keyB);
            return;
        }
    }
    QFAIL("A has no place in the default layout");
}

int CommandsNumbered(MainWindowHarness& harness, uint8_t command) {
    const auto sent = harness.Keyboard().CommandsSent();
    return static_cast<int>(std::count_if(sent.begin(), sent.end(), [&](const auto& packet) {
        return packet[qx::device::kCommandOffset] == command;
    }));
}

}  // namespace

class MainDeviceTest : public QObject {
    Q_OBJECT

  private slots:
    void profileReadShowsKeysAssignedOnTheKeyboard();
    void failedReadBackKeepsTheLastGoodStore();
    void profileMenuNamesTheActiveProfile();
    void profileMenuChecksDefaultItemWhenProfileIsUnknown();
    void bankSwitchUpdatesOnlyTheGKeyMarks();
    void keyClicksWithTheLightingSwitchOffSendNothingAndKeepTheSheets();
    void keyClicksLightKeysWhileTheSwitchIsOn();
    void hiddenTestButtonSendsTheTestCommandOnce();
};

void MainDeviceTest::profileReadShowsKeysAssignedOnTheKeyboard() {
    MainWindowHarness harness;
    QVERIFY(harness.Start());
    mw::CQuilvaneDlg& window = harness.Window();
    QVERIFY(!window.Button(kKeyA)->IsMarked());
    QVERIFY(window.Button(mw::kIdProfileButtons[0])->IsMarked());
    AssignBToAOnKeyboard(harness.Keyboard().Model(), 0);
    window.SetApplyEnabled(true);
    harness.Send(mw::kProfileReadMessage, mw::kProfileReadCode);
    qx::skin::CPngButton* keyA = window.Button(kKeyA);
    QVERIFY(keyA->IsMarked());
    QVERIFY(keyA->TooltipText().startsWith(QStringLiteral("A")));
    QVERIFY(keyA->TooltipText().contains(QStringLiteral("B)")));
    QVERIFY(!window.Button(1075)->IsMarked());  // B itself keeps its function
    QVERIFY(!window.IsApplyEnabled());
    const int marked =
        static_cast<int>(std::count_if(mw::kIdProfileButtons.begin(), mw::kIdProfileButtons.end(),
                                       [&](int id) { return window.Button(id)->IsMarked(); }));
    QCOMPARE(marked, 1);
    QCOMPARE(window.Lighting()->LightingProfile(), 0);
    QVERIFY(QFile::exists(
        QString::fromStdString(harness.DataFolder() + "/Varkon QX480 Driver/$Profile0")));
}

void MainDeviceTest::failedReadBackKeepsTheLastGoodStore() {
    MainWindowHarness harness;
    QVERIFY(harness.Start());
    mw::CQuilvaneDlg& window = harness.Window();
    qx::sim::Keyboard& keyboard = harness.Keyboard().Model();
    AssignBToAOnKeyboard(keyboard, 0);
    harness.Send(mw::kProfileReadMessage, mw::kProfileReadCode);
    QVERIFY(window.Button(kKeyA)->IsMarked());
    const auto readFailing = [&] {
        keyboard.FailRequests(0xFF, 1000);
        harness.Send(mw::kProfileReadMessage, mw::kProfileReadCode);
        keyboard.ClearMisbehaviour();
    };

    readFailing();
    QVERIFY(window.Button(kKeyA)->IsMarked());
    QCOMPARE(qx::keyboard::Images().LockImage()->image->Entry(0, kEntryA).Kind(),
             uint16_t{qx::keyboard::kKindKey});

    // Without a store a default image is all there is.
    QVERIFY(QFile::remove(
        QString::fromStdString(harness.DataFolder() + "/Varkon QX480 Driver/$Profile0")));
    readFailing();
    QVERIFY(!window.Button(kKeyA)->IsMarked());
    const auto guard = qx::keyboard::Images().LockImage();
    QVERIFY(guard->image != nullptr);
    QCOMPARE(guard->image->Entry(0, kEntryA).Kind(), uint16_t{qx::keyboard::kKindDefault});
    QCOMPARE(guard->image->Entry(0, 256).Parameter(), uint16_t{0x301});
}

void MainDeviceTest::profileMenuNamesTheActiveProfile() {
    MainWindowHarness harness;
    QVERIFY(harness.Start());
    mw::CQuilvaneDlg& window = harness.Window();
    qx::widgets::CProfileMenu* menu = window.ProfileMenu();
    QVERIFY(menu != nullptr);
    QCOMPARE(menu->ItemCount(), 5);
    QCOMPARE(menu->ItemCommand(0), 9000u);
    QCOMPARE(menu->ItemText(0), std::string("Default profile"));
    QCOMPARE(menu->ItemCommand(4), 9003u);
    QCOMPARE(menu->ItemText(3), std::string("$Profile0"));
    QCOMPARE(menu->CheckedPosition(), 2);
    QCOMPARE(window.Button(mw::kIdProfiles)->text(), QStringLiteral("$Profile0"));
    QCOMPARE(window.Button(mw::kIdProfiles)->TooltipText(), QStringLiteral("Profile: $Profile0"));
    // Rebuilt in place, the same menu keeps its items once.
    window.RebuildProfileMenu(false);
    QCOMPARE(window.ProfileMenu(), menu);
    QCOMPARE(menu->ItemCount(), 5);
}

void MainDeviceTest::profileMenuChecksDefaultItemWhenProfileIsUnknown() {
    HarnessOptions options;
    options.keyboardPresent = false;
    MainWindowHarness harness(options);
    QVERIFY(harness.Start());
    mw::CQuilvaneDlg& window = harness.Window();
    QCOMPARE(window.ProfileMenu()->CheckedPosition(), 0);
    QCOMPARE(window.Button(mw::kIdProfiles)->text(), QStringLiteral("Default profile"));
    QCOMPARE(window.Button(mw::kIdProfiles)->TooltipText(),
             QStringLiteral("Profile: Default profile"));
    for (const int id : mw::kIdProfileButtons) {
        QVERIFY(!window.Button(id)->IsMarked());
    }
}

void MainDeviceTest::bankSwitchUpdatesOnlyTheGKeyMarks() {
    MainWindowHarness harness;
    QVERIFY(harness.Start());
    mw::CQuilvaneDlg& window = harness.Window();
    qx::skin::CPngButton* g1 = window.Button(qx::keyboard::kGKeyButtonIds[0]);
    QCOMPARE(g1->TooltipText(), QStringLiteral("G1"));
    {
        const auto guard = qx::keyboard::Images().LockImage();
        guard->image->Entry(0, qx::keyboard::GKeyEntryIndex(0, 1))
            .SetKind(qx::keyboard::kKindMultimedia);
        guard->image->Entry(0, kEntryA).SetKind(qx::keyboard::kKindDisabled);
    }
    // The G keys' captions follow the marks from the same switch: once G1 reads B1, the
    // window has been told everything about it.
    harness.Keyboard().Model().SendEvent(kBankSwitchEvent);
    QVERIFY(MainWindowHarness::WaitFor([&] { return g1->text() == QStringLiteral("B1"); }));
    QVERIFY(harness.Settle());
    QVERIFY(g1->IsMarked());
    QVERIFY(!window.Button(qx::keyboard::kGKeyButtonIds[1])->IsMarked());
    QCOMPARE(g1->TooltipText(), QStringLiteral("G1"));  // tooltips wait for a full refresh
    QVERIFY(!window.Button(kKeyA)->IsMarked());         // and so do the other keys
    QCOMPARE(window.Button(1140)->text(), QString());
    QVERIFY(window.Button(mw::kIdBankIndicator)->IsMarked());
    harness.Keyboard().Model().SendEvent(kBankSwitchEvent);
    QVERIFY(MainWindowHarness::WaitFor([&] { return g1->text() == QStringLiteral("A1"); }));
    QVERIFY(harness.Settle());
    QVERIFY(!g1->IsMarked());
    QVERIFY(!window.Button(mw::kIdBankIndicator)->IsMarked());
}

void MainDeviceTest::keyClicksWithTheLightingSwitchOffSendNothingAndKeepTheSheets() {
    MainWindowHarness harness;
    QVERIFY(harness.Start());
    mw::CQuilvaneDlg& window = harness.Window();
    const auto sentBefore = harness.Keyboard().CommandsSent().size();
    for (const int id : {kKeyA, 1143, mw::kIdFn, mw::kIdMacro, 1211}) {
        // A key, G9 and the macro button open the key assignment window; cancelled, it sends
        // nothing either.
        QTimer::singleShot(0, &window, [&window] {
            if (auto* assignment = window.KeyAssignmentWindow(); assignment != nullptr) {
                assignment->CloseIfOpen();
            }
        });
        window.Button(id)->click();
    }
    QVERIFY(harness.Settle());
    QCOMPARE(harness.Keyboard().CommandsSent().size(), sentBefore);
    // The clicked key shows its own sheets afterwards, not the highlight of the click.
    QCOMPARE(window.Button(kKeyA)->Sheets().normal, window.Sheets().Get(mw::Sheet::kNormal));
    QCOMPARE(window.Button(kKeyA)->Sheets().marked, window.Sheets().Get(mw::Sheet::kDisable));
}

void MainDeviceTest::keyClicksLightKeysWhileTheSwitchIsOn() {
    HarnessOptions options;
    options.lightingSwitchOn = true;
    MainWindowHarness harness(options);
    QVERIFY(harness.Start());
    mw::CQuilvaneDlg& window = harness.Window();
    qx::lighting::LightingModel* lighting = window.Lighting();
    QVERIFY(lighting->PanelSwitchOn());
    QVERIFY(lighting->PerKeySupported());
    lighting->SelectMode(lighting->ModeIndexOfType(qx::lighting::kPerKeyModeType));
    lighting->SelectTool(qx::lighting::kToolPaint);
    lighting->SetLayerAll(false);
    window.Button(kKeyA)->click();
    window.Button(mw::kIdFn)->click();
    QVERIFY(lighting->IsKeyLit(qx::keyboard::KeyButtonOfId(kKeyA)->lightingIndex));
    QVERIFY(lighting->IsKeyLit(qx::keyboard::kFnLightingIndex));
    QVERIFY(window.Button(kKeyA)->IsFrameMode());
    QCOMPARE(window.Button(kKeyA)->FrameColour(), qx::lighting::panel::kLitFrameColour);
    // A G key has no light of its own: nothing else is lit.
    const auto sentBefore = harness.Keyboard().CommandsSent().size();
    window.Button(qx::keyboard::kGKeyButtonIds[0])->click();
    QCOMPARE(harness.Keyboard().CommandsSent().size(), sentBefore);
}

void MainDeviceTest::hiddenTestButtonSendsTheTestCommandOnce() {
    MainWindowHarness harness;
    QVERIFY(harness.Start());
    constexpr uint8_t kTestCommand = 0x0D;
    QCOMPARE(CommandsNumbered(harness, kTestCommand), 0);
    harness.Window().Button(mw::kIdTest)->click();
    QVERIFY(harness.Settle());
    QCOMPARE(CommandsNumbered(harness, kTestCommand), 1);
}

QTEST_MAIN(MainDeviceTest)
#include "tst_main_device.moc"
