// The system calls that reach a hidraw node, replaceable so that tests can stand in sockets
// for device nodes and make the reader's wait fail. Reading and closing use read(2) and close(2)
// on the descriptor directly.
#pragma once

#include <poll.h>

#include <cstdint>
#include <memory>
#include <span>
#include <string>

namespace qx::transport::hidraw {

class HidrawIo {
  public:
    virtual ~HidrawIo() = default;
    // Opens a node for reading and writing: a descriptor, or -errno (-EACCES: no permission).
    virtual int Open(const std::string& path) = 0;
    // Writes an output report (report id first, 0 on nodes without ids): bytes or -errno.
    virtual int Write(int fd, std::span<const uint8_t> report) = 0;
    // Sends a feature report (report id first): >= 0, or -errno.
    virtual int SetFeature(int fd, std::span<const uint8_t> report) = 0;
    // Waits for the descriptors as poll(2) does: the number ready, or -errno.
    virtual int Poll(std::span<pollfd> fds, int timeoutMs) = 0;
};

// open(2), write(2), the HIDIOCSFEATURE ioctl and poll(2).
std::shared_ptr<HidrawIo> MakeSystemHidrawIo();

}  // namespace qx::transport::hidraw
