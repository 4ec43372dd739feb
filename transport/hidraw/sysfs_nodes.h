// Enumeration of hidraw nodes from sysfs: each node's ids, the physical device it belongs to
// and its report descriptor.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qx::transport::hidraw {

// Where the tree lives; tests point both at a fake tree.
struct HidrawPaths {
    std::string sysfsRoot = "/sys";  // nodes are listed in <sysfsRoot>/class/hidraw
    std::string devRoot = "/dev";    // and opened as <devRoot>/<node name>
};

struct HidrawNodeInfo {
    std::string name;        // "hidraw3"
    std::string devicePath;  // "/dev/hidraw3"
    uint16_t bus = 0;
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    // Equal for the nodes of one physical device (its interfaces), different between devices.
    std::string deviceKey;
    // Changes when the node name is taken by another device.
    std::string identity;
    std::vector<uint8_t> reportDescriptor;
};

struct HidId {
    uint16_t bus = 0;
    uint16_t vendorId = 0;
    uint16_t productId = 0;
};

// "0003:00000C45:00006518" (bus:vendor:product in hex, as HID_ID in a uevent file).
std::optional<HidId> ParseHidId(std::string_view text);

// The physical device of a HID_PHYS value: "usb-0000:00:14.0-2/input1" -> "usb-0000:00:14.0-2".
std::string_view PhysicalDeviceOf(std::string_view phys);

// Every node with a readable HID_ID, ordered by node number. Nodes whose descriptor cannot be
// read are listed with an empty descriptor (they own no collection).
std::vector<HidrawNodeInfo> ScanHidrawNodes(const HidrawPaths& paths);

}  // namespace qx::transport::hidraw
