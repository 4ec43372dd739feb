// Small, blocking helpers over Unix stream sockets, shared by the keyboard's server, the
// programs attached to it and the qx480-sim command.
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>

#include "sim/wire.h"

namespace qx::sim {

// A connected socket, or -1 (errno set).
int ConnectUnix(const std::filesystem::path& path);
// A listening, non-blocking socket bound to path (a stale socket file is replaced), or -1 with
// `error`.
int ListenUnix(const std::filesystem::path& path, std::string& error);
// Writes all bytes; false when the peer is gone. Never raises SIGPIPE.
bool SendAll(int fd, std::span<const uint8_t> bytes);
// Reads until a whole frame is there. Nothing on end of stream, error, a malformed stream or
// after `timeout` (a negative timeout waits for ever).
std::optional<wire::Frame> ReceiveFrame(int fd, wire::FrameReader& reader,
                                        std::chrono::milliseconds timeout);

// Closes the descriptor when it goes out of scope.
class UniqueFd {
  public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : fd_(fd) {}
    ~UniqueFd();
    UniqueFd(UniqueFd&& other) noexcept : fd_(other.Release()) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept;
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;

    int Get() const { return fd_; }
    bool Valid() const { return fd_ >= 0; }
    int Release() {
        const int fd = fd_;
        fd_ = -1;
        return fd;
    }

  private:
    int fd_ = -1;
};

}  // namespace qx::sim
