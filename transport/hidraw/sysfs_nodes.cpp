#include "transport/hidraw/sysfs_nodes.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <utility>

namespace qx::transport::hidraw {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kClassDir = "/class/hidraw";
constexpr std::string_view kNodePrefix = "hidraw";
constexpr std::string_view kInputSuffix = "/input";
// A report descriptor is at most 4096 bytes; anything far beyond is not one.
constexpr std::streamsize kMaxFileBytes = std::streamsize{64} * 1024;

std::string ReadSmallFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return {};
    }
    std::string text(static_cast<size_t>(kMaxFileBytes), '\0');
    in.read(text.data(), kMaxFileBytes);
    text.resize(static_cast<size_t>(in.gcount()));
    return text;
}

std::string_view ValueOf(std::string_view uevent, std::string_view key) {
    while (!uevent.empty()) {
        const size_t end = std::min(uevent.find('\n'), uevent.size());
        const std::string_view line = uevent.substr(0, end);
        if (line.size() > key.size() && line.substr(0, key.size()) == key &&
            line[key.size()] == '=') {
            return line.substr(key.size() + 1);
        }
        uevent.remove_prefix(std::min(end + 1, uevent.size()));
    }
    return {};
}

bool ParseHex16(std::string_view text, uint16_t& value) {
    uint32_t wide = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), wide, 16);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) {
        return false;
    }
    value = static_cast<uint16_t>(wide & 0xFFFF);
    return true;
}

// hidraw10 after hidraw9.
unsigned NodeNumber(const std::string& name) {
    unsigned number = 0;
    const char* begin = name.data() + kNodePrefix.size();
    std::from_chars(begin, name.data() + name.size(), number);
    return number;
}

std::optional<HidrawNodeInfo> ReadNode(const fs::path& entry, const HidrawPaths& paths) {
    const std::string uevent = ReadSmallFile(entry / "device" / "uevent");
    const auto id = ParseHidId(ValueOf(uevent, "HID_ID"));
    if (!id) {
        return std::nullopt;
    }
    HidrawNodeInfo node;
    node.name = entry.filename().string();
    node.devicePath = paths.devRoot + "/" + node.name;
    node.bus = id->bus;
    node.vendorId = id->vendorId;
    node.productId = id->productId;
    const std::string_view phys = PhysicalDeviceOf(ValueOf(uevent, "HID_PHYS"));
    const std::string_view uniq = ValueOf(uevent, "HID_UNIQ");
    // Without a physical path each node stands for a device of its own.
    node.deviceKey = std::string(ValueOf(uevent, "HID_ID")) + "@" +
                     (phys.empty() ? node.name : std::string(phys)) + "#" + std::string(uniq);
    node.identity = uevent + "|" + ReadSmallFile(entry / "dev");
    const std::string descriptor = ReadSmallFile(entry / "device" / "report_descriptor");
    node.reportDescriptor.assign(descriptor.begin(), descriptor.end());
    return node;
}

}  // namespace

std::optional<HidId> ParseHidId(std::string_view text) {
    const size_t first = text.find(':');
    const size_t second = first == std::string_view::npos ? first : text.find(':', first + 1);
    if (second == std::string_view::npos) {
        return std::nullopt;
    }
    HidId id;
    if (!ParseHex16(text.substr(0, first), id.bus) ||
        !ParseHex16(text.substr(first + 1, second - first - 1), id.vendorId) ||
        !ParseHex16(text.substr(second + 1), id.productId)) {
        return std::nullopt;
    }
    return id;
}

std::string_view PhysicalDeviceOf(std::string_view phys) {
    const size_t at = phys.rfind(kInputSuffix);
    if (at == std::string_view::npos) {
        return phys;
    }
    const std::string_view number = phys.substr(at + kInputSuffix.size());
    const bool digits = !number.empty() && std::all_of(number.begin(), number.end(),
                                                       [](char c) { return c >= '0' && c <= '9'; });
    return digits ? phys.substr(0, at) : phys;
}

std::vector<HidrawNodeInfo> ScanHidrawNodes(const HidrawPaths& paths) {
    std::vector<HidrawNodeInfo> nodes;
    std::error_code error;
    for (fs::directory_iterator it(paths.sysfsRoot + std::string(kClassDir), error), end;
         !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (name.rfind(kNodePrefix, 0) != 0) {
            continue;
        }
        if (auto node = ReadNode(it->path(), paths)) {
            nodes.push_back(std::move(*node));
        }
    }
    std::sort(nodes.begin(), nodes.end(), [](const auto& a, const auto& b) {
        return std::pair(NodeNumber(a.name), a.name) < std::pair(NodeNumber(b.name), b.name);
    });
    return nodes;
}

}  // namespace qx::transport::hidraw
