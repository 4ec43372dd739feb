// Keyboard-count changes one at a time in arrival order, the end of the connection, and the
// named events.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <semaphore.h>
#include <unistd.h>

#include <cerrno>

#include "device/connection/connection_host.h"
#include "device/connection/device_session.h"
#include "device/connection/named_events.h"
#include "device/link/interfaces.h"
#include "tests/device_connection/connection_fixture.h"

namespace qx::device {
namespace {

using testing::ConnectionTest;
using testing::HostCall;

// The attach and detach reports in the order they were made ('P' read, 'L' left).
std::string AttachHistory(const testing::RecordingHost& host) {
    std::string history;
    for (const HostCall& call : host.Calls()) {
        if (call.kind == HostCall::kKeyboardRead) {
            history += 'P';
        } else if (call.kind == HostCall::kKeyboardLeft) {
            history += 'L';
        }
    }
    return history;
}

void Notify(DeviceConnection& connection, uint32_t count) {
    RadOdorRequest request{kCommandReadTag, count, nullptr, 0, nullptr};
    RadOdorNotification notification{RADODOR_NOTIFY_COUNT_CHANGED, 0, &request};
    connection.OnTransportNotification(&notification);
}

TEST_F(ConnectionTest, CountChangesAreHandledOneAtATimeInArrivalOrder) {
    MakeConnection(false);
    connection->Start(true);
    ASSERT_TRUE(Settle());
    // Slow sends widen the window in which racing attach threads would overtake each other.
    host.SetSendDelay(std::chrono::milliseconds(15));
    link->keyboard->Plug();  // the keyboard is there for every attach of this burst
    for (uint32_t count : {1u, 0u, 1u, 0u, 1u}) {
        Notify(*connection, count);
    }
    ASSERT_TRUE(host.WaitFor([&] { return host.CallsOf(HostCall::kTray).size() >= 5; }));
    ASSERT_TRUE(Settle());

    EXPECT_EQ(AttachHistory(host), "PLPLP");
    const auto trays = host.CallsOf(HostCall::kTray);
    ASSERT_EQ(trays.size(), 5u);
    for (std::size_t i = 0; i < trays.size(); ++i) {
        EXPECT_EQ(trays[i], testing::TrayCall(i % 2 == 0 ? TrayState::kKeyboard
                                                         : TrayState::kNoKeyboard))
            << i;
    }
    EXPECT_EQ(connection->KeyboardCount(), 1);
    EXPECT_EQ(host.ShownTray(), TrayState::kKeyboard);
    EXPECT_EQ(Count(HostCall::kFirstAttach), 0);
}

TEST_F(ConnectionTest, PlugUnplugPlugBurstEndsAttachedAndConsistent) {
    MakeConnection(true);
    connection->Start(true);
    ASSERT_TRUE(host.WaitFor([&] { return host.ShownTray() == TrayState::kKeyboard; }));
    ASSERT_TRUE(Settle());
    ASSERT_EQ(profile.Get(), 0);
    host.Clear();
    host.SetSendDelay(std::chrono::milliseconds(10));

    for (int round = 0; round < 3; ++round) {
        link->keyboard->Unplug();
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        link->keyboard->Plug();
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    ASSERT_TRUE(Settle());

    // Whatever the library reported, each detach follows an attach and the burst ends with one.
    const std::string history = AttachHistory(host);
    ASSERT_FALSE(history.empty());
    EXPECT_EQ(history.front(), 'L');
    EXPECT_EQ(history.back(), 'P');
    EXPECT_EQ(history.find("PP"), std::string::npos) << history;
    EXPECT_EQ(history.find("LL"), std::string::npos) << history;
    EXPECT_EQ(connection->KeyboardCount(), 1);
    EXPECT_EQ(host.ShownTray(), TrayState::kKeyboard);
    EXPECT_EQ(host.CallsOf(HostCall::kTray).back(), testing::TrayCall(TrayState::kKeyboard));
    EXPECT_EQ(profile.Cached(), device::kUnknownProfile);  // forgotten by the detaches
    EXPECT_EQ(profile.Get(), 0);
}

TEST_F(ConnectionTest, StopEndsAWaitingAttachAndIgnoresLaterEvents) {
    MakeConnection(true);
    host.SetInitDone(false);
    connection->Start();
    ASSERT_TRUE(host.WaitFor([&] { return Count(HostCall::kKeyboardRead) == 1; }));

    const auto before = std::chrono::steady_clock::now();
    connection->Stop();
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(1));
    host.SetInitDone(true);
    link->keyboard->SendEvent(kEventBankSwitch);
    link->keyboard->SendEvent(kEventIndicatorOn);
    link->keyboard->Unplug();
    link->keyboard->WaitUntilQuiet();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_TRUE(host.CallsOf(HostCall::kTray).empty());
    EXPECT_TRUE(host.CallsOf(HostCall::kBankShown).empty());
    EXPECT_EQ(Count(HostCall::kFirstAttach), 0);
    EXPECT_TRUE(link->LedReports().empty());
    EXPECT_FALSE(IsKeyboardAttached());  // no connection is started any more
    connection->Stop();                  // a second stop changes nothing
}

TEST_F(ConnectionTest, StopWakesAnAttachWaitingForTheKeyboardsAnswer) {
    device::Timing slow = test_support::kTestTiming;
    slow.attemptTimeout = std::chrono::seconds(5);
    MakeConnection(true, slow);
    link->keyboard->DropRequests(sim::kUntilCleared);
    connection->Start(true);
    ASSERT_TRUE(host.WaitFor([&] { return !link->CommandsSent().empty(); }));

    const auto before = std::chrono::steady_clock::now();
    connection->Stop();
    // Well inside the first attempt: the layout and state reads did not wait out their six.
    EXPECT_LT(std::chrono::steady_clock::now() - before, slow.attemptTimeout);
    EXPECT_EQ(link->CommandsSent().size(), 1u);
    EXPECT_TRUE(prompt.Shown().empty());
    EXPECT_EQ(Count(HostCall::kKeyboardRead), 0);
}

TEST_F(ConnectionTest, OneConnectionIsStartedAtATime) {
    MakeConnection(false);
    connection->Start();
    DeviceConnection second(link->api, link->exchange, link->commands, host, profile);
    EXPECT_THROW(second.Start(), std::logic_error);
    connection->Stop();
    EXPECT_NO_THROW(second.Start());
    ASSERT_TRUE(host.WaitFor([&] { return second.IsAutoOpenDone(); }));
    second.Stop();
}

TEST(DeviceSession, LendsItsCommandsToTheProfileCacheForItsLifetime) {
    testing::EmulatedLink link(true);
    testing::RecordingHost host;
    {
        DeviceSession session(link.api, host, test_support::kTestTiming);
        session.Connection().Start(true);
        // The count is stored last, after the tray icon.
        ASSERT_TRUE(host.WaitFor([&] { return IsKeyboardAttached(); }));
        EXPECT_EQ(device::GetCurrentProfile(), 0);
    }
    EXPECT_FALSE(IsKeyboardAttached());
    EXPECT_EQ(device::CurrentProfile().Cached(), device::kUnknownProfile);
    EXPECT_EQ(device::GetCurrentProfile(), device::kUnknownProfile);  // nothing to ask
}

// Every user has events of their own: the name ends in the user id.
TEST(NamedEvents, AreCreatedUnderTheirNamesAndRemovedAgain) {
    const std::string uid = "-" + std::to_string(::getuid());
    EXPECT_EQ(NamedEventName(kNamedEventPrefix, 1), "Quilvane_Event_Main_01" + uid);
    EXPECT_EQ(NamedEventName(kNamedEventPrefix, 99), "Quilvane_Event_Main_99" + uid);
    EXPECT_EQ(NamedEventName(kNamedEventPrefix, 214), "Quilvane_Event_Main_214" + uid);

    const std::string prefix = "qx_test_" + std::to_string(::getpid()) + "_";
    NamedEvents events(prefix);
    EXPECT_EQ(events.SystemName(7), "/" + prefix + "Main_07" + uid);
    ASSERT_EQ(events.Create(), kNamedEventCount);
    for (int number : {1, 100, 214}) {
        sem_t* seen = sem_open(events.SystemName(number).c_str(), 0);
        ASSERT_NE(seen, SEM_FAILED) << number;
        int value = -1;
        sem_getvalue(seen, &value);
        EXPECT_EQ(value, 0);  // unsignalled
        sem_close(seen);
    }
    events.Remove();
    errno = 0;
    EXPECT_EQ(sem_open(events.SystemName(1).c_str(), 0), SEM_FAILED);
    EXPECT_EQ(errno, ENOENT);
    EXPECT_EQ(sem_open(events.SystemName(214).c_str(), 0), SEM_FAILED);

    // Made on a thread of their own: removing them waits for that thread, so none is left.
    events.StartCreating();
    events.Remove();
    EXPECT_EQ(sem_open(events.SystemName(214).c_str(), 0), SEM_FAILED);
}

// What a killed instance leaves: the events exist with nobody holding them.
TEST(NamedEvents, ThoseAnEndedInstanceLeftAreRemoved) {
    const std::string prefix = "qx_test_left_" + std::to_string(::getpid()) + "_";
    const NamedEvents names(prefix);
    for (int number : {1, 214}) {
        sem_close(sem_open(names.SystemName(number).c_str(), O_CREAT, 0600, 0));
    }
    RemoveNamedEvents(prefix);
    EXPECT_EQ(sem_open(names.SystemName(1).c_str(), 0), SEM_FAILED);
    EXPECT_EQ(sem_open(names.SystemName(214).c_str(), 0), SEM_FAILED);
}

}  // namespace
}  // namespace qx::device
