// Arrival and departure of the keyboard as the main window sees them: what is read from a new
// keyboard, which messages are sent or posted, the tray icon, and the auto-open rule.
#include <gtest/gtest.h>

#include "device/connection/connection_host.h"
#include "device/link/interfaces.h"
#include "sim/keyboard_memory.h"
#include "tests/device_connection/connection_fixture.h"

namespace qx::device {
namespace {

using testing::ConnectionTest;
using testing::HostCall;

bool HasTray(const testing::RecordingHost& host, TrayState state) {
    for (const HostCall& call : host.CallsOf(HostCall::kTray)) {
        if (call == testing::TrayCall(state)) {
            return true;
        }
    }
    return false;
}

TEST_F(ConnectionTest, KeyboardAtStartIsReadAndOpensTheWindowOnce) {
    MakeConnection(true);
    link->keyboard->Write(sim::Area::kStateBlock, sim::kStateMacroUnitsByte,
                          std::vector<uint8_t>{5});
    KeyLayout reported = kBuiltInDefaultLayout;
    reported[0] = 0x02;  // a layout unlike the built-in one
    reported[1] = 0x02;
    reported[2] = 0x64;
    link->keyboard->Write(sim::Area::kDefaultLayout, 0, reported);

    connection->Start();
    ASSERT_TRUE(host.WaitFor([&] { return Count(HostCall::kFirstAttach) == 1; }));
    ASSERT_TRUE(Settle());

    const auto calls = host.Calls();
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0], (HostCall{HostCall::kKeyboardRead}));
    EXPECT_EQ(calls[1], testing::TrayCall(TrayState::kKeyboard));
    EXPECT_EQ(calls[2], (HostCall{HostCall::kFirstAttach}));
    EXPECT_TRUE(connection->IsKeyboardAttached());
    EXPECT_EQ(connection->GetMacroCapacity(), 5u * 128u);
    EXPECT_EQ(connection->GetDefaultKeyLayout(), reported);
    EXPECT_TRUE(IsKeyboardAttached());  // the process-wide view of the started connection
    EXPECT_EQ(GetMacroCapacity(), 640u);
    EXPECT_EQ(link->CommandsSent(), (std::vector<int>{15, 15, 15, 15, 15, 15, 3}));
    EXPECT_EQ(connection->GetStatusReport(), (StatusReport{0x05, 0x02}));
    EXPECT_EQ(link->LedReports().size(), 0u);
}

TEST_F(ConnectionTest, StartedWithStartStaysInTheTray) {
    MakeConnection(true);
    connection->Start(/*autoOpenDone=*/true);
    ASSERT_TRUE(host.WaitFor([&] { return HasTray(host, TrayState::kKeyboard); }));
    ASSERT_TRUE(Settle());
    EXPECT_EQ(Count(HostCall::kKeyboardRead), 1);
    EXPECT_EQ(Count(HostCall::kFirstAttach), 0);
}

TEST_F(ConnectionTest, KeyboardPluggedInLaterIsReadWithoutOpeningTheWindow) {
    MakeConnection(false);
    connection->Start();
    ASSERT_TRUE(Settle());
    EXPECT_TRUE(host.Calls().empty());  // count 0 at start repeats the stored 0
    EXPECT_TRUE(connection->IsAutoOpenDone());
    EXPECT_FALSE(connection->IsKeyboardAttached());
    EXPECT_EQ(connection->GetDefaultKeyLayout(), kBuiltInDefaultLayout);
    EXPECT_EQ(GetDefaultKeyLayout(), kBuiltInDefaultLayout);

    link->keyboard->Plug();
    ASSERT_TRUE(host.WaitFor([&] { return HasTray(host, TrayState::kKeyboard); }));
    ASSERT_TRUE(Settle());
    EXPECT_EQ(Count(HostCall::kKeyboardRead), 1);
    EXPECT_EQ(host.ShownTray(), TrayState::kKeyboard);
    EXPECT_EQ(Count(HostCall::kFirstAttach), 0);
    EXPECT_EQ(connection->KeyboardCount(), 1);
    EXPECT_EQ(connection->GetMacroCapacity(), sim::kFactoryMacroUnits * 128u);
}

TEST_F(ConnectionTest, UnpluggedKeyboardForgetsTheProfileAndReportsItGone) {
    MakeConnection(true);
    connection->Start(true);
    ASSERT_TRUE(host.WaitFor([&] { return HasTray(host, TrayState::kKeyboard); }));
    ASSERT_TRUE(Settle());
    ASSERT_EQ(profile.Get(), link->keyboard->Memory().ActiveProfile());
    host.Clear();

    link->keyboard->Unplug();
    ASSERT_TRUE(host.WaitFor([&] { return HasTray(host, TrayState::kNoKeyboard); }));
    ASSERT_TRUE(Settle());
    const auto calls = host.Calls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0], (HostCall{HostCall::kKeyboardLeft}));
    EXPECT_EQ(calls[1], testing::TrayCall(TrayState::kNoKeyboard));
    EXPECT_EQ(profile.Cached(), device::kUnknownProfile);
    EXPECT_FALSE(connection->IsKeyboardAttached());
    EXPECT_EQ(host.ShownTray(), TrayState::kNoKeyboard);
}

TEST_F(ConnectionTest, ACountThatRepeatsTheStoredOneDoesNothing) {
    MakeConnection(true);
    connection->Start(true);
    ASSERT_TRUE(host.WaitFor([&] { return HasTray(host, TrayState::kKeyboard); }));
    ASSERT_TRUE(Settle());
    host.Clear();
    link->keyboard->ClearTrace();

    RadOdorRequest request{kCommandReadTag, 1, nullptr, 0, nullptr};
    RadOdorNotification notification{RADODOR_NOTIFY_COUNT_CHANGED, 0, &request};
    EXPECT_EQ(connection->OnTransportNotification(&notification), 1);
    ASSERT_TRUE(Settle());
    EXPECT_TRUE(host.Calls().empty());
    EXPECT_TRUE(link->CommandsSent().empty());

    // A count change on another read, and notifications without a request, are not acted on.
    request.user_tag = kConsumerReadTag;
    request.length = 0;
    EXPECT_EQ(connection->OnTransportNotification(&notification), 1);
    notification.request = nullptr;
    EXPECT_EQ(connection->OnTransportNotification(&notification), 1);
    EXPECT_EQ(connection->OnTransportNotification(nullptr), 1);
    ASSERT_TRUE(Settle());
    EXPECT_TRUE(host.Calls().empty());
    EXPECT_EQ(connection->KeyboardCount(), 1);
}

TEST_F(ConnectionTest, FailedLayoutReadShowsThePromptAndKeepsTheOldLayout) {
    MakeConnection(true);
    KeyLayout first = kBuiltInDefaultLayout;
    first[5] = 0x33;
    link->keyboard->Write(sim::Area::kDefaultLayout, 0, first);
    connection->Start(true);
    ASSERT_TRUE(host.WaitFor([&] { return HasTray(host, TrayState::kKeyboard); }));
    ASSERT_TRUE(Settle());
    ASSERT_EQ(connection->GetDefaultKeyLayout(), first);

    link->keyboard->Unplug();
    ASSERT_TRUE(host.WaitFor([&] { return HasTray(host, TrayState::kNoKeyboard); }));
    ASSERT_TRUE(Settle());
    host.Clear();
    // The layout read's first piece is refused three times; the state-block read then works.
    link->keyboard->Write(sim::Area::kStateBlock, sim::kStateMacroUnitsByte,
                          std::vector<uint8_t>{2});
    link->FailNextCommand(15);
    link->keyboard->Plug();
    ASSERT_TRUE(host.WaitFor([&] { return HasTray(host, TrayState::kKeyboard); }));
    ASSERT_TRUE(Settle());

    ASSERT_EQ(prompt.Shown().size(), 1u);
    EXPECT_EQ(prompt.Shown()[0].first, testing::kMatrixPromptText);
    EXPECT_EQ(prompt.Shown()[0].second, "");  // no title
    EXPECT_EQ(connection->GetDefaultKeyLayout(), first);
    EXPECT_EQ(connection->GetMacroCapacity(), 256u);
    const auto calls = host.Calls();
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ(calls[0].kind, HostCall::kMessage);  // before the keyboard counts as read
    EXPECT_EQ(calls[1], (HostCall{HostCall::kKeyboardRead}));
}

TEST_F(ConnectionTest, ALayoutReadCutShortByTheKeyboardLeavingShowsNoPrompt) {
    MakeConnection(true);
    link->keyboard->DropRequests(sim::kUntilCleared);
    connection->Start(true);
    ASSERT_TRUE(host.WaitFor([&] { return !link->CommandsSent().empty(); }));
    link->keyboard->Unplug();
    ASSERT_TRUE(host.WaitFor([&] { return Count(HostCall::kKeyboardLeft) == 1; }));
    ASSERT_TRUE(Settle());
    EXPECT_TRUE(prompt.Shown().empty());
    EXPECT_FALSE(connection->IsKeyboardAttached());
}

TEST_F(ConnectionTest, FailedStateReadKeepsTheMacroCapacity) {
    MakeConnection(true);
    connection->Start(true);
    ASSERT_TRUE(host.WaitFor([&] { return HasTray(host, TrayState::kKeyboard); }));
    ASSERT_TRUE(Settle());
    const uint32_t capacity = connection->GetMacroCapacity();
    link->keyboard->Unplug();
    ASSERT_TRUE(host.WaitFor([&] { return HasTray(host, TrayState::kNoKeyboard); }));
    ASSERT_TRUE(Settle());

    // The six layout pieces are answered, the state-block read is refused three times.
    link->keyboard->Write(sim::Area::kStateBlock, sim::kStateMacroUnitsByte,
                          std::vector<uint8_t>{9});
    host.Clear();
    link->FailNextCommand(3);
    link->keyboard->Plug();
    ASSERT_TRUE(host.WaitFor([&] { return HasTray(host, TrayState::kKeyboard); }));
    ASSERT_TRUE(Settle());
    EXPECT_EQ(connection->GetMacroCapacity(), capacity);
    EXPECT_EQ(Count(HostCall::kKeyboardRead), 1);
}

TEST_F(ConnectionTest, AttachWaitsForTheMainWindowsInitialisation) {
    MakeConnection(true);
    host.SetInitDone(false);
    connection->Start();
    ASSERT_TRUE(host.WaitFor([&] { return Count(HostCall::kKeyboardRead) == 1; }));
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
    EXPECT_TRUE(host.CallsOf(HostCall::kTray).empty());
    EXPECT_EQ(Count(HostCall::kFirstAttach), 0);
    EXPECT_FALSE(connection->IsKeyboardAttached());  // stored only once the window is ready

    host.SetInitDone(true);
    ASSERT_TRUE(host.WaitFor([&] { return Count(HostCall::kFirstAttach) == 1; }));
    EXPECT_TRUE(connection->IsKeyboardAttached());
}

}  // namespace
}  // namespace qx::device
