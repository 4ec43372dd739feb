// Editing from the main window against the emulated keyboard: Apply with the busy indicator (and
// the window refusing input while it transfers), the default button, the report-rate buttons,
// the profile buttons and the profile menu's switches with their checks, and the backup and
// restore of profile files through the menu button.
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <fstream>

#include "device/connection/current_profile.h"
#include "device/link/command_packet.h"
#include "device/transfer/image_transfer.h"
#include "device/transfer/key_action.h"
#include "device/transfer/key_action_layout.h"
#include "keyboard/image_holders.h"
#include "lang/language.h"
#include "lang/language_keys.h"
#include "lighting/lighting_layout.h"
#include "lighting/lighting_model.h"
#include "lighting/panel/bitmap_slider.h"
#include "lighting/panel/lighting_panel.h"
#include "mainwnd/main_ids.h"
#include "platform/data_folder.h"
#include "platform/system_messages.h"
#include "profiles/profile_file.h"
#include "sim/keyboard_memory.h"
#include "skin/png_button.h"
#include "tests/mainwnd/main_window_harness.h"
#include "tests/profiles/profile_builders.h"
#include "widgets/profile_menu.h"

using qx::mainwnd::test::HarnessOptions;
using qx::mainwnd::test::MainWindowHarness;
namespace mw = qx::mainwnd;
namespace kb = qx::keyboard;
using qx::device::Packet;

namespace {

constexpr uint8_t kBeginWrite = 0x01;
constexpr uint8_t kEndWrite = 0x02;
constexpr uint8_t kReadState = 0x03;
constexpr uint8_t kWriteState = 0x04;
constexpr uint8_t kReadMemory = 0x05;
constexpr uint8_t kWriteMemory = 0x06;
constexpr uint8_t kWriteLayout = 0x08;
constexpr uint8_t kWritePaged = 0x11;

constexpr int kKeyA = 1058;
constexpr int kEntryA = 0x1E;
constexpr uint32_t kCodeB = 0x030;
constexpr uint8_t kUsageB = 0x05;

// The macro table area the keyboard announces, in units of 128 bytes.
void SetMacroCapacity(MainWindowHarness& harness, uint8_t units) {
    harness.Keyboard().Model().Write(qx::sim::Area::kStateBlock, qx::sim::kStateMacroUnitsByte,
                                     std::array<uint8_t, 1>{units});
}

int AddressOf(const Packet& packet) {
    return packet[qx::device::kAddressOffset] | (packet[qx::device::kAddressOffset + 1] << 8);
}

uint8_t CommandOf(const Packet& packet) {
    return packet[qx::device::kCommandOffset];
}

// A's entry in the live image of `profile` assigned B (kind 2), as the key assignment window
// would.
void AssignBToA(int profile) {
    const kb::ImageGuard guard = kb::Images().LockImage();
    guard->image->Entry(profile, kEntryA).SetKind(kb::kKindKey);
    guard->image->Entry(profile, kEntryA).SetValue(kCodeB);
}

uint16_t KindOfA(int profile) {
    const kb::ImageGuard guard = kb::Images().LockImage();
    return guard->image->Entry(profile, kEntryA).Kind();
}

// The key action the keyboard holds at A's place in `profile`'s layout.
std::array<uint8_t, 3> ActionOfAOnKeyboard(MainWindowHarness& harness, int profile) {
    qx::sim::Keyboard& keyboard = harness.Keyboard().Model();
    const std::vector<uint8_t> bytes =
        keyboard.Read(qx::sim::Area::kDefaultLayout, 0, qx::device::kKeyLayoutSize);
    qx::device::KeyLayout defaults{};
    std::copy(bytes.begin(), bytes.end(), defaults.begin());
    for (std::size_t position = 0; position < qx::device::kLayoutPositions; ++position) {
        if (qx::device::EntryOfPosition(defaults, position) == kEntryA) {
            const std::vector<uint8_t> action =
                keyboard.Read(qx::sim::Area::kProfileLayouts,
                              profile * qx::device::kKeyLayoutSize + position * 3, 3);
            return {action[0], action[1], action[2]};
        }
    }
    return {};
}

const std::array<uint8_t, 3> kActionB{qx::device::kActionKeyboard, qx::device::kKeySub, kUsageB};

std::vector<int> MarkedOf(mw::CQuilvaneDlg& window, std::span<const int> ids) {
    std::vector<int> marked;
    for (const int id : ids) {
        if (window.Button(id)->IsMarked()) {
            marked.push_back(id);
        }
    }
    return marked;
}

std::vector<int> MarkedProfileButtons(mw::CQuilvaneDlg& window) {
    return MarkedOf(window, mw::kIdProfileButtons);
}

std::vector<int> MarkedReportButtons(mw::CQuilvaneDlg& window) {
    return MarkedOf(window, mw::kReportRateButtonIds);
}

// Position of the first packet with that command, or -1.
int IndexOfCommand(const std::vector<Packet>& packets, uint8_t command) {
    const auto found = std::find_if(packets.begin(), packets.end(),
                                    [&](const Packet& p) { return CommandOf(p) == command; });
    return found == packets.end() ? -1 : static_cast<int>(found - packets.begin());
}

void Click(mw::CQuilvaneDlg& window, int id) {
    window.Messages().SendWindowMessage(qx::platform::kCommandMessage, id, 0);
}

std::string Text(std::string_view key) {
    return qx::lang::LangText(key);
}

}  // namespace

class MainEditTest : public QObject {
    Q_OBJECT

  private slots:
    void applyWithNothingPendingShowsTheIndicatorAndSendsNothing();
    void applySendsPendingChangesOnceAndKeepsThemWhenTheDownloadFails();
    void busyAnimationMovesAndInputIsRefusedWhileApplying();
    void transferMessagesAreShownByTheWindowThread();
    void defaultButtonResetsKeysAndAppliesLeavingLightingAlone();
    void defaultButtonResetsLightingWhileTheSwitchIsOn();
    void reportRateButtonsShowOneRateAndWriteIt();
    void profileButtonOfTheActiveProfileOnlyRereadsLighting();
    void profileButtonSwitchesTheKeyboardAndShowsItsKeys();
    void pendingChangesAreAppliedOrDiscardedBeforeSwitching();
    void profileMenuCommandsSwitchAndTheDefaultItemSendsNoSelect();
    void refusedOrFailedSwitchLeavesTheButtonsButShowsTheNewLighting();
    void menuSwitchShowsTheNewProfilesLightingButtonsAndKeys();
    void whileTheSwitchAsksOtherSwitchesAreRefusedAndKeyboardNewsWaits();
    void backupWritesTheLiveImageToTheChosenFile();
    void restoreOfAnInvalidFileChangesNothing();
    void restoreSendsAllThreeProfilesAndClearsPendingChanges();
    void restoreTheKeyboardDoesNotTakeStaysPendingForAllProfiles();
    void restoreWithoutRoomForMacroNamesIsSentAndSaysSo();
};

void MainEditTest::applyWithNothingPendingShowsTheIndicatorAndSendsNothing() {
    MainWindowHarness harness;
    QVERIFY(harness.Start());
    mw::CQuilvaneDlg& window = harness.Window();
    harness.ForgetTraffic();
    bool shown = false;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout,
                     [&] { shown = shown || window.Panel().ProgressShown(); });
    watch.start(5);
    QElapsedTimer elapsed;
    elapsed.start();
    Click(window, mw::kIdApply);
    QVERIFY(elapsed.elapsed() >= 100);  // the indicator's start wait
    QVERIFY(!window.Busy().IsBusy());
    // Shown, then hidden after the indicator's hide wait.
    QVERIFY(MainWindowHarness::WaitFor([&] { return shown && !window.Panel().ProgressShown(); }));
    QVERIFY(elapsed.elapsed() >= 200);
    QVERIFY(!window.Messages().IsTimerActive(mw::kBusyAnimationTimer));
    QVERIFY(window.Control(mw::kIdProgress)->isHidden());
    QVERIFY(harness.Settle());
    QVERIFY(harness.CommandsSent().empty());
    QVERIFY(harness.Prompt().Questions().empty());
}

void MainEditTest::applySendsPendingChangesOnceAndKeepsThemWhenTheDownloadFails() {
    MainWindowHarness harness;
    QVERIFY(harness.Start());
    mw::CQuilvaneDlg& window = harness.Window();
    AssignBToA(0);
    window.SetApplyEnabled(true);
    QVERIFY(window.Button(mw::kIdApply)->isEnabled());

    // The keyboard refuses every packet: Apply stays enabled and nothing is said.
    harness.Keyboard().Model().FailRequests(qx::device::kStatusRejectedFF, 1000);
    Click(window, mw::kIdApply);
    harness.Keyboard().Model().ClearMisbehaviour();
    QVERIFY(window.IsApplyEnabled());
    QVERIFY(window.Button(mw::kIdApply)->isEnabled());
    QVERIFY(harness.Prompt().MessageTexts().empty());

    harness.ForgetTraffic();
    Click(window, mw::kIdApply);
    QVERIFY(!window.IsApplyEnabled());
    QVERIFY(!window.Button(mw::kIdApply)->isEnabled());
    std::vector<Packet> sent = harness.CommandsSent();
    QVERIFY(!sent.empty());
    QCOMPARE(CommandOf(sent.front()), kBeginWrite);
    QCOMPARE(CommandOf(sent.back()), kEndWrite);
    const std::vector<Packet> layouts = harness.CommandsNumbered(kWriteLayout);
    QCOMPARE(layouts.size(), std::size_t{6});  // the current profile's 324 bytes only
    for (const Packet& packet : layouts) {
        QVERIFY(AddressOf(packet) < static_cast<int>(qx::device::kKeyLayoutSize));
    }
    QCOMPARE(ActionOfAOnKeyboard(harness, 0), kActionB);
    // The profile store holds the applied image.
    qx::profiles::ProfileContents stored;
    QCOMPARE(qx::profiles::ReadProfileContents(qx::profiles::GetStorePath(0), stored),
             qx::profiles::ProfileCheck::Valid);
    QCOMPARE(stored.image->Entry(0, kEntryA).Kind(), uint16_t{kb::kKindKey});

    // Nothing pending any more: the next Apply sends nothing.
    harness.ForgetTraffic();
    Click(window, mw::kIdApply);
    QVERIFY(harness.Settle());
    QVERIFY(harness.CommandsSent().empty());
}

void MainEditTest::busyAnimationMovesAndInputIsRefusedWhileApplying() {
    MainWindowHarness harness;
    QVERIFY(harness.Start());
    mw::CQuilvaneDlg& window = harness.Window();
    harness.Send(mw::kOpenMessage, mw::kOpenCode);
    QVERIFY(window.isVisible());
    AssignBToA(0);
    window.SetApplyEnabled(true);
    harness.Keyboard().Model().SetLatency(std::chrono::milliseconds(10));
    harness.ForgetTraffic();

    QStringList framesWhileTransferring;
    bool poked = false;
    bool refusedClickMarked = false;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (!window.Busy().IsBusy() || !window.Panel().ProgressShown()) {
            return;
        }
        const QString frame = window.Panel().PictureOf(mw::kIdProgress);
        if (framesWhileTransferring.isEmpty() || framesWhileTransferring.back() != frame) {
            framesWhileTransferring.push_back(frame);
        }
        if (!poked) {
            poked = true;
            // The user clicks report4 and presses Space on the default button; a tray command
            // arrives meanwhile.
            QTest::mouseClick(window.Button(mw::kReportRateButtonIds[3]), Qt::LeftButton);
            QTest::keyClick(window.Button(mw::kIdDefault), Qt::Key_Space);
            window.Target()->PostWindowMessage(qx::platform::kCommandMessage,
                                               mw::kReportRateButtonIds[1], 0);
            refusedClickMarked = window.Button(mw::kReportRateButtonIds[3])->IsMarked();
        }
    });
    watch.start(5);
    Click(window, mw::kIdApply);
    watch.stop();
    harness.Keyboard().Model().ClearMisbehaviour();

    QVERIFY(poked);
    QVERIFY(!refusedClickMarked);
    QVERIFY(harness.Prompt().Questions().empty());  // the default button never asked
    // Timer 1050 kept stepping the picture while the keyboard was busy.
    QVERIFY2(framesWhileTransferring.size() >= 3, qPrintable(framesWhileTransferring.join(' ')));
    QVERIFY(!window.IsApplyEnabled());
    // The held command runs once the transfer is over; the refused click never does.
    QVERIFY(MainWindowHarness::WaitFor(
        [&] { return window.Button(mw::kReportRateButtonIds[1])->IsMarked(); }));
    QVERIFY(harness.Settle());
    QCOMPARE(MarkedReportButtons(window), std::vector<int>{mw::kReportRateButtonIds[1]});
    const std::vector<Packet> sent = harness.CommandsSent();
    const std::vector<Packet> rateWrites = harness.CommandsNumbered(kWriteMemory);
    QCOMPARE(rateWrites.size(), std::size_t{1});
    QCOMPARE(AddressOf(rateWrites[0]), static_cast<int>(qx::lighting::field::kReportRate));
    QCOMPARE(rateWrites[0][qx::device::kDataOffset], uint8_t{1});
    QVERIFY(IndexOfCommand(sent, kWriteMemory) > IndexOfCommand(sent, kWriteLayout));
}

// A prompt that notes on which thread each message box was asked for.
class ThreadNotingPrompt final : public qx::platform::Prompt {
  public:
    void ShowMessage(const std::string& text, const std::string&, bool) override {
        texts.push_back(text);
        onWindowThread =
            onWindowThread && QThread::currentThread() == QCoreApplication::instance()->thread();
    }
    bool AskYesNo(const std::string&, const std::string&) override { return false; }
    std::optional<std::string> OpenFile(const qx::platform::FileDialogOptions&) override {
        return std::nullopt;
    }
    std::optional<std::string> SaveFile(const qx::platform::FileDialogOptions&) override {
        return std::nullopt;
    }
    std::vector<std::string> texts;
    bool onWindowThread = true;
};

void MainEditTest::transferMessagesAreShownByTheWindowThread() {
    MainWindowHarness harness;
    // A keyboard without room for macros: the download refuses with a message box.
    SetMacroCapacity(harness, 0);
    QVERIFY(harness.Start());
    mw::CQuilvaneDlg& window = harness.Window();
    AssignBToA(0);
    window.SetApplyEnabled(true);
    harness.ForgetTraffic();
    ThreadNotingPrompt prompt;
    qx::platform::SetCurrentPrompt(&prompt);
    Click(window, mw::kIdApply);
    qx::platform::SetCurrentPrompt(&harness.Prompt());
    QCOMPARE(prompt.texts, std::vector<std::string>{Text(qx::lang::kExtraMacroTooLong)});
    QVERIFY(prompt.onWindowThread);
    QVERIFY(window.IsApplyEnabled());
    QVERIFY(harness.Settle());
    QVERIFY(harness.CommandsNumbered(kWriteLayout).empty());
}

void MainEditTest::defaultButtonResetsKeysAndAppliesLeavingLightingAlone() {
    MainWindowHarness harness;
    QVERIFY(harness.Start());
    mw::CQuilvaneDlg& window = harness.Window();
    AssignBToA(0);
    AssignBToA(1);
    window.RefreshKeyButtons();
    QVERIFY(window.Button(kKeyA)->IsMarked());
    window.Panel().ShowReportRate(2);
    harness.ForgetTraffic();

    // No: nothing happens.
    harness.Prompt().QueueYesNo(false);
    Click(window, mw::kIdDefault);
    QCOMPARE(KindOfA(0), uint16_t{kb::kKindKey});
    QVERIFY(harness.CommandsSent().empty());

    harness.Prompt().Clear();
    harness.Prompt().QueueYesNo(true);
    Click(window, mw::kIdDefault);
    const auto questions = harness.Prompt().Questions();
    QCOMPARE(questions.size(), std::size_t{1});
    QCOMPARE(questions[0].text, Text(qx::lang::kMainPromptDefault));
    QCOMPARE(KindOfA(0), uint16_t{kb::kKindDefault});
    QCOMPARE(KindOfA(1), uint16_t{kb::kKindKey});  // other profiles keep theirs
    QVERIFY(!window.Button(kKeyA)->IsMarked());
    // Applied at once, the keyboard's lighting and report rate untouched.
    QVERIFY(!window.IsApplyEnabled());
    QVERIFY(!harness.CommandsNumbered(kWriteLayout).empty());
    QVERIFY(harness.CommandsNumbered(kWriteMemory).empty());
    QVERIFY(harness.CommandsNumbered(kWritePaged).empty());
    QCOMPARE(MarkedReportButtons(window), std::vector<int>{mw::kReportRateButtonIds[0]});
}

void MainEditTest::defaultButtonResetsLightingWhileTheSwitchIsOn() {
    HarnessOptions options;
    options.lightingSwitchOn = true;
    MainWindowHarness harness(options);
    QVERIFY(harness.Start());
    mw::CQuilvaneDlg& window = harness.Window();
    QVERIFY(window.Panel().SwitchOn());
    harness.ForgetTraffic();
    harness.Prompt().QueueYesNo(true);
    Click(window, mw::kIdDefault);
    QVERIFY(harness.Settle());
    // The mode byte, then the 35-byte default record; the ten default layers.
    const std::vector<Packet> records = harness.CommandsNumbered(kWriteMemory);
    QCOMPARE(records.size(), std::size_t{2});
    QCOMPARE(records[1][qx::device::kLengthOffset], uint8_t{35});
    QCOMPARE(harness.CommandsNumbered(kWritePaged).size(), std::size_t{10});
    QVERIFY(!harness.CommandsNumbered(kWriteLayout).empty());
    QCOMPARE(window.Panel().PictureOf(mw::kIdBrightnessSlider), QStringLiteral("4.bmp"));
}

void MainEditTest::reportRateButtonsShowOneRateAndWriteIt() {
    MainWindowHarness harness;
    QVERIFY(harness.Start());
    mw::CQuilvaneDlg& window = harness.Window();
    harness.ForgetTraffic();
    window.Button(mw::kReportRateButtonIds[3])->click();
    QCOMPARE(MarkedReportButtons(window), std::vector<int>{mw::kReportRateButtonIds[3]});
    QVERIFY(harness.Settle());
    const std::vector<Packet> writes = harness.CommandsNumbered(kWriteMemory);
    QCOMPARE(writes.size(), std::size_t{1});
    QCOMPARE(AddressOf(writes[0]), static_cast<int>(qx::lighting::field::kReportRate));
    QCOMPARE(writes[0][qx::device::kLengthOffset], uint8_t{1});
    QCOMPARE(writes[0][qx::device::kDataOffset], uint8_t{3});
    QCOMPARE(window.Lighting()->Values().reportRate, 3);
}

void MainEditTest::profileButtonOfTheActiveProfileOnlyRereadsLighting() {
    HarnessOptions options;
    options.lightingSwitchOn = true;
    MainWindowHarness harness(options);
    QVERIFY(harness.Start());
    mw::CQuilvaneDlg& window = harness.Window();
    QCOMPARE(qx::device::GetCurrentProfile(), 0);
    // The keyboard's record changed behind the driver's back.
    harness.Keyboard().Model().Write(qx::sim::Area::kLighting, qx::lighting::field::kBrightness,
                                     std::array<uint8_t, 1>{1});
    harness.ForgetTraffic();
    window.Button(mw::kIdProfileButtons[0])->click();
    QVERIFY(harness.Settle());
    QVERIFY(!harness.CommandsNumbered(kReadState).empty());
    QCOMPARE(harness.CommandsNumbered(kReadMemory).size(), std::size_t{3});
    QVERIFY(harness.CommandsNumbered(kWriteState).empty());
    QVERIFY(harness.CommandsNumbered(kBeginWrite).size() == 1);  // the read's own transaction
    QCOMPARE(window.Panel().PictureOf(mw::kIdBrightnessSlider), QStringLiteral("1.bmp"));
    // The lighting switch went off as with the lamp.
    QVERIFY(!window.Panel().SwitchOn());
    QCOMPARE(MarkedProfileButtons(window), std::vector<int>{mw::kIdProfileButtons[0]});
}

void MainEditTest::profileButtonSwitchesTheKeyboardAndShowsItsKeys() {
    MainWindowHarness harness;
    QVERIFY(harness.Start());
    mw::CQuilvaneDlg& window = harness.Window();
    AssignBToA(2);
    QVERIFY(!window.Button(kKeyA)->IsMarked());
    harness.ForgetTraffic();
    window.Button(mw::kIdProfileButtons[2])->click();
    QVERIFY(harness.Settle());
    const std::vector<Packet> selects = harness.CommandsNumbered(kWriteState);
    QCOMPARE(selects.size(), std::size_t{1});
    QCOMPARE(selects[0][qx::device::kDataOffset + qx::device::kStateProfileByte], uint8_t{2});
    QCOMPARE(qx::device::CurrentProfile().Cached(), 2);
    QCOMPARE(MarkedProfileButtons(window), std::vector<int>{mw::kIdProfileButtons[2]});
    QCOMPARE(window.Lighting()->LightingProfile(), 2);
    QVERIFY(window.Button(kKeyA)->IsMarked());  // the keys of profile 2
    QCOMPARE(window.ProfileMenu()->CheckedPosition(), 4);
    QVERIFY(harness.Prompt().Questions().empty());
}

void MainEditTest::pendingChangesAreAppliedOrDiscardedBeforeSwitching() {
    MainWindowHarness harness;
    QVERIFY(harness.Start());
    mw::CQuilvaneDlg& window = harness.Window();

    // No: the edits go, the image comes back from the store before the keyboard switches.
    AssignBToA(0);
    window.SetApplyEnabled(true);
    harness.ForgetTraffic();
    harness.Prompt().QueueYesNo(false);
    window.Button(mw::kIdProfileButtons[1])->click();
    QVERIFY(harness.Settle());
    QCOMPARE(harness.Prompt().Questions().at(0).text, Text(qx::lang::kProfileSelectPrompt));
    QCOMPARE(KindOfA(0), uint16_t{kb::kKindDefault});
    QVERIFY(!window.IsApplyEnabled());
    QVERIFY(harness.CommandsNumbered(kWriteLayout).empty());
    QCOMPARE(harness.CommandsNumbered(kWriteState).size(), std::size_t{1});
    QCOMPARE(qx::device::CurrentProfile().Cached(), 1);
    QVERIFY(ActionOfAOnKeyboard(harness, 0) != kActionB);

    // Yes: the edits of profile 1 are applied first, then the keyboard switches.
    AssignBToA(1);
    window.SetApplyEnabled(true);
    harness.ForgetTraffic();
    harness.Prompt().Clear();
    harness.Prompt().QueueYesNo(true);
    window.Button(mw::kIdProfileButtons[2])->click();
    QVERIFY(harness.Settle());
    const std::vector<Packet> sent = harness.CommandsSent();
    const int download = IndexOfCommand(sent, kWriteLayout);
    QVERIFY(download >= 0);
    QVERIFY(download < IndexOfCommand(sent, kWriteState));
    QCOMPARE(ActionOfAOnKeyboard(harness, 1), kActionB);
    QVERIFY(!window.IsApplyEnabled());
    QCOMPARE(qx::device::CurrentProfile().Cached(), 2);
    QCOMPARE(MarkedProfileButtons(window), std::vector<int>{mw::kIdProfileButtons[2]});
}

void MainEditTest::profileMenuCommandsSwitchAndTheDefaultItemSendsNoSelect() {
    MainWindowHarness harness;
    QVERIFY(harness.Start());
    mw::CQuilvaneDlg& window = harness.Window();
    harness.ForgetTraffic();
    Click(window, mw::kCmdProfileMenuBase + 1);  // profile 1
    QCOMPARE(qx::device::CurrentProfile().Cached(), 1);
    QCOMPARE(window.ProfileMenu()->CheckedPosition(), 3);
    Click(window, mw::kCmdProfileMenuBase + 7);  // past the last profile: profile 0
    QCOMPARE(qx::device::CurrentProfile().Cached(), 0);
    QCOMPARE(harness.CommandsNumbered(kWriteState).size(), std::size_t{2});

    // The default item runs the checks (the question about pending changes) and the refresh,
    // but never selects.
    AssignBToA(0);
    window.SetApplyEnabled(true);
    harness.ForgetTraffic();
    harness.Prompt().QueueYesNo(false);
    Click(window, mw::kCmdProfileMenuFirst);
    QVERIFY(harness.Settle());
    QCOMPARE(harness.Prompt().Questions().size(), std::size_t{1});
    QVERIFY(harness.CommandsNumbered(kWriteState).empty());
    QVERIFY(harness.CommandsNumbered(kReadState).empty());
    QCOMPARE(qx::device::CurrentProfile().Cached(), 0);
    QCOMPARE(window.ProfileMenu()->CheckedPosition(), 2);
    QCOMPARE(KindOfA(0), uint16_t{kb::kKindDefault});
}

void MainEditTest::refusedOrFailedSwitchLeavesTheButtonsButShowsTheNewLighting() {
    MainWindowHarness harness;
    QVERIFY(harness.Start());
    mw::CQuilvaneDlg& window = harness.Window();
    // Profile 1's record has brightness 1.
    harness.Keyboard().Model().Write(qx::sim::Area::kLighting,
                                     qx::lighting::kRecordSize + qx::lighting::field::kBrightness,
                                     std::array<uint8_t, 1>{1});

    // A key being assigned keeps every switch away.
    bool keysOpen = true;
    mw::SubWindowHooks keys;
    keys.close = [] { return true; };
    keys.isOpen = [&] { return keysOpen; };
    window.SubWindows().Register(mw::kKeyAssignmentName, keys);
    harness.ForgetTraffic();
    window.Button(mw::kIdProfileButtons[1])->click();
    QVERIFY(harness.Settle());
    QCOMPARE(harness.Prompt().MessageTexts(),
             std::vector<std::string>{Text(qx::lang::kProfileSeelctPrompt2)});
    QVERIFY(harness.CommandsNumbered(kWriteState).empty());
    QCOMPARE(MarkedProfileButtons(window), std::vector<int>{mw::kIdProfileButtons[0]});
    QCOMPARE(window.Lighting()->LightingProfile(), 1);
    QCOMPARE(window.Panel().PictureOf(mw::kIdBrightnessSlider), QStringLiteral("1.bmp"));

    // The keyboard refuses the select: the buttons stay as they were.
    keys.isOpen = [&] {
        harness.Keyboard().Model().FailRequests(qx::device::kStatusRejectedFF, 1000);
        return false;
    };
    window.SubWindows().Register(mw::kKeyAssignmentName, keys);
    window.Button(mw::kIdProfileButtons[2])->click();
    harness.Keyboard().Model().ClearMisbehaviour();
    QVERIFY(harness.Settle());
    QCOMPARE(MarkedProfileButtons(window), std::vector<int>{mw::kIdProfileButtons[0]});
    QVERIFY(qx::device::CurrentProfile().Cached() != 2);
    QCOMPARE(window.Lighting()->LightingProfile(), 2);
}

void MainEditTest::menuSwitchShowsTheNewProfilesLightingButtonsAndKeys() {
    MainWindowHarness harness;
    QVERIFY(harness.Start());
    mw::CQuilvaneDlg& window = harness.Window();
    AssignBToA(2);
    Click(window, mw::kCmdProfileMenuBase + 2);
    QVERIFY(harness.Settle());
    QCOMPARE(window.Lighting()->LightingProfile(), 2);
    QCOMPARE(MarkedProfileButtons(window), std::vector<int>{mw::kIdProfileButtons[2]});
    QVERIFY(window.Button(kKeyA)->IsMarked());

    // A lighting change goes to profile 2's record.
    harness.ForgetTraffic();
    const int position = (window.Lighting()->Values().brightness + 1) % 5;
    harness.Send(qx::lighting::panel::kSliderMessage, mw::kIdBrightnessSlider, position);
    const std::vector<Packet> writes = harness.CommandsNumbered(kWriteMemory);
    QCOMPARE(writes.size(), std::size_t{1});
    QCOMPARE(AddressOf(writes[0]),
             static_cast<int>(2 * qx::lighting::kRecordSize + qx::lighting::field::kBrightness));

    // The default item keeps the lighting on the profile it had.
    Click(window, mw::kCmdProfileMenuFirst);
    QCOMPARE(window.Lighting()->LightingProfile(), 2);
}

// A prompt whose Yes/No question runs `whileOpen` before it is answered, as the nested event loop
// of a real message box lets other events in.
class AskingPrompt final : public qx::platform::testing::ScriptedPrompt {
  public:
    bool AskYesNo(const std::string& text, const std::string& caption) override {
        if (whileOpen) {
            std::exchange(whileOpen, {})();
        }
        return ScriptedPrompt::AskYesNo(text, caption);
    }
    std::function<void()> whileOpen;
};

void MainEditTest::whileTheSwitchAsksOtherSwitchesAreRefusedAndKeyboardNewsWaits() {
    MainWindowHarness harness;
    QVERIFY(harness.Start());
    mw::CQuilvaneDlg& window = harness.Window();
    int closes = 0;
    window.SubWindows().Register("probe", [&] {
        ++closes;
        return true;
    });
    AssignBToA(0);
    window.SetApplyEnabled(true);
    harness.ForgetTraffic();

    AskingPrompt prompt;
    qx::platform::SetCurrentPrompt(&prompt);
    std::size_t selectsMeanwhile = 1;
    bool pendingMeanwhile = false;
    int closesMeanwhile = -1;
    prompt.whileOpen = [&] {
        // The tray's profile menu, the keyboard's profile read and its departure arrive.
        const auto target = window.Target();
        target->PostWindowMessage(qx::platform::kCommandMessage, mw::kCmdProfileMenuBase + 1, 0);
        target->PostWindowMessage(mw::kProfileReadMessage, mw::kProfileReadCode, 0);
        target->PostWindowMessage(mw::kKeyboardLeftMessage, mw::kKeyboardLeftCode, 0);
        QTest::qWait(50);
        selectsMeanwhile = harness.CommandsNumbered(kWriteState).size();
        pendingMeanwhile = window.IsApplyEnabled();
        closesMeanwhile = closes;
    };
    prompt.QueueYesNo(true);
    window.Button(mw::kIdProfileButtons[2])->click();
    QVERIFY(harness.Settle());
    qx::platform::SetCurrentPrompt(&harness.Prompt());

    QCOMPARE(selectsMeanwhile, std::size_t{0});
    QVERIFY(pendingMeanwhile);
    QCOMPARE(closesMeanwhile, 0);
    // Yes applied profile 0's edit, then the one switch asked for was made; the held messages
    // ran after it.
    QCOMPARE(ActionOfAOnKeyboard(harness, 0), kActionB);
    const std::vector<Packet> selects = harness.CommandsNumbered(kWriteState);
    QCOMPARE(selects.size(), std::size_t{1});
    QCOMPARE(selects[0][qx::device::kDataOffset + qx::device::kStateProfileByte], uint8_t{2});
    QCOMPARE(MarkedProfileButtons(window), std::vector<int>{mw::kIdProfileButtons[2]});
    // The departure waited behind the profile read, whose read-back held it once more.
    QVERIFY(MainWindowHarness::WaitFor([&] { return closes == 1; }));
}

void MainEditTest::backupWritesTheLiveImageToTheChosenFile() {
    MainWindowHarness harness;
    QVERIFY(harness.Start());
    mw::CQuilvaneDlg& window = harness.Window();
    AssignBToA(1);
    const std::string path = harness.DataFolder() + "/backup.kpf";

    // Cancelled: no file.
    harness.buttonMenuChoice = mw::kCmdBackup;
    Click(window, mw::kIdMenu);
    QVERIFY(!QFile::exists(QString::fromStdString(path)));
    QCOMPARE(harness.buttonMenuTexts.size(), std::size_t{1});
    const std::vector<QString> menuTexts{QString::fromStdString(Text(qx::lang::kMenu1)),
                                         QString::fromStdString(Text(qx::lang::kMenu2)),
                                         QString::fromStdString(Text(qx::lang::kMenu5))};
    QCOMPARE(harness.buttonMenuTexts[0], menuTexts);

    harness.Prompt().Clear();
    harness.Prompt().QueueFile(path);
    harness.ForgetTraffic();
    Click(window, mw::kIdMenu);
    const auto questions = harness.Prompt().Questions();
    QCOMPARE(questions.size(), std::size_t{1});
    QVERIFY(questions[0].kind == qx::platform::testing::ScriptedPrompt::Kind::SaveFile);
    QCOMPARE(questions[0].options.defaultExtension, std::string("kpf"));
    QCOMPARE(questions[0].options.initialName, std::string("*.kpf"));
    QCOMPARE(questions[0].options.filter, std::string("(*.kpf)|*.kpf|(*.*)|*.*||"));
    QVERIFY(questions[0].options.hideReadOnly && questions[0].options.promptBeforeOverwrite);
    qx::profiles::ProfileContents saved;
    QCOMPARE(qx::profiles::ReadProfileContents(path, saved), qx::profiles::ProfileCheck::Valid);
    QCOMPARE(saved.image->Entry(1, kEntryA).Kind(), uint16_t{kb::kKindKey});
    QVERIFY(harness.CommandsSent().empty());
    QVERIFY(harness.Prompt().MessageTexts().empty());
}

void MainEditTest::restoreOfAnInvalidFileChangesNothing() {
    MainWindowHarness harness;
    QVERIFY(harness.Start());
    mw::CQuilvaneDlg& window = harness.Window();
    AssignBToA(0);
    window.SetApplyEnabled(true);
    const std::string path = harness.DataFolder() + "/broken.kpf";
    std::ofstream(path) << "not a profile";
    harness.ForgetTraffic();
    for (const std::string& file : {path, harness.DataFolder() + "/missing.kpf"}) {
        harness.Prompt().Clear();
        harness.Prompt().QueueFile(file);
        Click(window, mw::kCmdRestore);
        const auto questions = harness.Prompt().Questions();
        QVERIFY(questions.at(0).kind == qx::platform::testing::ScriptedPrompt::Kind::OpenFile);
        QVERIFY(!questions[0].options.promptBeforeOverwrite);
        const std::vector<std::string> messages = harness.Prompt().MessageTexts();
        QVERIFY(!messages.empty());
        QCOMPARE(messages.back(), Text(qx::lang::kMainPromptInport));
    }
    QVERIFY(window.IsApplyEnabled());
    QCOMPARE(KindOfA(0), uint16_t{kb::kKindKey});
    QVERIFY(harness.Settle());
    QVERIFY(harness.CommandsSent().empty());
}

void MainEditTest::restoreSendsAllThreeProfilesAndClearsPendingChanges() {
    MainWindowHarness harness;
    QVERIFY(harness.Start());
    mw::CQuilvaneDlg& window = harness.Window();
    const std::string path = harness.DataFolder() + "/saved.kpf";
    AssignBToA(0);
    AssignBToA(2);
    QVERIFY(qx::profiles::SaveImageToFile(path));
    {
        const kb::ImageGuard guard = kb::Images().LockImage();
        guard->image->Entry(0, kEntryA).SetKind(kb::kKindDefault);
        guard->image->Entry(2, kEntryA).SetKind(kb::kKindDefault);
    }
    window.RefreshKeyButtons();
    window.SetApplyEnabled(true);
    harness.ForgetTraffic();
    harness.Prompt().QueueFile(path);
    Click(window, mw::kCmdRestore);
    QVERIFY(harness.Settle());
    QVERIFY(!window.IsApplyEnabled());
    QCOMPARE(KindOfA(2), uint16_t{kb::kKindKey});
    QVERIFY(window.Button(kKeyA)->IsMarked());
    QCOMPARE(harness.CommandsNumbered(kWriteLayout).size(), std::size_t{18});
    QCOMPARE(ActionOfAOnKeyboard(harness, 0), kActionB);
    QCOMPARE(ActionOfAOnKeyboard(harness, 2), kActionB);
    QVERIFY(harness.Prompt().MessageTexts().empty());
    qx::profiles::ProfileContents stored;
    QCOMPARE(qx::profiles::ReadProfileContents(qx::profiles::GetStorePath(0), stored),
             qx::profiles::ProfileCheck::Valid);
    QCOMPARE(stored.image->Entry(2, kEntryA).Kind(), uint16_t{kb::kKindKey});
}

void MainEditTest::restoreTheKeyboardDoesNotTakeStaysPendingForAllProfiles() {
    MainWindowHarness harness;
    QVERIFY(harness.Start());
    mw::CQuilvaneDlg& window = harness.Window();
    const std::string path = harness.DataFolder() + "/saved.kpf";
    AssignBToA(2);
    QVERIFY(qx::profiles::SaveImageToFile(path));
    {
        const kb::ImageGuard guard = kb::Images().LockImage();
        guard->image->Entry(2, kEntryA).SetKind(kb::kKindDefault);
    }
    harness.Prompt().QueueFile(path);
    harness.Keyboard().Model().FailRequests(qx::device::kStatusRejectedFF, 1000);
    Click(window, mw::kCmdRestore);
    harness.Keyboard().Model().ClearMisbehaviour();
    QCOMPARE(harness.Prompt().MessageTexts(),
             std::vector<std::string>{Text(qx::lang::kMainPromptImportNotSent)});
    QVERIFY(window.IsApplyEnabled());
    QVERIFY(qx::device::IsRewriteAllSet());
    QCOMPARE(KindOfA(2), uint16_t{kb::kKindKey});

    // The next Apply sends all three profiles, though only the current one has edits of its own.
    harness.ForgetTraffic();
    Click(window, mw::kIdApply);
    QVERIFY(harness.Settle());
    QVERIFY(!window.IsApplyEnabled());
    QCOMPARE(harness.CommandsNumbered(kWriteLayout).size(), std::size_t{18});
    QCOMPARE(ActionOfAOnKeyboard(harness, 2), kActionB);
}

// Names that do not fit are left out of the keyboard's macro table: the file still counts as
// sent, and the window tells the user so, above every other window.
void MainEditTest::restoreWithoutRoomForMacroNamesIsSentAndSaysSo() {
    MainWindowHarness harness;
    // One unit of macro table (128 bytes): the macro below fits only without its name.
    SetMacroCapacity(harness, 1);
    QVERIFY(harness.Start());
    mw::CQuilvaneDlg& window = harness.Window();
    const std::string path = harness.DataFolder() + "/named.kpf";
    kb::Images().LockImage()->macros = {qx::testing::MakeMacro(1, u"0123456789", 25)};
    QVERIFY(qx::profiles::SaveImageToFile(path));
    window.SetApplyEnabled(true);
    harness.Prompt().QueueFile(path);
    Click(window, mw::kCmdRestore);
    QVERIFY(harness.Settle());
    QVERIFY(!window.IsApplyEnabled());
    QCOMPARE(harness.Prompt().MessageTexts(),
             std::vector<std::string>{Text(qx::lang::kExtraProfileSpaceTight)});
    QVERIFY(harness.Prompt().Questions().back().topmost);
    QCOMPARE(harness.CommandsNumbered(kWriteLayout).size(), std::size_t{18});
}

QTEST_MAIN(MainEditTest)
#include "tst_main_edit.moc"
