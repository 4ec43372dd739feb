#include "transport/hidraw/hidraw_io.h"

#include <fcntl.h>
#include <linux/hidraw.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

namespace qx::transport::hidraw {
namespace {

class SystemHidrawIo final : public HidrawIo {
  public:
    int Open(const std::string& path) override {
        const int fd = ::open(path.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
        return fd >= 0 ? fd : -errno;
    }

    int Write(int fd, std::span<const uint8_t> report) override {
        for (;;) {
            const ssize_t written = ::write(fd, report.data(), report.size());
            if (written >= 0) {
                return static_cast<int>(written);
            }
            if (errno != EINTR) {
                return -errno;
            }
        }
    }

    int SetFeature(int fd, std::span<const uint8_t> report) override {
        // The ioctl may write the buffer back; never hand it the caller's bytes.
        std::vector<uint8_t> buffer(report.begin(), report.end());
        const int result = ::ioctl(fd, HIDIOCSFEATURE(buffer.size()), buffer.data());
        return result >= 0 ? result : -errno;
    }

    int Poll(std::span<pollfd> fds, int timeoutMs) override {
        const int ready = ::poll(fds.data(), fds.size(), timeoutMs);
        return ready >= 0 ? ready : -errno;
    }
};

}  // namespace

std::shared_ptr<HidrawIo> MakeSystemHidrawIo() {
    return std::make_shared<SystemHidrawIo>();
}

}  // namespace qx::transport::hidraw
