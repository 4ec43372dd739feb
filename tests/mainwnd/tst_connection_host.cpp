// The device connection's side of the main window: each report becomes the window's message,
// timer or widget change; calls from the connection's threads run on the user-interface thread,
// sends and the message box wait for it, and closing the host releases every waiting call so the
// window can stop the connection without waiting for itself.
#include <QTest>
#include <atomic>
#include <future>
#include <thread>

#include "device/connection/connection_host.h"
#include "mainwnd/main_connection_host.h"
#include "platform/message_window.h"
#include "platform/prompt.h"
#include "platform/testing/scripted_prompt.h"

using qx::device::TrayState;
using qx::mainwnd::HostWindow;
using qx::mainwnd::MainConnectionHost;

namespace {

constexpr uint32_t kProfileRead = 0x5452;
constexpr uint32_t kProfileReadCode = 0x50524F46;

struct RecordingWindow : HostWindow {
    void HideForDevice() override { Note("hide"); }
    void ApplyTrayState(int mode, int iconId) override {
        Note("tray " + std::to_string(mode) + " " + std::to_string(iconId));
    }
    void ApplyControlCaption(int controlId, const std::string& caption) override {
        Note("caption " + std::to_string(controlId) + " " + caption);
    }
    void ApplyBankPicture(int bank) override { Note("bank " + std::to_string(bank)); }

    void Note(const std::string& call) {
        calls.push_back(call);
        onUiThread = onUiThread && QThread::currentThread() == qApp->thread();
    }
    std::vector<std::string> calls;
    bool onUiThread = true;
};

bool WaitFor(const std::function<bool()>& done) {
    return QTest::qWaitFor(done, 5000);
}

}  // namespace

class ConnectionHostTest : public QObject {
    Q_OBJECT

  private slots:
    void sendRunsOnTheWindowThreadAndWaitsForIt();
    void closeReleasesAWaitingSendAndStopsLaterCalls();
    void widgetRequestsArriveOnTheWindowThreadInOrder();
    void messageBoxWaitsForTheWindowThread();
    void reportsBecomeTheWindowsMessages();
};

void ConnectionHostTest::sendRunsOnTheWindowThreadAndWaitsForIt() {
    qx::platform::MessageWindow messages;
    RecordingWindow window;
    MainConnectionHost host(window, messages);
    std::atomic<bool> handled{false};
    std::thread::id handlerThread;
    messages.AddHandler(kProfileRead,
                        [&](qx::platform::MessageWParam wParam, qx::platform::MessageLParam) {
                            handlerThread = std::this_thread::get_id();
                            handled = wParam == kProfileReadCode;
                            return qx::platform::MessageResult{0};
                        });
    std::atomic<bool> returned{false};
    std::atomic<bool> handledWhenReturned{false};
    std::thread worker([&] {
        host.KeyboardRead();
        handledWhenReturned = handled.load();
        returned = true;
    });
    QVERIFY(WaitFor([&] { return returned.load(); }));
    worker.join();
    QVERIFY(handledWhenReturned);
    QCOMPARE(handlerThread, std::this_thread::get_id());
    // On the window's own thread the send runs at once.
    handled = false;
    host.KeyboardRead();
    QVERIFY(handled);
}

void ConnectionHostTest::closeReleasesAWaitingSendAndStopsLaterCalls() {
    qx::platform::MessageWindow messages;
    RecordingWindow window;
    MainConnectionHost host(window, messages);
    std::atomic<int> handled{0};
    messages.AddHandler(kProfileRead, [&](auto, auto) {
        ++handled;
        return qx::platform::MessageResult{0};
    });
    // The window thread is busy (it handles no events): the worker waits.
    std::promise<void> returned;
    std::future<void> done = returned.get_future();
    std::thread worker([&] {
        host.KeyboardRead();
        returned.set_value();
    });
    QCOMPARE(done.wait_for(std::chrono::milliseconds(100)), std::future_status::timeout);
    host.Close();
    QCOMPARE(done.wait_for(std::chrono::seconds(5)), std::future_status::ready);
    worker.join();
    // Later calls return at once and nothing reaches the window, not even the queued send.
    std::thread late([&] {
        host.KeyboardRead();
        host.ShowMessage("late");
        host.ShowGKeyBank(0, {"A1"});
        host.ShowTrayState(TrayState::kKeyboard);
    });
    late.join();
    QTest::qWait(20);
    QCOMPARE(handled.load(), 0);
    QVERIFY(window.calls.empty());
    QVERIFY(host.IsClosed());
}

void ConnectionHostTest::widgetRequestsArriveOnTheWindowThreadInOrder() {
    qx::platform::MessageWindow messages;
    RecordingWindow window;
    MainConnectionHost host(window, messages);
    std::atomic<bool> returned{false};
    std::thread worker([&] {
        host.ShowGKeyBank(1, {"B1", "B2", "B3", "B4", "B5"});
        host.LastKeyboardLeft();  // waits for this thread's events
        host.ShowTrayState(TrayState::kKeyboard);
        host.ShowTrayState(TrayState::kIndicatorOn);
        host.ShowTrayState(TrayState::kIndicatorOff);
        host.ShowTrayState(TrayState::kNoKeyboard);
        returned = true;
    });
    QVERIFY(WaitFor([&] { return returned.load(); }));
    worker.join();
    QVERIFY(WaitFor([&] { return window.calls.size() == 15; }));
    // The G keys' buttons, then the tray modes and icons of widgets::TrayIconState.
    const std::vector<std::string> expected{
        "bank 1",          "caption 1000 B1", "caption 1001 B2", "caption 1002 B3",
        "caption 1003 B4", "caption 1004 B5", "caption 1140 ",   "caption 1141 ",
        "caption 1142 ",   "caption 1143 ",   "hide",            "tray 0 141",
        "tray 1 142",      "tray 0 0",        "tray 0 128"};
    QCOMPARE(window.calls, expected);
    QVERIFY(window.onUiThread);
}

void ConnectionHostTest::messageBoxWaitsForTheWindowThread() {
    qx::platform::testing::ScriptedPrompt prompt;
    qx::platform::SetCurrentPrompt(&prompt);
    qx::platform::MessageWindow messages;
    RecordingWindow window;
    MainConnectionHost host(window, messages);
    std::atomic<bool> returned{false};
    std::atomic<std::size_t> shownWhenReturned{0};
    std::thread worker([&] {
        host.ShowMessage("The keyboard did not report its layout");
        shownWhenReturned = prompt.MessageTexts().size();
        returned = true;
    });
    QVERIFY(WaitFor([&] { return returned.load(); }));
    worker.join();
    QCOMPARE(shownWhenReturned.load(), std::size_t{1});
    QCOMPARE(prompt.Questions().front().caption, std::string());
    qx::platform::SetCurrentPrompt(nullptr);
}

// The window's handlers know the connection only by these messages and codes.
void ConnectionHostTest::reportsBecomeTheWindowsMessages() {
    qx::platform::MessageWindow messages;
    RecordingWindow window;
    MainConnectionHost host(window, messages);
    std::vector<std::pair<uint32_t, uint32_t>> received;
    for (const uint32_t message : {0x5452u, 0x4753u, 0x5045u, 0x5350u}) {
        messages.AddHandler(message, [&, message](qx::platform::MessageWParam wParam, auto) {
            received.emplace_back(message, static_cast<uint32_t>(wParam));
            return qx::platform::MessageResult{0};
        });
    }
    QVERIFY(!host.IsInitDone());
    host.SetInitDone();
    QVERIFY(host.IsInitDone());
    std::atomic<bool> returned{false};
    std::thread worker([&] {
        host.KeyboardRead();
        host.LastKeyboardLeft();
        host.GKeyBankSwitched();
        host.FirstAttach();  // posted: the only one that does not wait
        host.LightingChanged();
        returned = true;
    });
    QVERIFY(WaitFor([&] { return returned.load(); }));
    worker.join();
    QVERIFY(WaitFor([&] { return received.size() == 4 && messages.IsTimerActive(1051); }));
    const std::vector<std::pair<uint32_t, uint32_t>> expected{
        {0x5452, 0x50524F46}, {0x4753, 0}, {0x5045, 0x004C4544}, {0x5350, 0x4F50454E}};
    QCOMPARE(received, expected);
}

QTEST_MAIN(ConnectionHostTest)
#include "tst_connection_host.moc"
