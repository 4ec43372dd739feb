// The request machinery over a backend the test drives: standing reads and their threads,
// count notifications, cancellation, unit ids, writes and the status store.
#include "transport/library.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <future>
#include <memory>
#include <mutex>
#include <thread>

#include "tests/transport/callback_recorder.h"
#include "tests/transport/fake_backend.h"

namespace qx::test {
namespace {

using qx::transport::Library;
using qx::transport::LibraryOptions;
using qx::transport::UseBackend;

constexpr uint32_t kCtrlTag = 0x4354524C;  // 'CTRL'
constexpr uint32_t kConsTag = 0x434F4E53;  // 'CONS'
constexpr uint32_t kLedTag = 0x004C4544;   // 'LED'

const RadOdorFilter kCommand = KeyboardFilter(kCommandKey);
const RadOdorFilter kConsumer = KeyboardFilter(kConsumerKey);
const RadOdorFilter kLed = KeyboardFilter(kLedKey);

std::vector<uint8_t> CommandReport(uint8_t command) {
    std::vector<uint8_t> report(64, 0);
    report[0] = 4;
    report[3] = command;
    return report;
}

class LibraryTest : public ::testing::Test {
  protected:
    void Start(LibraryOptions options = {}) {
        auto backend = std::make_unique<FakeBackend>();
        backend_ = backend.get();
        library_ = std::make_unique<Library>(UseBackend(std::move(backend)), options);
        ASSERT_EQ(library_->Init(0), 1);
    }
    void SetUp() override { Start(); }
    void TearDown() override { library_.reset(); }

    uint32_t Read(const RadOdorFilter& filter, uint32_t tag) {
        uint32_t id = 0;
        EXPECT_EQ(library_->RequestAsyncRead(&filter, &CallbackRecorder::Callback, tag, &id), 1);
        return id;
    }

    // Declared before the library: they outlive every callback it runs.
    CallbackRecorder ctrl{kCtrlTag};
    CallbackRecorder cons{kConsTag};
    CallbackRecorder led{kLedTag};
    FakeBackend* backend_ = nullptr;
    std::unique_ptr<Library> library_;
};

TEST_F(LibraryTest, ReadReceivesReportsOfItsCollectionInTheDocumentedRecords) {
    const uint32_t ctrlId = Read(kCommand, kCtrlTag);
    const uint32_t consId = Read(kConsumer, kConsTag);
    ASSERT_NE(ctrlId, 0u);
    ASSERT_NE(consId, ctrlId);

    backend_->Input(kCommandKey, CommandReport(3));
    backend_->Input(kConsumerKey, {3, 0xFF, 0x02});
    // Another vendor's command collection is not the keyboard's.
    backend_->Input(kCommandKey, CommandReport(9), 0x1234);
    backend_->Input(kCommandKey, CommandReport(7));

    ASSERT_TRUE(ctrl.WaitForCount(2));
    ASSERT_TRUE(cons.WaitForCount(1));
    const auto answers = ctrl.Deliveries();
    ASSERT_EQ(answers.size(), 2u);
    const Delivery& first = answers[0];
    EXPECT_EQ(first.kind, static_cast<uint32_t>(RADODOR_NOTIFY_REPORT));
    EXPECT_EQ(first.userTag, kCtrlTag);
    EXPECT_EQ(first.length, 64u);
    EXPECT_EQ(first.report, CommandReport(3));
    EXPECT_EQ(first.unitId, ctrlId);
    EXPECT_EQ(first.unitTag, kCtrlTag);
    EXPECT_EQ(first.latest, CommandReport(3));
    EXPECT_EQ(answers[1].report, CommandReport(7));
    EXPECT_EQ(answers[1].unit, first.unit) << "one unit record per request";

    const auto events = cons.Deliveries();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].report, (std::vector<uint8_t>{3, 0xFF, 0x02}));
    EXPECT_EQ(events[0].unitId, consId);
}

TEST_F(LibraryTest, CountChangesReachEachReadWhoseMatchingCountChanged) {
    backend_->Plug({RADODOR_VENDOR_ID, RADODOR_PRODUCT_ID, {kCommandKey}});
    Read(kCommand, kCtrlTag);  // a keyboard is already there: no notification for it
    Read(kLed, kLedTag);

    // A second keyboard with the command collection only: the LED read's count stays 0.
    backend_->Plug({RADODOR_VENDOR_ID, RADODOR_PRODUCT_ID, {kCommandKey}});
    ASSERT_TRUE(ctrl.WaitForCount(1));
    // A device with the LED collection only: the command count stays 2.
    backend_->Plug({RADODOR_VENDOR_ID, RADODOR_PRODUCT_ID, {kLedKey}});
    ASSERT_TRUE(led.WaitForCount(1));
    backend_->UnplugAll();
    ASSERT_TRUE(ctrl.WaitForCount(2));
    ASSERT_TRUE(led.WaitForCount(2));

    const auto counts = ctrl.Deliveries();
    ASSERT_EQ(counts.size(), 2u);
    EXPECT_EQ(counts[0].kind, static_cast<uint32_t>(RADODOR_NOTIFY_COUNT_CHANGED));
    EXPECT_EQ(counts[0].length, 2u);
    EXPECT_TRUE(counts[0].reportIsNull);
    EXPECT_EQ(counts[1].length, 0u);
    const auto ledCounts = led.Deliveries();
    ASSERT_EQ(ledCounts.size(), 2u);
    EXPECT_EQ(ledCounts[0].length, 1u);
    EXPECT_EQ(ledCounts[1].length, 0u);
    EXPECT_EQ(library_->RequestGetDeviceCount(&kCommand), 0);
}

TEST_F(LibraryTest, BlockedCallbackHoldsUpOnlyItsOwnRead) {
    Read(kConsumer, kConsTag);
    Read(kCommand, kCtrlTag);
    cons.CloseGate();  // like the bank switch waiting for the main window

    backend_->Input(kConsumerKey, {3, 0xFF, 0x02});
    ASSERT_TRUE(cons.WaitUntilParked());
    backend_->Input(kConsumerKey, {3, 0x01, 0x04});
    backend_->Input(kCommandKey, CommandReport(15));
    EXPECT_TRUE(ctrl.WaitForCount(1)) << "the answer waited for another read's callback";
    EXPECT_EQ(cons.Count(), 1u);

    cons.OpenGate();
    ASSERT_TRUE(cons.WaitForCount(2));
    EXPECT_EQ(cons.Deliveries()[1].report, (std::vector<uint8_t>{3, 0x01, 0x04}));
}

TEST_F(LibraryTest, DeleteWaitsForTheRunningCallbackAndStopsDelivery) {
    CallbackRecorder& watcher = ctrl;
    const uint32_t id = Read(kConsumer, kConsTag);
    Read(kConsumer, kCtrlTag);
    cons.CloseGate();
    backend_->Input(kConsumerKey, {3, 1, 0});
    ASSERT_TRUE(cons.WaitUntilParked());
    backend_->Input(kConsumerKey, {3, 2, 0});  // queued behind the parked callback

    std::mutex mutex;
    std::condition_variable done;
    bool deleted = false;
    size_t seenWhenDeleted = 0;
    std::thread deleter([&] {
        const int result = library_->DeleteRequestFromUnitId(id);
        const std::lock_guard lock(mutex);
        EXPECT_EQ(result, 1);
        deleted = true;
        seenWhenDeleted = cons.Count();
        done.notify_all();
    });
    {
        // Give a Delete that does not wait every chance to return early.
        std::unique_lock lock(mutex);
        EXPECT_FALSE(done.wait_for(lock, std::chrono::milliseconds(100), [&] { return deleted; }))
            << "Delete returned while the callback was still running";
    }
    cons.OpenGate();
    deleter.join();
    EXPECT_TRUE(deleted);
    EXPECT_EQ(seenWhenDeleted, 1u) << "the queued report must be dropped";

    backend_->Input(kConsumerKey, {3, 3, 0});
    ASSERT_TRUE(watcher.WaitForCount(3));
    EXPECT_EQ(cons.Count(), 1u);
    EXPECT_EQ(library_->DeleteRequestFromUnitId(id), 0) << "already cancelled";
}

TEST_F(LibraryTest, CallbackMayCancelItsOwnReadAndRegisterAnother) {
    uint32_t id = Read(kConsumer, kConsTag);
    struct Results {
        int deleted = -1;
        int written = -1;
        uint32_t statusId = 0;
    };
    std::promise<Results> done;
    auto results = done.get_future();
    backend_->Plug(FakeBackend::Keyboard());
    // What the bank switch does on its callback thread.
    cons.SetAction([&](const RadOdorNotification& n) {
        if (n.kind != RADODOR_NOTIFY_REPORT) {
            return;
        }
        Results r;
        r.deleted = library_->DeleteRequestFromUnitId(id);
        const uint8_t status[2] = {5, 3};
        r.written = library_->RequestStatusWrite(&kLed, &CallbackRecorder::Callback, kLedTag,
                                                 status, 2, &r.statusId);
        done.set_value(r);
    });
    backend_->Input(kConsumerKey, {3, 0xFF, 0x02});
    ASSERT_EQ(results.wait_for(std::chrono::seconds(20)), std::future_status::ready);
    const Results r = results.get();
    EXPECT_EQ(r.deleted, 1);
    EXPECT_EQ(r.written, 2);
    EXPECT_NE(r.statusId, 0u);
    // The status write's notification comes on a library thread, maybe before it returned.
    ASSERT_TRUE(led.WaitForCount(1));
    EXPECT_EQ(led.Deliveries()[0].report, (std::vector<uint8_t>{5, 3}));
    EXPECT_EQ(led.Deliveries()[0].unitId, r.statusId);

    const size_t seen = cons.Count();
    Read(kConsumer, kCtrlTag);
    backend_->Input(kConsumerKey, {3, 1, 4});
    ASSERT_TRUE(ctrl.WaitForCount(1));
    EXPECT_EQ(cons.Count(), seen) << "a read cancelled from its callback still delivered";
    cons.SetAction(nullptr);
}

TEST_F(LibraryTest, DeleteByHandleFindsTheRecordOfALiveRequestOnly) {
    Read(kCommand, kCtrlTag);
    backend_->Input(kCommandKey, CommandReport(1));
    ASSERT_TRUE(ctrl.WaitForCount(1));
    auto* unit = const_cast<RadOdorUnit*>(ctrl.Deliveries()[0].unit);

    EXPECT_EQ(library_->DeleteRequestFromHandle(nullptr), 0);
    EXPECT_EQ(library_->DeleteRequestFromUnitId(0), 0);
    EXPECT_EQ(library_->DeleteRequestFromUnitId(12345), 0);
    EXPECT_EQ(library_->DeleteRequestFromHandle(unit), 1);
    EXPECT_EQ(library_->DeleteRequestFromHandle(unit), 0) << "a stale record is not read";
}

TEST_F(LibraryTest, UnitIdsWrapPastZeroAndSkipIdsStillInUse) {
    LibraryOptions options;
    options.firstUnitId = 2;
    options.lastUnitId = 3;  // ids 1..3
    library_.reset();
    Start(options);
    EXPECT_EQ(Read(kCommand, kCtrlTag), 2u);
    EXPECT_EQ(Read(kCommand, kCtrlTag), 3u);
    EXPECT_EQ(Read(kCommand, kCtrlTag), 1u);

    uint32_t id = 99;
    EXPECT_EQ(library_->RequestAsyncRead(&kCommand, &CallbackRecorder::Callback, kCtrlTag, &id), 0)
        << "every id is alive";
    EXPECT_EQ(id, 0u);

    EXPECT_EQ(library_->DeleteRequestFromUnitId(3), 1);
    EXPECT_EQ(Read(kCommand, kCtrlTag), 3u);
}

TEST_F(LibraryTest, ReportsBeyondTheQueueLimitOfABlockedReadAreDropped) {
    LibraryOptions options;
    options.maxQueuedReports = 2;
    library_.reset();
    Start(options);
    Read(kConsumer, kConsTag);
    cons.CloseGate();
    backend_->Input(kConsumerKey, {3, 1});
    ASSERT_TRUE(cons.WaitUntilParked());
    for (uint8_t i = 2; i <= 5; ++i) {
        backend_->Input(kConsumerKey, {3, i});
    }
    cons.OpenGate();
    backend_->Input(kConsumerKey, {3, 6});  // room again once the queue drained
    ASSERT_TRUE(cons.WaitForCount(3));
    std::vector<uint8_t> seen;
    for (const auto& d : cons.Deliveries()) {
        seen.push_back(d.report[1]);
    }
    // 6 may or may not have found room, depending on how far the queue had drained.
    ASSERT_GE(seen.size(), 3u);
    EXPECT_EQ(std::vector<uint8_t>(seen.begin(), seen.begin() + 3),
              (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_LE(seen.size(), 4u);
}

TEST_F(LibraryTest, StatusWriteSendsAndKeepsTheLastStatusOfEachCollection) {
    backend_->Plug(FakeBackend::Keyboard());
    const uint8_t first[2] = {5, 2};
    const uint8_t second[2] = {5, 3};
    uint32_t firstId = 0;
    uint32_t secondId = 0;
    EXPECT_EQ(library_->RequestStatusWrite(&kLed, &CallbackRecorder::Callback, kLedTag, first, 2,
                                           &firstId),
              2);
    EXPECT_EQ(library_->RequestStatusWrite(&kLed, &CallbackRecorder::Callback, kLedTag, second, 2,
                                           &secondId),
              2);
    EXPECT_NE(firstId, secondId);
    ASSERT_TRUE(led.WaitForCount(2));
    EXPECT_EQ(led.Deliveries()[1].report, (std::vector<uint8_t>{5, 3}));
    EXPECT_EQ(led.Deliveries()[1].latest, (std::vector<uint8_t>{5, 3}));

    uint8_t buffer[8] = {};
    EXPECT_EQ(library_->RequestStatusGet(&kLed, buffer, sizeof buffer), 2);
    EXPECT_EQ(buffer[1], 3);
    EXPECT_EQ(library_->RequestStatusGet(&kLed, buffer, 1), 1);
    EXPECT_EQ(library_->RequestStatusGet(&kCommand, buffer, sizeof buffer), 0);

    const auto sent = backend_->SentReports();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[1].report, (std::vector<uint8_t>{5, 3}));

    // Not sent: not kept, no request.
    backend_->ForceWriteResult(-1);
    const uint8_t third[2] = {5, 4};
    uint32_t thirdId = 77;
    EXPECT_LE(library_->RequestStatusWrite(&kLed, &CallbackRecorder::Callback, kLedTag, third, 2,
                                           &thirdId),
              0);
    EXPECT_EQ(thirdId, 0u);
    EXPECT_EQ(library_->RequestStatusGet(&kLed, buffer, sizeof buffer), 2);
    EXPECT_EQ(buffer[1], 3);
    // Status writes stay registered until deleted.
    EXPECT_EQ(library_->DeleteRequestFromUnitId(firstId), 1);
}

TEST_F(LibraryTest, SynchronousWritesReportWhetherTheReportWasSent) {
    const auto packet = CommandReport(13);
    EXPECT_EQ(library_->RequestWriteOne(&kCommand, packet.data(), 64), 0) << "no keyboard";
    backend_->Plug(FakeBackend::Keyboard());
    EXPECT_EQ(library_->RequestWriteOne(&kCommand, packet.data(), 64), 64);
    EXPECT_EQ(library_->RequestWriteOne(nullptr, packet.data(), 64), 0);
    EXPECT_EQ(library_->RequestWriteOne(&kCommand, nullptr, 64), 0);
    EXPECT_EQ(library_->RequestWriteOne(&kCommand, packet.data(), 0), 0);
    EXPECT_EQ(library_->RequestStatusSetFeature(&kCommand, packet.data(), 8), 8);

    const auto sent = backend_->SentReports();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0].report, packet);
    EXPECT_EQ(sent[0].filter.usage_page, RADODOR_COMMAND_USAGE_PAGE);
    EXPECT_TRUE(sent[1].feature);
    EXPECT_EQ(sent[1].report.size(), 8u);
}

TEST_F(LibraryTest, AsynchronousWriteNotifiesOnceSentAndCanBeCancelledBefore) {
    const auto packet = CommandReport(1);
    uint32_t id = 5;
    EXPECT_EQ(library_->RequestWrite(&kCommand, &CallbackRecorder::Callback, kCtrlTag,
                                     packet.data(), 64, &id),
              0)
        << "no keyboard to send to";
    EXPECT_EQ(id, 0u);

    backend_->Plug(FakeBackend::Keyboard());
    ctrl.CloseGate();  // holds the write thread inside the first completion
    uint32_t firstId = 0;
    uint32_t secondId = 0;
    ASSERT_EQ(library_->RequestWrite(&kCommand, &CallbackRecorder::Callback, kCtrlTag,
                                     packet.data(), 64, &firstId),
              1);
    ASSERT_TRUE(ctrl.WaitUntilParked());
    const auto other = CommandReport(2);
    ASSERT_EQ(library_->RequestWrite(&kCommand, &CallbackRecorder::Callback, kConsTag, other.data(),
                                     64, &secondId),
              1);
    EXPECT_EQ(library_->DeleteRequestFromUnitId(secondId), 1);
    ctrl.OpenGate();

    // A third write proves the thread went past the cancelled one.
    const auto third = CommandReport(3);
    ASSERT_EQ(library_->RequestWrite(&kCommand, &CallbackRecorder::Callback, kCtrlTag, third.data(),
                                     64, &id),
              1);
    ASSERT_TRUE(ctrl.WaitForCount(2));
    EXPECT_EQ(ctrl.Deliveries()[0].report, packet);
    EXPECT_EQ(ctrl.Deliveries()[0].unitId, firstId);
    EXPECT_EQ(cons.Count(), 0u);
    const auto sent = backend_->SentReports();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0].report, packet);
    EXPECT_EQ(sent[1].report, third);
}

TEST(LibraryLifecycle, InitFailsWithoutABackendOrWhenItCannotStart) {
    Library none([] { return std::unique_ptr<qx::transport::Backend>(); });
    EXPECT_EQ(none.Init(0), 0);
    const RadOdorFilter filter = KeyboardFilter(kCommandKey);
    uint32_t id = 9;
    EXPECT_EQ(none.RequestAsyncRead(&filter, &CallbackRecorder::Callback, 1, &id), 0);
    EXPECT_EQ(id, 0u);
    EXPECT_EQ(none.RequestGetDeviceCount(&filter), 0);
    EXPECT_EQ(none.End(), 1);

    auto backend = std::make_unique<FakeBackend>();
    backend->FailStart(true);
    Library failing(UseBackend(std::move(backend)));
    EXPECT_EQ(failing.Init(0), 0);
}

TEST(LibraryLifecycle, EndCancelsEverythingAndInitStartsAgain) {
    CallbackRecorder ctrl(kCtrlTag);
    auto owned = std::make_unique<FakeBackend>();
    FakeBackend* backend = owned.get();
    Library library(UseBackend(std::move(owned)));
    ASSERT_EQ(library.Init(0), 1);
    EXPECT_EQ(library.Init(0), 1) << "a second Init keeps the running library";
    backend->Plug(FakeBackend::Keyboard());
    const RadOdorFilter command = KeyboardFilter(kCommandKey);
    const RadOdorFilter led = KeyboardFilter(kLedKey);
    uint32_t id = 0;
    ASSERT_EQ(library.RequestAsyncRead(&command, &CallbackRecorder::Callback, kCtrlTag, &id), 1);
    const uint8_t status[2] = {5, 2};
    ASSERT_EQ(library.RequestStatusWrite(&led, nullptr, 0, status, 2, nullptr), 2);

    EXPECT_EQ(library.End(), 1);
    EXPECT_EQ(backend->Stops(), 1);
    EXPECT_EQ(library.DeleteRequestFromUnitId(id), 0);
    uint8_t buffer[2] = {};
    EXPECT_EQ(library.RequestStatusGet(&led, buffer, 2), 0);
    EXPECT_EQ(library.RequestGetDeviceCount(&command), 0);

    ASSERT_EQ(library.Init(0), 1);
    EXPECT_EQ(backend->Starts(), 2);
    ASSERT_EQ(library.RequestAsyncRead(&command, &CallbackRecorder::Callback, kCtrlTag, &id), 1);
    backend->Input(kCommandKey, CommandReport(5));
    ASSERT_TRUE(ctrl.WaitForCount(1));
}

TEST(LibraryLifecycle, EndFromInsideACallbackReturns) {
    CallbackRecorder cons(kConsTag);
    std::promise<int> ended;
    auto result = ended.get_future();
    auto owned = std::make_unique<FakeBackend>();
    FakeBackend* backend = owned.get();
    Library library(UseBackend(std::move(owned)));
    ASSERT_EQ(library.Init(0), 1);
    cons.SetAction([&](const RadOdorNotification&) { ended.set_value(library.End()); });
    const RadOdorFilter consumer = KeyboardFilter(kConsumerKey);
    ASSERT_EQ(library.RequestAsyncRead(&consumer, &CallbackRecorder::Callback, kConsTag, nullptr),
              1);
    backend->Input(kConsumerKey, {3, 0x11, 0x18});
    ASSERT_EQ(result.wait_for(std::chrono::seconds(20)), std::future_status::ready);
    EXPECT_EQ(result.get(), 1);
    EXPECT_EQ(backend->Stops(), 1);
    // The library's destructor joins the thread that ended it once its callback returned.
}

TEST(LibraryLifecycle, LibrariesFollowEachOtherInOneProcess) {
    CallbackRecorder ctrl(kCtrlTag);
    for (int round = 0; round < 3; ++round) {
        auto owned = std::make_unique<FakeBackend>();
        FakeBackend* backend = owned.get();
        Library library(UseBackend(std::move(owned)));
        ASSERT_EQ(library.Init(0), 1);
        const RadOdorFilter command = KeyboardFilter(kCommandKey);
        ASSERT_EQ(
            library.RequestAsyncRead(&command, &CallbackRecorder::Callback, kCtrlTag, nullptr), 1);
        backend->Input(kCommandKey, CommandReport(static_cast<uint8_t>(round)));
        ASSERT_TRUE(ctrl.WaitForCount(static_cast<size_t>(round) + 1));
    }
}

}  // namespace
}  // namespace qx::test
