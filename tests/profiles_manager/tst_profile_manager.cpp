// The profile manager opened from the main window's profiles button, against the emulated
// keyboard: Apply writes the settings list and selects the checked onboard profile (never one
// past the third), Add and Load append rows, Delete selects the next row, and a switch made
// elsewhere while the manager is open moves its check or asks about its changes.
#include <QApplication>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <functional>

#include "device/connection/current_profile.h"
#include "device/link/command_packet.h"
#include "keyboard/image_holders.h"
#include "keyboard/image_layout.h"
#include "lang/language.h"
#include "lang/language_keys.h"
#include "lighting/lighting_model.h"
#include "mainwnd/main_ids.h"
#include "platform/data_folder.h"
#include "platform/system_messages.h"
#include "profiles/manager/profile_manager_ids.h"
#include "profiles/manager/quilvane_dlg_profile.h"
#include "profiles/profile_file.h"
#include "skin/png_button.h"
#include "skin/report_ctrl.h"
#include "tests/mainwnd/main_window_harness.h"
#include "widgets/profile_menu.h"

using qx::mainwnd::test::HarnessOptions;
using qx::mainwnd::test::MainWindowHarness;
using qx::profiles::manager::CQuilvane_DlgProfile;
namespace mw = qx::mainwnd;
namespace pm = qx::profiles::manager;
namespace kb = qx::keyboard;
namespace fs = std::filesystem;

namespace {

constexpr uint8_t kWriteState = 0x04;
constexpr uint8_t kReadLayout = 0x07;
constexpr int kEntryA = 0x1E;

CQuilvane_DlgProfile* OpenManager() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* dialog = qobject_cast<CQuilvane_DlgProfile*>(widget);
        if (dialog != nullptr && dialog->isVisible()) {
            return dialog;
        }
    }
    return nullptr;
}

// Opens the manager with the profiles button and runs `steps` while it is shown; whatever the
// steps leave open is cancelled, so a failed check never leaves the modal loop running.
bool WithManager(MainWindowHarness& harness,
                 const std::function<void(CQuilvane_DlgProfile&)>& steps) {
    bool ran = false;
    QTimer::singleShot(0, [&] {
        CQuilvane_DlgProfile* dialog = OpenManager();
        if (dialog == nullptr) {
            return;
        }
        ran = true;
        steps(*dialog);
        dialog->CloseProfileManagerIfOpen();
    });
    harness.Window().OnCommand(mw::kIdProfiles);
    return ran && OpenManager() == nullptr;
}

void Click(CQuilvane_DlgProfile& dialog, int id) {
    dialog.Button(id)->click();
}

// The user clicks the row's check box.
void ClickCheckBox(qx::skin::CReportCtrl& list, int row) {
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.CheckBoxRect(row).center());
}

std::string Setting(MainWindowHarness& harness, const std::string& name) {
    return harness.Settings().ReadProfileString("PROFILES", name).value_or("<missing>");
}

std::string DataFolder() {
    return qx::platform::DataFolderPath() + '/';
}

// The profile numbers the keyboard was told to select.
std::vector<int> Selects(MainWindowHarness& harness) {
    std::vector<int> profiles;
    for (const qx::device::Packet& packet : harness.CommandsNumbered(kWriteState)) {
        profiles.push_back(packet[qx::device::kDataOffset + qx::device::kStateProfileByte]);
    }
    return profiles;
}

}  // namespace

class ProfileManagerTest : public QObject {
    Q_OBJECT

  private slots:
    void applyWithoutCheckedRowWritesTheListAndOnlyReloads();
    void checkingRowOneAndApplySelectsItAndLightingFollows();
    void deleteSelectsTheNextRowAndTheOnlyRowLeavesNone();
    void addWritesADefaultFileThatApplyCountsAndCancelWritesNothing();
    void rowPastTheThirdIsNeverSentAsAProfile();
    void switchElsewhereMovesTheCheckOrAsksAboutChanges();
};

void ProfileManagerTest::applyWithoutCheckedRowWritesTheListAndOnlyReloads() {
    MainWindowHarness harness;
    QVERIFY(harness.Start());
    const bool shown = WithManager(harness, [&](CQuilvane_DlgProfile& dialog) {
        qx::skin::CReportCtrl& list = dialog.List();
        QCOMPARE(dialog.OpenCount(), 1);
        QCOMPARE(list.rowCount(), 3);
        QCOMPARE(list.GetCellText(2, pm::kColumnName), QStringLiteral("$Profile0"));
        QCOMPARE(list.GetCellText(2, pm::kColumnFolder).toStdString(), DataFolder());
        QCOMPARE(list.FindNextRow(qx::skin::kRowChecked), 0);  // the active profile
        QVERIFY(!dialog.Button(pm::kIdApply)->isEnabled());
        QVERIFY(dialog.Button(pm::kIdHidden)->isHidden());
        QTest::keyClick(&list, Qt::Key_F1);
        QCOMPARE(harness.helpOpened, 1);

        ClickCheckBox(list, 0);  // unchecked: no row is checked now
        QCOMPARE(list.CountRows(qx::skin::kRowChecked), 0);
        QVERIFY(dialog.HasChanges());
        harness.ForgetTraffic();
        Click(dialog, pm::kIdApply);
        QVERIFY(harness.Settle());
        QVERIFY(Selects(harness).empty());
        QVERIFY(!harness.CommandsNumbered(kReadLayout).empty());  // the image was read back
        QVERIFY(!dialog.HasChanges());
        QVERIFY(!dialog.Button(pm::kIdApply)->isEnabled());
        QVERIFY(dialog.isVisible());
    });
    QVERIFY(shown);
    QCOMPARE(qx::device::CurrentProfile().Cached(), 0);
    QCOMPARE(Setting(harness, "PROFILE00"), std::string("3"));
    QCOMPARE(Setting(harness, "PROFILE03"), DataFolder() + "$Profile0.kpf");
}

void ProfileManagerTest::checkingRowOneAndApplySelectsItAndLightingFollows() {
    HarnessOptions options;
    options.lightingSwitchOn = true;
    MainWindowHarness harness(options);
    QVERIFY(harness.Start());
    mw::CQuilvaneDlg& window = harness.Window();
    harness.ForgetTraffic();
    const bool shown = WithManager(harness, [&](CQuilvane_DlgProfile& dialog) {
        ClickCheckBox(dialog.List(), 1);
        QCOMPARE(dialog.List().CountRows(qx::skin::kRowChecked), 1);  // single check
        Click(dialog, pm::kIdOk);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.OpenCount(), 0);
    });
    QVERIFY(shown);
    QVERIFY(harness.Settle());
    QCOMPARE(Selects(harness), std::vector<int>{1});
    QCOMPARE(qx::device::CurrentProfile().Cached(), 1);
    QCOMPARE(window.Lighting()->LightingProfile(), 1);
    QVERIFY(window.Button(mw::kIdProfileButtons[1])->IsMarked());
    QCOMPARE(window.ProfileMenu()->CheckedPosition(), 3);
    QVERIFY(!window.IsApplyEnabled());
}

void ProfileManagerTest::deleteSelectsTheNextRowAndTheOnlyRowLeavesNone() {
    MainWindowHarness harness;
    QVERIFY(harness.Start());
    const bool shown = WithManager(harness, [&](CQuilvane_DlgProfile& dialog) {
        qx::skin::CReportCtrl& list = dialog.List();
        Click(dialog, pm::kIdDelete);  // nothing selected: nothing happens
        QCOMPARE(list.rowCount(), 3);
        QVERIFY(!dialog.HasChanges());
        list.SetRowStates(2, qx::skin::kRowSelected);
        Click(dialog, pm::kIdDelete);  // the last row: the one before it is selected
        QCOMPARE(list.rowCount(), 2);
        QCOMPARE(list.FindNextRow(qx::skin::kRowSelected), 1);
        QVERIFY(dialog.HasChanges());
        Click(dialog, pm::kIdDelete);
        Click(dialog, pm::kIdDelete);
        QCOMPARE(list.rowCount(), 0);
        QCOMPARE(list.CountRows(qx::skin::kRowSelected), 0);
        harness.ForgetTraffic();
        Click(dialog, pm::kIdApply);
        QVERIFY(Selects(harness).empty());
    });
    QVERIFY(shown);
    QCOMPARE(Setting(harness, "PROFILE00"), std::string("0"));
}

void ProfileManagerTest::addWritesADefaultFileThatApplyCountsAndCancelWritesNothing() {
    MainWindowHarness harness;
    QVERIFY(harness.Start());
    const std::string path = DataFolder() + "Mine.kpf";
    const bool shown = WithManager(harness, [&](CQuilvane_DlgProfile& dialog) {
        const auto before = std::distance(fs::directory_iterator(DataFolder()), {});
        harness.Prompt().QueueFile(std::nullopt);
        Click(dialog, pm::kIdAdd);
        QCOMPARE(std::distance(fs::directory_iterator(DataFolder()), {}), before);
        QCOMPARE(dialog.List().rowCount(), 3);
        QVERIFY(!dialog.HasChanges());
        const auto asked = harness.Prompt().Questions().back().options;
        QCOMPARE(asked.initialName,
                 qx::platform::DataFolderPath() + qx::lang::LangText(qx::lang::kProfileNew));
        QVERIFY(asked.promptBeforeOverwrite);

        // A file that cannot be written gets no row, and the user is told.
        harness.Prompt().QueueFile(DataFolder() + "missing/folder.kpf");
        Click(dialog, pm::kIdAdd);
        QCOMPARE(dialog.List().rowCount(), 3);
        QCOMPARE(harness.Prompt().MessageTexts().size(), std::size_t{1});

        harness.Prompt().QueueFile(path);
        Click(dialog, pm::kIdAdd);
        QCOMPARE(dialog.List().rowCount(), 4);
        QCOMPARE(dialog.List().GetCellText(3, pm::kColumnName), QStringLiteral("Mine"));
        QVERIFY(dialog.List().FindNextRow(qx::skin::kRowChecked) != 3);
        Click(dialog, pm::kIdApply);
    });
    QVERIFY(shown);
    QCOMPARE(qx::profiles::ValidateProfileFile(path), qx::profiles::kProfileValid);
    QCOMPARE(fs::file_size(path), std::uintmax_t{kb::kImageSize});
    QCOMPARE(Setting(harness, "PROFILE00"), std::string("4"));
    QCOMPARE(Setting(harness, "PROFILE04"), path);
}

// The keyboard holds three profiles: a checked fourth row selects nothing, as a select the
// keyboard refused, and the keyboard keeps the profile it had.
void ProfileManagerTest::rowPastTheThirdIsNeverSentAsAProfile() {
    MainWindowHarness harness;
    QVERIFY(harness.Start());
    const std::string path = DataFolder() + "Loaded.kpf";
    QCOMPARE(qx::profiles::WriteDefaultProfileFile(path, 0, false), 1);
    harness.ForgetTraffic();
    const bool shown = WithManager(harness, [&](CQuilvane_DlgProfile& dialog) {
        harness.Prompt().QueueFile(path);
        Click(dialog, pm::kIdLoad);
        QCOMPARE(dialog.List().GetCellText(3, pm::kColumnFolder).toStdString(), DataFolder());
        ClickCheckBox(dialog.List(), 3);
        QCOMPARE(dialog.List().FindNextRow(qx::skin::kRowChecked), 3);
        Click(dialog, pm::kIdApply);
        QVERIFY(harness.Settle());
    });
    QVERIFY(shown);
    QVERIFY(Selects(harness).empty());
    QCOMPARE(qx::device::GetCurrentProfile(), 0);
    QCOMPARE(Setting(harness, "PROFILE04"), path);
}

void ProfileManagerTest::switchElsewhereMovesTheCheckOrAsksAboutChanges() {
    MainWindowHarness harness;
    QVERIFY(harness.Start());
    mw::CQuilvaneDlg& window = harness.Window();
    const auto menuSwitch = [&](int profile) {
        window.Messages().SendWindowMessage(qx::platform::kCommandMessage,
                                            mw::kCmdProfileMenuBase + profile, 0);
    };
    const bool shown = WithManager(harness, [&](CQuilvane_DlgProfile& dialog) {
        menuSwitch(2);
        QCOMPARE(dialog.List().FindNextRow(qx::skin::kRowChecked), 2);
        QCOMPARE(dialog.List().CountRows(qx::skin::kRowChecked), 1);
        QVERIFY(!dialog.HasChanges());
        QVERIFY(harness.Prompt().Questions().empty());

        // With a row added, the switch asks; No reloads the store over the live image.
        harness.Prompt().QueueFile(DataFolder() + "Other.kpf");
        Click(dialog, pm::kIdLoad);
        kb::Images().LockImage()->image->Entry(2, kEntryA).SetKind(kb::kKindKey);
        harness.Prompt().QueueYesNo(false);
        menuSwitch(1);
        QVERIFY(harness.Settle());
        QCOMPARE(harness.Prompt().Questions().back().text,
                 qx::lang::LangText(qx::lang::kProfileSelectPrompt));
        QCOMPARE(kb::Images().LockImage()->image->Entry(2, kEntryA).Kind(),
                 uint16_t{kb::kKindDefault});
        QCOMPARE(qx::device::CurrentProfile().Cached(), 1);

        // The end of the program closes it.
        QVERIFY(window.RunExitSequence());
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.OpenCount(), 0);
    });
    QVERIFY(shown);
}

QTEST_MAIN(ProfileManagerTest)
#include "tst_profile_manager.moc"
