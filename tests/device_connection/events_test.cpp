// The keyboard's own events: the G-key bank switch with its status report and captions, the
// lighting refresh timer and the tray indicator.
#include <gtest/gtest.h>

#include <array>

#include "device/connection/connection_host.h"
#include "device/link/interfaces.h"
#include "device/link/result_codes.h"
#include "tests/device_connection/connection_fixture.h"

namespace qx::device {
namespace {

using testing::ConnectionTest;
using testing::HostCall;

class EventTest : public ConnectionTest {
  protected:
    // A started connection with the keyboard attached and the window ready.
    void StartAttached() {
        MakeConnection(true);
        connection->Start(true);
        ASSERT_TRUE(host.WaitFor([&] { return host.ShownTray() == TrayState::kKeyboard; }));
        ASSERT_TRUE(Settle());
        host.Clear();
        link->keyboard->ClearTrace();
    }

    void ExpectBankShown(char letter) {
        for (int i = 0; i < 5; ++i) {
            EXPECT_EQ(host.Caption(i), std::string(1, letter) + std::to_string(i + 1));
        }
        for (int button = 5; button < 9; ++button) {
            EXPECT_EQ(host.Caption(button), "");
        }
    }

    bool SwitchBank(std::size_t switchesSoFar) {
        return link->keyboard->SendEvent(kEventBankSwitch) && host.WaitFor([&] {
            return host.CallsOf(HostCall::kBankShown).size() >= switchesSoFar + 1;
        });
    }
};

TEST_F(EventTest, BankSwitchTogglesTheStatusReportAndTheCaptionsBothWays) {
    StartAttached();
    ASSERT_TRUE(SwitchBank(0));
    EXPECT_EQ(connection->GetStatusReport(), (StatusReport{0x05, 0x03}));
    EXPECT_EQ(connection->GetGKeyBank(), 1);
    EXPECT_EQ(GetGKeyBank(), 1);
    EXPECT_EQ(link->keyboard->GKeyBank(), 1);  // the status report reached the keyboard
    ExpectBankShown('B');
    const auto first = host.Calls();
    ASSERT_EQ(first.size(), 2u);
    EXPECT_EQ(first[0], (HostCall{HostCall::kBankSwitched}));
    EXPECT_EQ(first[1], (HostCall{HostCall::kBankShown, 1}));

    ASSERT_TRUE(SwitchBank(1));
    EXPECT_EQ(connection->GetStatusReport(), (StatusReport{0x05, 0x02}));
    EXPECT_EQ(connection->GetGKeyBank(), 0);
    EXPECT_EQ(link->keyboard->GKeyBank(), 0);
    ExpectBankShown('A');
    EXPECT_EQ(host.CountOf(HostCall::kBankSwitched), 2);
    EXPECT_EQ(host.CallsOf(HostCall::kBankShown).back().a, 0u);
    EXPECT_EQ(link->LedReports(), (std::vector<std::string>{"05 03", "05 02"}));
}

TEST_F(EventTest, LightingChangeIsReportedAndOtherCodesDoNothing) {
    StartAttached();
    for (const uint16_t code :
         std::array<uint16_t, 7>{0x1801, 0x1802, 0x1803, 0x1804, 0x0000, 0xFFFF, 0x0402}) {
        ASSERT_TRUE(link->keyboard->SendEvent(code));
    }
    ASSERT_TRUE(link->keyboard->SendEvent(kEventLightingChanged));
    ASSERT_TRUE(host.WaitFor([&] { return !host.Calls().empty(); }));
    ASSERT_TRUE(Settle());
    EXPECT_EQ(host.Calls(), (std::vector<HostCall>{{HostCall::kLightingChanged}}));
    EXPECT_TRUE(link->CommandsSent().empty());
}

TEST_F(EventTest, AConnectionThatLeavesEventsAloneNeverActsOnThem) {
    MakeConnection(true);
    connection->Start(true, KeyboardEvents::kLeftAlone);
    ASSERT_TRUE(host.WaitFor([&] { return host.ShownTray() == TrayState::kKeyboard; }));
    ASSERT_TRUE(Settle());
    host.Clear();
    for (const uint16_t code : {kEventBankSwitch, kEventLightingChanged, kEventIndicatorOn}) {
        ASSERT_TRUE(link->keyboard->SendEvent(code));
    }
    ASSERT_TRUE(Settle());
    EXPECT_TRUE(host.Calls().empty());
    EXPECT_TRUE(link->LedReports().empty());
    EXPECT_EQ(link->keyboard->GKeyBank(), 0);
    EXPECT_EQ(connection->GetGKeyBank(), 0);
}

TEST_F(EventTest, ShortEventReportsAreIgnored) {
    StartAttached();
    const uint8_t shortReport[] = {0x03, 0xFF};
    RadOdorRequest request{kConsumerReadTag, 2, shortReport, 0, nullptr};
    RadOdorNotification notification{RADODOR_NOTIFY_REPORT, 0, &request};
    EXPECT_EQ(connection->OnTransportNotification(&notification), 1);
    request.report = nullptr;
    request.length = 3;
    EXPECT_EQ(connection->OnTransportNotification(&notification), 1);
    ASSERT_TRUE(Settle());
    EXPECT_TRUE(host.Calls().empty());
}

TEST_F(EventTest, IndicatorOnThenOffRestoresTheKeyboardIcon) {
    StartAttached();
    ASSERT_TRUE(link->keyboard->SendEvent(kEventIndicatorOn));
    ASSERT_TRUE(link->keyboard->SendEvent(kEventIndicatorOff));
    ASSERT_TRUE(host.WaitFor([&] { return host.CallsOf(HostCall::kTray).size() == 2; }));
    ASSERT_TRUE(Settle());
    EXPECT_EQ(host.CallsOf(HostCall::kTray),
              (std::vector<HostCall>{testing::TrayCall(TrayState::kIndicatorOn),
                                     testing::TrayCall(TrayState::kIndicatorOff)}));
    EXPECT_EQ(host.ShownTray(), TrayState::kKeyboard);
}

TEST_F(EventTest, IndicatorBeforeAnyAttachRestoresTheNoKeyboardIcon) {
    MakeConnection(true);
    host.SetInitDone(false);  // the attach waits before it sets any icon
    connection->Start(true);
    ASSERT_TRUE(host.WaitFor([&] { return Count(HostCall::kKeyboardRead) == 1; }));
    ASSERT_TRUE(link->keyboard->SendEvent(kEventIndicatorOn));
    ASSERT_TRUE(host.WaitFor([&] { return host.ShownTray() == TrayState::kIndicatorOn; }));
    ASSERT_TRUE(link->keyboard->SendEvent(kEventIndicatorOff));
    ASSERT_TRUE(host.WaitFor([&] { return host.CallsOf(HostCall::kTray).size() == 2; }));
    EXPECT_EQ(host.ShownTray(), TrayState::kNoKeyboard);

    host.SetInitDone(true);
    ASSERT_TRUE(host.WaitFor([&] { return host.ShownTray() == TrayState::kKeyboard; }));
}

TEST_F(EventTest, ManyIndicatorChangesEndInTheOrderTheyCame) {
    StartAttached();
    for (int i = 0; i < 20; ++i) {
        ASSERT_TRUE(link->keyboard->SendEvent(i % 2 == 0 ? kEventIndicatorOn : kEventIndicatorOff));
    }
    ASSERT_TRUE(host.WaitFor([&] { return host.CallsOf(HostCall::kTray).size() == 20; }));
    const auto trays = host.CallsOf(HostCall::kTray);
    for (std::size_t i = 0; i < trays.size(); ++i) {
        EXPECT_EQ(trays[i], testing::TrayCall(i % 2 == 0 ? TrayState::kIndicatorOn
                                                         : TrayState::kIndicatorOff))
            << i;
    }
    EXPECT_EQ(host.ShownTray(), TrayState::kKeyboard);
}

// The bank switch waits on the consumer read's delivery thread until the user-interface thread
// handles the switch. Meanwhile that thread exchanges a command: its answer comes through the
// command read's own delivery thread, so it arrives in time.
TEST_F(EventTest, CommandAnswersArriveWhileABankSwitchWaitsForTheWindow) {
    device::Timing timing = test_support::kTestTiming;
    timing.attemptTimeout = std::chrono::milliseconds(1000);
    MakeConnection(true, timing);
    connection->Start(true);
    ASSERT_TRUE(host.WaitFor([&] { return host.ShownTray() == TrayState::kKeyboard; }));
    ASSERT_TRUE(Settle());
    host.MakeSendsWaitForUi();
    link->keyboard->ClearTrace();

    ASSERT_TRUE(link->keyboard->SendEvent(kEventBankSwitch));
    ASSERT_TRUE(host.WaitForPendingSend(std::chrono::seconds(5)));  // the switch now waits

    std::array<uint8_t, kStateBlockSize> state{};
    const auto before = std::chrono::steady_clock::now();
    EXPECT_EQ(link->commands.ReadStateBlock(state), kOk);
    const auto took = std::chrono::steady_clock::now() - before;
    EXPECT_LT(took, timing.attemptTimeout);  // answered on the first attempt
    EXPECT_EQ(link->CommandsSent(), (std::vector<int>{3}));
    EXPECT_TRUE(host.CallsOf(HostCall::kBankShown).empty());  // still waiting

    host.HandlePendingSends();
    ASSERT_TRUE(host.WaitFor([&] { return host.CallsOf(HostCall::kBankShown).size() == 1; }));
    ExpectBankShown('B');
}

}  // namespace
}  // namespace qx::device
