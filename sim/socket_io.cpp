#include "sim/socket_io.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>

namespace qx::sim {
namespace {

constexpr int kListenBacklog = 16;
constexpr size_t kReadChunk = 4096;

bool FillAddress(const std::filesystem::path& path, sockaddr_un& address) {
    const std::string text = path.string();
    if (text.size() >= sizeof(address.sun_path)) {
        errno = ENAMETOOLONG;
        return false;
    }
    address = {};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, text.c_str(), text.size() + 1);
    return true;
}

}  // namespace

UniqueFd::~UniqueFd() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

UniqueFd& UniqueFd::operator=(UniqueFd&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) {
            ::close(fd_);
        }
        fd_ = other.Release();
    }
    return *this;
}

int ConnectUnix(const std::filesystem::path& path) {
    sockaddr_un address{};
    if (!FillAddress(path, address)) {
        return -1;
    }
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return -1;
    }
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        const int saved = errno;
        ::close(fd);
        errno = saved;
        return -1;
    }
    return fd;
}

int ListenUnix(const std::filesystem::path& path, std::string& error) {
    sockaddr_un address{};
    if (!FillAddress(path, address)) {
        error = "the socket path " + path.string() + " is too long";
        return -1;
    }
    UniqueFd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    if (!fd.Valid()) {
        error = std::string("cannot create a socket: ") + std::strerror(errno);
        return -1;
    }
    ::unlink(path.c_str());
    if (::bind(fd.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(fd.Get(), kListenBacklog) != 0) {
        error = "cannot listen on " + path.string() + ": " + std::strerror(errno);
        return -1;
    }
    return fd.Release();
}

bool SendAll(int fd, std::span<const uint8_t> bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::send(fd, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

std::optional<wire::Frame> ReceiveFrame(int fd, wire::FrameReader& reader,
                                        std::chrono::milliseconds timeout) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + timeout;
    std::array<uint8_t, kReadChunk> chunk{};
    while (true) {
        if (auto frame = reader.Next()) {
            return frame;
        }
        if (reader.Failed()) {
            return std::nullopt;
        }
        int wait = -1;
        if (timeout.count() >= 0) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            if (left.count() <= 0) {
                return std::nullopt;
            }
            wait = static_cast<int>(left.count());
        }
        pollfd p{fd, POLLIN, 0};
        const int ready = ::poll(&p, 1, wait);
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (ready <= 0) {
            return std::nullopt;
        }
        const ssize_t n = ::recv(fd, chunk.data(), chunk.size(), 0);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return std::nullopt;
        }
        reader.Feed(std::span(chunk).first(static_cast<size_t>(n)));
    }
}

}  // namespace qx::sim
