// Reading hidraw nodes from sysfs: the uevent fields and the order of the nodes.
#include "transport/hidraw/sysfs_nodes.h"

#include <gtest/gtest.h>

#include "tests/transport/fake_hidraw.h"
#include "tests/transport/fixtures/hid_descriptors.h"

namespace qx::test {
namespace {

using qx::transport::hidraw::ParseHidId;
using qx::transport::hidraw::PhysicalDeviceOf;
using qx::transport::hidraw::ScanHidrawNodes;

TEST(SysfsNodes, HidIdAndPhysicalDevice) {
    const auto id = ParseHidId("0003:00000C45:00006518");
    ASSERT_TRUE(id.has_value());
    EXPECT_EQ(id->bus, 3);
    EXPECT_EQ(id->vendorId, 0x0C45);
    EXPECT_EQ(id->productId, 0x6518);
    for (const char* bad : {"", "0003:00000C45", "0003::6518", "0003:xyz:6518", "3:4:5:"}) {
        EXPECT_FALSE(ParseHidId(bad).has_value()) << bad;
    }
    EXPECT_EQ(PhysicalDeviceOf("usb-0000:00:14.0-2/input1"), "usb-0000:00:14.0-2");
    EXPECT_EQ(PhysicalDeviceOf("usb-0000:00:14.0-2/input12"), "usb-0000:00:14.0-2");
    EXPECT_EQ(PhysicalDeviceOf("usb-0000:00:14.0-2/inputs"), "usb-0000:00:14.0-2/inputs");
    EXPECT_EQ(PhysicalDeviceOf("00:1a:7d:da:71:13"), "00:1a:7d:da:71:13");
}

TEST(SysfsNodes, ScanListsNodesInNumericOrderWithTheirDevice) {
    FakeSysfs sysfs;
    sysfs.AddNode("hidraw10", "0003:00000C45:00006518", "usb-2/input1", kQx480ControlDescriptor);
    sysfs.AddNode("hidraw2", "0003:00000C45:00006518", "usb-2/input0", kBootKeyboardDescriptor);
    sysfs.AddNode("hidraw3", "0003:00000C45:00006518", "", kBootKeyboardDescriptor);
    sysfs.AddNode("hidraw4", "not an id", "usb-3/input0", kBootKeyboardDescriptor);

    const auto nodes = ScanHidrawNodes(sysfs.Paths());
    ASSERT_EQ(nodes.size(), 3u);
    EXPECT_EQ(nodes[0].name, "hidraw2");
    EXPECT_EQ(nodes[1].name, "hidraw3");
    EXPECT_EQ(nodes[2].name, "hidraw10");
    EXPECT_EQ(nodes[2].devicePath, sysfs.DevicePath("hidraw10"));
    EXPECT_EQ(nodes[2].vendorId, 0x0C45);
    EXPECT_EQ(nodes[2].reportDescriptor,
              std::vector<uint8_t>(kQx480ControlDescriptor.begin(), kQx480ControlDescriptor.end()));
    EXPECT_EQ(nodes[0].deviceKey, nodes[2].deviceKey) << "two interfaces of one keyboard";
    EXPECT_NE(nodes[0].deviceKey, nodes[1].deviceKey) << "no physical path: a device of its own";
    EXPECT_NE(nodes[0].identity, nodes[2].identity);

    EXPECT_TRUE(ScanHidrawNodes({"/nonexistent-qx", "/dev"}).empty());
}

}  // namespace
}  // namespace qx::test
