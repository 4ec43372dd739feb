#include "transport/hidraw/access_check.h"

#include <unistd.h>

#include <cerrno>

#include "transport/hidraw/used_collections.h"
#include "transport/radodor.h"

namespace qx::transport::hidraw {

KeyboardAccess CheckKeyboardAccess(const HidrawPaths& paths, HidrawIo* io) {
    std::shared_ptr<HidrawIo> system;
    if (io == nullptr) {
        system = MakeSystemHidrawIo();
        io = system.get();
    }
    KeyboardAccess access;
    for (const auto& node : ScanHidrawNodes(paths)) {
        if (node.vendorId != RADODOR_VENDOR_ID || node.productId != RADODOR_PRODUCT_ID ||
            !HoldsUsedCollection(hid::ParseReportDescriptor(node.reportDescriptor))) {
            continue;  // the typing interface is never opened, so its access does not matter
        }
        ++access.nodes;
        const int fd = io->Open(node.devicePath);
        if (fd >= 0) {
            ::close(fd);
        } else if (fd == -EACCES || fd == -EPERM) {
            access.deniedNodes.push_back(node.devicePath);
        }
    }
    return access;
}

}  // namespace qx::transport::hidraw
