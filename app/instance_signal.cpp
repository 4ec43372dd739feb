#include "app/instance_signal.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "app/instance_mutex.h"
#include "app/main_window_port.h"

namespace qx::app {
namespace {

using Clock = std::chrono::steady_clock;

class Socket {
  public:
    Socket() : descriptor_(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0)) {}
    ~Socket() {
        if (descriptor_ >= 0) {
            ::close(descriptor_);
        }
    }
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;
    [[nodiscard]] int Descriptor() const { return descriptor_; }

  private:
    int descriptor_;
};

bool Connect(int descriptor, const std::string& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof(address.sun_path)) {
        return false;
    }
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    int result = 0;
    do {
        result =
            ::connect(descriptor, reinterpret_cast<const sockaddr*>(&address), sizeof(address));
    } while (result != 0 && errno == EINTR);
    return result == 0;
}

// The server must be the process we searched for and run as this user: a socket file left by a
// process that ended may have been taken over by anyone.
bool PeerIs(int descriptor, pid_t pid) {
    ucred credentials{};
    socklen_t size = sizeof(credentials);
    if (::getsockopt(descriptor, SOL_SOCKET, SO_PEERCRED, &credentials, &size) != 0) {
        return false;
    }
    return credentials.pid == pid && credentials.uid == ::getuid();
}

bool WriteAll(int descriptor, const uint8_t* data, std::size_t size) {
    while (size > 0) {
        const ssize_t written = ::send(descriptor, data, size, MSG_NOSIGNAL);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

bool ReadAll(int descriptor, uint8_t* data, std::size_t size, Clock::time_point deadline) {
    while (size > 0) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) {
            return false;
        }
        pollfd waiting{descriptor, POLLIN, 0};
        const int ready = ::poll(&waiting, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (ready <= 0) {
            return false;
        }
        const ssize_t got = ::recv(descriptor, data, size, 0);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            return false;
        }
        data += got;
        size -= static_cast<std::size_t>(got);
    }
    return true;
}

}  // namespace

std::optional<InstanceReply> ExchangeWithInstance(pid_t pid, const InstanceRequest& request,
                                                  std::chrono::milliseconds timeout) {
    const Clock::time_point deadline = Clock::now() + timeout;
    const Socket socket;
    if (socket.Descriptor() < 0 || !Connect(socket.Descriptor(), InstanceServerPath(pid)) ||
        !PeerIs(socket.Descriptor(), pid)) {
        return std::nullopt;
    }
    const auto bytes = EncodeInstanceRequest(request);
    if (!WriteAll(socket.Descriptor(), bytes.data(), bytes.size())) {
        return std::nullopt;
    }
    std::array<uint8_t, kInstanceReplySize> answer{};
    if (!ReadAll(socket.Descriptor(), answer.data(), answer.size(), deadline)) {
        return std::nullopt;
    }
    return DecodeInstanceReply(answer);
}

bool SignalInstance(pid_t pid, InstanceSignalKind kind, std::chrono::milliseconds timeout) {
    const InstanceRequest request =
        kind == InstanceSignalKind::Kill
            ? InstanceRequest{kMainWindowTag, kKillMessage, kKillCode, 0}
            : InstanceRequest{kMainWindowTag, kOpenMessage, kOpenCode, 0};
    const std::optional<InstanceReply> reply = ExchangeWithInstance(pid, request, timeout);
    return reply.has_value() && reply->status == InstanceStatus::Delivered;
}

}  // namespace qx::app
