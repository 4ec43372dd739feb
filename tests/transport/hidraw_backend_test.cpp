// The hidraw backend against a fake sysfs tree and socket-pair device nodes: enumeration,
// routing of input reports, writes, permissions and hot-plugging.
#include "transport/hidraw/hidraw_backend.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>

#include "tests/transport/fake_backend.h"
#include "tests/transport/fake_hidraw.h"
#include "tests/transport/fixtures/hid_descriptors.h"
#include "transport/debug_log.h"
#include "transport/hidraw/access_check.h"

namespace qx::test {
namespace {

using qx::transport::hidraw::HidrawBackend;
using qx::transport::hidraw::HidrawOptions;

constexpr const char* kKeyboardId = "0003:00000C45:00006518";
constexpr const char* kMouseId = "0003:0000046D:0000C077";
const qx::transport::CollectionKey kBootKeyboardKey{0x01, 0x06};

std::vector<uint8_t> CommandPacket(uint8_t command) {
    std::vector<uint8_t> packet(kQx480CommandReportSize, 0);
    packet[0] = kQx480CommandReportId;
    packet[3] = command;
    return packet;
}

class HidrawBackendTest : public ::testing::Test {
  protected:
    // The keyboard's two interfaces on one USB port.
    void AddKeyboard(int first, const std::string& port) {
        AddNode("hidraw" + std::to_string(first), kKeyboardId, port + "/input0",
                kQx480KeyboardDescriptor);
        AddNode("hidraw" + std::to_string(first + 1), kKeyboardId, port + "/input1",
                kQx480ControlDescriptor);
    }
    void AddNode(const std::string& name, const char* hidId, const std::string& phys,
                 std::span<const uint8_t> descriptor) {
        sysfs_.AddNode(name, hidId, phys, descriptor);
        io_->Create(sysfs_.DevicePath(name));
    }
    std::string Path(const std::string& name) const { return sysfs_.DevicePath(name); }

    void Start(std::chrono::milliseconds rescan = std::chrono::milliseconds(0)) {
        HidrawOptions options;
        options.paths = sysfs_.Paths();
        options.io = io_;
        options.changeMonitor = [this] {
            auto monitor = std::make_unique<ManualChangeMonitor>();
            monitor_ = monitor.get();
            return monitor;
        };
        options.rescanInterval = rescan;
        backend_ = std::make_unique<HidrawBackend>(options);
        ASSERT_TRUE(backend_->Start(sink_));
    }
    void TearDown() override {
        if (backend_) {
            backend_->Stop();
        }
    }

    FakeSysfs sysfs_;
    std::shared_ptr<FakeHidrawIo> io_ = std::make_shared<FakeHidrawIo>();
    RecordingSink sink_;
    ManualChangeMonitor* monitor_ = nullptr;
    std::unique_ptr<HidrawBackend> backend_;
};

TEST_F(HidrawBackendTest, CountsKeyboardsNotInterfacesAndOpensOnlyTheirControlNodes) {
    AddKeyboard(0, "usb-0000:00:14.0-2");
    AddNode("hidraw2", kMouseId, "usb-0000:00:14.0-3/input0", kBootMouseDescriptor);
    AddKeyboard(10, "usb-0000:00:14.0-4");
    // The udev rule leaves the typing interface to root: it must not count as missing access.
    io_->Deny(Path("hidraw10"), EACCES);
    Start();

    EXPECT_EQ(backend_->CountDevices(KeyboardFilter(kCommandKey)), 2);
    EXPECT_EQ(backend_->CountDevices(KeyboardFilter(kLedKey)), 2);
    EXPECT_EQ(backend_->CountDevices(KeyboardFilter(kBootKeyboardKey)), 0)
        << "the typing interfaces are never opened";
    RadOdorFilter anyCommand = KeyboardFilter(kCommandKey);
    anyCommand.mask = RADODOR_MATCH_USAGE_PAGE | RADODOR_MATCH_USAGE;
    EXPECT_EQ(backend_->CountDevices(anyCommand), 2);
    RadOdorFilter otherProduct = KeyboardFilter(kCommandKey);
    otherProduct.product_id = 0x6519;
    EXPECT_EQ(backend_->CountDevices(otherProduct), 0);

    EXPECT_EQ(io_->OpenedPaths(), (std::vector<std::string>{Path("hidraw1"), Path("hidraw11")}));
    EXPECT_TRUE(backend_->InaccessibleNodes().empty());
    const auto access = qx::transport::hidraw::CheckKeyboardAccess(sysfs_.Paths(), io_.get());
    EXPECT_EQ(access.nodes, 2);
    EXPECT_FALSE(access.PresentButNotOpenable());
}

TEST_F(HidrawBackendTest, InputReportsReachTheCollectionOfTheirReportId) {
    AddKeyboard(0, "usb-1");
    AddNode("hidraw2", kKeyboardId, "usb-1/input2", kUnnumberedConsumerDescriptor);
    // A node holding the typing collection beside a used one: only the used one is handed on.
    AddNode("hidraw3", kKeyboardId, "usb-1/input3", kMediaKeyboardDescriptor);
    Start();
    const std::vector<uint8_t> event{kQx480ConsumerReportId, 0xFF, 0x02};
    io_->SendInput(Path("hidraw1"), CommandPacket(3));
    io_->SendInput(Path("hidraw1"), std::vector<uint8_t>{9, 1, 2});  // no collection has id 9
    io_->SendInput(Path("hidraw1"), event);
    const std::vector<uint8_t> keys{0, 0, 0x04, 0, 0, 0, 0, 0};
    io_->SendInput(Path("hidraw0"), keys);
    io_->SendInput(Path("hidraw3"), std::vector<uint8_t>{1, 0, 0, 0x04, 0, 0, 0, 0, 0});
    // A node without report ids: its reports get a 0 in front.
    const std::vector<uint8_t> volume{0xE9, 0x00};
    io_->SendInput(Path("hidraw2"), volume);
    io_->SendInput(Path("hidraw3"), std::vector<uint8_t>{2, 0xEA, 0x00});
    ASSERT_TRUE(sink_.WaitForReports(4));

    auto reports = sink_.Reports();
    ASSERT_EQ(reports.size(), 4u);
    // The nodes are read independently; order within a node is kept.
    std::vector<SinkReport> control;  // the control interface's, in the order sent
    std::vector<std::vector<uint8_t>> others;
    for (const auto& r : reports) {
        EXPECT_EQ(r.vendorId, RADODOR_VENDOR_ID);
        EXPECT_EQ(r.productId, RADODOR_PRODUCT_ID);
        if (r.collection == kCommandKey || r.report[0] == kQx480ConsumerReportId) {
            control.push_back(r);
        } else {
            EXPECT_EQ(r.collection, kConsumerKey);
            others.push_back(r.report);
        }
    }
    EXPECT_THAT(others, ::testing::UnorderedElementsAre(std::vector<uint8_t>{0, 0xE9, 0x00},
                                                        std::vector<uint8_t>{2, 0xEA, 0x00}));
    ASSERT_EQ(control.size(), 2u);
    EXPECT_EQ(control[0].collection, kCommandKey);
    EXPECT_EQ(control[0].report, CommandPacket(3));
    EXPECT_EQ(control[1].collection, kConsumerKey);
    EXPECT_EQ(control[1].report, event);
}

TEST_F(HidrawBackendTest, WritesGoToTheNodeOwningTheCollection) {
    AddNode("hidraw0", kKeyboardId, "usb-1/input2", kUnnumberedConsumerDescriptor);
    AddNode("hidraw1", kKeyboardId, "usb-1/input1", kQx480ControlDescriptor);
    Start();
    const auto packet = CommandPacket(1);
    EXPECT_EQ(backend_->WriteOutputReport(KeyboardFilter(kCommandKey), packet), 64);
    EXPECT_EQ(io_->ReceiveOutput(Path("hidraw1")), packet);

    const std::vector<uint8_t> status{kQx480LedReportId, 0x03};
    EXPECT_EQ(backend_->WriteOutputReport(KeyboardFilter(kLedKey), status), 2);
    EXPECT_EQ(io_->ReceiveOutput(Path("hidraw1")), status);

    // A node without report ids takes reports that start with 0, as hidraw expects.
    const std::vector<uint8_t> unnumbered{0, 0x02};
    EXPECT_EQ(backend_->WriteOutputReport(KeyboardFilter(kConsumerKey), unnumbered), 2);
    EXPECT_EQ(io_->ReceiveOutput(Path("hidraw0")), unnumbered);
    EXPECT_EQ(
        backend_->WriteOutputReport(KeyboardFilter(kConsumerKey), std::vector<uint8_t>{1, 0x02}),
        0);
    EXPECT_EQ(backend_->WriteOutputReport(KeyboardFilter(kCommandKey), std::vector<uint8_t>{0, 1}),
              0)
        << "report id 0 on a node with ids";

    const std::vector<uint8_t> feature{kQx480CommandReportId, 7, 7};
    EXPECT_EQ(backend_->SetFeatureReport(KeyboardFilter(kCommandKey), feature), 3);
    ASSERT_EQ(io_->FeatureReports().size(), 1u);
    EXPECT_EQ(io_->FeatureReports()[0], feature);

    RadOdorFilter mouse = KeyboardFilter(kCommandKey);
    mouse.vendor_id = 0x046D;
    EXPECT_EQ(backend_->WriteOutputReport(mouse, packet), 0);
}

TEST_F(HidrawBackendTest, NodesWithoutPermissionAreReportedAndCountAsAbsent) {
    sysfs_.AddNode("hidraw0", kKeyboardId, "usb-1/input0", kQx480KeyboardDescriptor);
    sysfs_.AddNode("hidraw1", kKeyboardId, "usb-1/input1", kQx480ControlDescriptor);
    io_->Deny(Path("hidraw0"), EACCES);
    io_->Deny(Path("hidraw1"), EACCES);
    std::mutex mutex;
    std::vector<std::string> lines;
    qx::transport::SetDebugOutput([&](std::string_view line) {
        const std::lock_guard lock(mutex);
        lines.emplace_back(line);
    });
    const int previous = qx::transport::SetDebugLevel(qx::transport::kDebugErrors);
    Start();
    qx::transport::SetDebugLevel(previous);
    qx::transport::SetDebugOutput(nullptr);

    EXPECT_EQ(backend_->CountDevices(KeyboardFilter(kCommandKey)), 0);
    EXPECT_EQ(backend_->WriteOutputReport(KeyboardFilter(kCommandKey), CommandPacket(1)), 0);
    EXPECT_EQ(backend_->InaccessibleNodes(), (std::vector<std::string>{Path("hidraw1")}));
    bool told = false;
    for (const auto& line : lines) {
        told = told || (line.find(Path("hidraw1")) != std::string::npos &&
                        line.find("70-qx480.rules") != std::string::npos);
    }
    EXPECT_TRUE(told) << "no message names the node and the udev rule";

    const auto access = qx::transport::hidraw::CheckKeyboardAccess(sysfs_.Paths(), io_.get());
    EXPECT_EQ(access.nodes, 1);
    EXPECT_TRUE(access.PresentButNotOpenable());
}

TEST_F(HidrawBackendTest, ArrivalAndDepartureAreReported) {
    Start();
    EXPECT_EQ(backend_->CountDevices(KeyboardFilter(kCommandKey)), 0);
    EXPECT_FALSE(qx::transport::hidraw::CheckKeyboardAccess(sysfs_.Paths(), io_.get()).Present());

    AddKeyboard(0, "usb-1");
    monitor_->Trigger();
    ASSERT_TRUE(sink_.WaitForChanges(1));
    EXPECT_EQ(backend_->CountDevices(KeyboardFilter(kCommandKey)), 1);
    io_->SendInput(Path("hidraw1"), CommandPacket(3));
    ASSERT_TRUE(sink_.WaitForReports(1));

    // Unplugged: the nodes vanish and their reads fail, without any udev event.
    sysfs_.RemoveNode("hidraw0");
    sysfs_.RemoveNode("hidraw1");
    io_->HangUp(Path("hidraw0"));
    io_->HangUp(Path("hidraw1"));
    ASSERT_TRUE(sink_.WaitForChanges(2));
    EXPECT_EQ(backend_->CountDevices(KeyboardFilter(kCommandKey)), 0);

    // Plugged in again under the same names.
    AddKeyboard(0, "usb-1");
    monitor_->Trigger();
    ASSERT_TRUE(sink_.WaitForChanges(3));
    EXPECT_EQ(backend_->CountDevices(KeyboardFilter(kCommandKey)), 1);
    io_->SendInput(Path("hidraw1"), CommandPacket(4));
    ASSERT_TRUE(sink_.WaitForReports(2));
    EXPECT_EQ(sink_.Reports()[1].report, CommandPacket(4));
}

TEST_F(HidrawBackendTest, RegularLooksFindKeyboardsWithoutMonitorEvents) {
    Start(std::chrono::milliseconds(20));
    AddKeyboard(0, "usb-1");
    ASSERT_TRUE(sink_.WaitForChanges(1));
    EXPECT_EQ(backend_->CountDevices(KeyboardFilter(kCommandKey)), 1);
    // A node that fails while still listed is opened again at a later look: the report
    // waiting on the new node arrives.
    io_->Create(Path("hidraw1"));
    io_->SendInput(Path("hidraw1"), CommandPacket(8));
    ASSERT_TRUE(sink_.WaitForReports(1));
    EXPECT_EQ(sink_.Reports()[0].report, CommandPacket(8));
    EXPECT_EQ(backend_->CountDevices(KeyboardFilter(kCommandKey)), 1);
}

TEST_F(HidrawBackendTest, AFailedWaitIsRetriedAndTheReaderKeepsReadingAndWatching) {
    AddKeyboard(0, "usb-1");
    Start();
    io_->FailPolls(4, ENOMEM);
    monitor_->Trigger();  // ends the wait in progress, so the failing ones come next
    for (int i = 0; i < 2000 && io_->PollFailuresLeft() > 0; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ASSERT_EQ(io_->PollFailuresLeft(), 0);

    io_->SendInput(Path("hidraw1"), CommandPacket(3));
    ASSERT_TRUE(sink_.WaitForReports(1));
    AddKeyboard(10, "usb-2");
    monitor_->Trigger();
    ASSERT_TRUE(sink_.WaitForChanges(1));
    EXPECT_EQ(backend_->CountDevices(KeyboardFilter(kCommandKey)), 2);
}

TEST_F(HidrawBackendTest, StopAndStartAgain) {
    AddKeyboard(0, "usb-1");
    Start();
    backend_->Stop();
    EXPECT_EQ(backend_->CountDevices(KeyboardFilter(kCommandKey)), 0);
    ASSERT_TRUE(backend_->Start(sink_));
    EXPECT_EQ(backend_->CountDevices(KeyboardFilter(kCommandKey)), 1);
}

}  // namespace
}  // namespace qx::test
