#include "sim/spawn.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <vector>

#include "sim/socket_io.h"

namespace qx::sim {
namespace {

// The readiness pipe's end in the server process.
constexpr int kReadyFd = 3;
constexpr char kExecFailed[] = "error cannot run the emulator program\n";

std::string ReadLine(int fd, Millis timeout) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + timeout;
    std::string line;
    std::array<char, 256> chunk{};
    while (line.find('\n') == std::string::npos) {
        const auto left = std::chrono::duration_cast<Millis>(deadline - Clock::now());
        if (left.count() <= 0) {
            break;
        }
        pollfd p{fd, POLLIN, 0};
        const int ready = ::poll(&p, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (ready <= 0) {
            break;
        }
        const ssize_t n = ::read(fd, chunk.data(), chunk.size());
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            break;
        }
        line.append(chunk.data(), static_cast<size_t>(n));
    }
    return line.substr(0, line.find('\n'));
}

// Runs in the forked child: only async-signal-safe calls from here on.
[[noreturn]] void BecomeServer(int readyWrite, const char* program, char* const argv[]) {
    ::setsid();
    if (::fork() != 0) {
        ::_exit(0);  // the server is nobody's child: no zombie, no shared terminal
    }
    ::dup2(readyWrite, kReadyFd);
    ::fcntl(kReadyFd, F_SETFD, 0);
    const int devNull = ::open("/dev/null", O_RDWR);
    ::dup2(devNull, STDIN_FILENO);
    ::dup2(devNull, STDOUT_FILENO);
    ::dup2(devNull, STDERR_FILENO);
    ::close_range(kReadyFd + 1, ~0U, 0);  // no descriptor of the starting program leaks over
    ::execv(program, argv);
    [[maybe_unused]] const ssize_t n = ::write(kReadyFd, kExecFailed, sizeof kExecFailed - 1);
    ::_exit(127);
}

}  // namespace

SpawnResult SpawnServer(const std::filesystem::path& program, const Endpoint& endpoint,
                        Millis linger, Millis timeout) {
    std::vector<std::string> words = {program.string(), "serve",
                                      "--socket",       endpoint.socketPath.string(),
                                      "--linger",       std::to_string(linger.count()),
                                      "--ready-fd",     std::to_string(kReadyFd)};
    if (linger.count() < 0) {
        words[5] = "never";
    }
    if (!endpoint.stateFile.empty()) {
        words.insert(words.end(), {"--state", endpoint.stateFile.string()});
    }
    std::vector<char*> argv;
    argv.reserve(words.size() + 1);
    for (std::string& w : words) {
        argv.push_back(w.data());
    }
    argv.push_back(nullptr);

    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0) {
        return {SpawnOutcome::kFailed,
                std::string("cannot create a pipe: ") + std::strerror(errno)};
    }
    UniqueFd readEnd(pipeFds[0]);
    UniqueFd writeEnd(pipeFds[1]);
    const pid_t child = ::fork();
    if (child < 0) {
        return {SpawnOutcome::kFailed, std::string("cannot fork: ") + std::strerror(errno)};
    }
    if (child == 0) {
        BecomeServer(writeEnd.Get(), argv[0], argv.data());
    }
    writeEnd = UniqueFd();
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    const std::string line = ReadLine(readEnd.Get(), timeout);
    if (line == kReadyLine) {
        return {SpawnOutcome::kReady, {}};
    }
    if (line == kBusyLine) {
        return {SpawnOutcome::kBusy, {}};
    }
    if (line.starts_with(kErrorPrefix)) {
        return {SpawnOutcome::kFailed, line.substr(kErrorPrefix.size())};
    }
    return {SpawnOutcome::kFailed, program.string() + " did not report that it listens"};
}

}  // namespace qx::sim
