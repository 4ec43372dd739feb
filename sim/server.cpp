#include "sim/server.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <mutex>
#include <vector>

#include "sim/control.h"
#include "sim/socket_io.h"
#include "sim/wire.h"

namespace qx::sim {
namespace {

using wire::Frame;
using wire::FrameType;
using Clock = std::chrono::steady_clock;

// A program that stops reading is dropped rather than letting the keyboard's output pile up.
constexpr size_t kMaxPendingOutput = 8 << 20;
constexpr size_t kReadChunk = 4096;
constexpr size_t kHelloVersionSize = 2;
// A server waits at least this long for its first program, whatever its linger time, so that
// the program that started it has time to attach.
constexpr Millis kFirstAttachWait{5000};

}  // namespace

class Server::Impl {
  public:
    Impl(std::shared_ptr<Keyboard> keyboard, ServerOptions options)
        : keyboard_(std::move(keyboard)), options_(std::move(options)) {}

    ~Impl() {
        for (auto& client : clients_) {
            DropClient(*client);
        }
        if (listen_.Valid()) {
            ::unlink(options_.socketPath.c_str());
        }
        if (ownsLock_) {
            ::unlink(lockPath_.c_str());  // still holding the lock: nobody else owns this file
        }
    }

    ListenResult Listen(std::string& error) {
        const ListenResult locked = TakeLock(error);
        if (locked != ListenResult::kListening) {
            return locked;
        }
        int pipeFds[2];
        if (::pipe2(pipeFds, O_NONBLOCK | O_CLOEXEC) != 0) {
            error = std::string("cannot create a pipe: ") + std::strerror(errno);
            return ListenResult::kFailed;
        }
        wakeRead_ = UniqueFd(pipeFds[0]);
        wakeWrite_ = UniqueFd(pipeFds[1]);
        listen_ = UniqueFd(ListenUnix(options_.socketPath, error));
        return listen_.Valid() ? ListenResult::kListening : ListenResult::kFailed;
    }

    // Takes "<socket>.lock". The file is removed by the server that ends, so after taking the
    // lock it must still be the file at that path; otherwise another server has made a new one.
    ListenResult TakeLock(std::string& error) {
        lockPath_ = options_.socketPath.string() + ".lock";
        while (true) {
            lock_ = UniqueFd(::open(lockPath_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600));
            if (!lock_.Valid()) {
                error = "cannot open " + lockPath_ + ": " + std::strerror(errno);
                return ListenResult::kFailed;
            }
            if (::flock(lock_.Get(), LOCK_EX | LOCK_NB) != 0) {
                error = "an emulated keyboard already serves " + options_.socketPath.string();
                return ListenResult::kAlreadyRunning;
            }
            struct stat held {};
            struct stat named {};
            if (::fstat(lock_.Get(), &held) == 0 && ::stat(lockPath_.c_str(), &named) == 0 &&
                held.st_dev == named.st_dev && held.st_ino == named.st_ino) {
                ownsLock_ = true;
                return ListenResult::kListening;
            }
        }
    }

    void Run() {
        lastLeft_ = Clock::now();
        while (!stop_.load()) {
            std::vector<pollfd> fds = PollSet();
            if (::poll(fds.data(), fds.size(), PollTimeout()) < 0 && errno != EINTR) {
                break;
            }
            DrainWakePipe();
            if (fds[1].revents & POLLIN) {
                AcceptClients();
            }
            for (size_t i = 0; i < clients_.size() && 2 + i < fds.size(); ++i) {
                if (fds[2 + i].revents & (POLLIN | POLLHUP | POLLERR)) {
                    ReadFrom(*clients_[i]);
                }
            }
            BroadcastLogs();
            FlushAll();
            RemoveClosedClients();
            if (LingerExpired()) {
                break;
            }
        }
        FlushAll();
    }

    void RequestStop() {
        stop_.store(true);
        Wake();
    }

    void Log(const std::string& text) {
        const std::lock_guard lock(logsMutex_);
        logs_.push_back(text);
    }

    void Wake() {
        const uint8_t byte = 1;
        [[maybe_unused]] const ssize_t n = ::write(wakeWrite_.Get(), &byte, 1);
    }

  private:
    struct Client final : KeyboardListener {
        Impl* server = nullptr;
        UniqueFd fd;
        wire::FrameReader reader;
        std::mutex outMutex;
        std::vector<uint8_t> out;
        bool overflow = false;
        bool attached = false;
        bool closing = false;  // hang up once the output is flushed
        bool dead = false;
        uint64_t listenerId = 0;
        std::filesystem::path trace;

        void OnReport(Collection collection, std::span<const uint8_t> report) override {
            Queue(wire::EncodeByte(FrameType::kReport, static_cast<uint8_t>(collection), report));
        }
        void OnPresenceChanged(bool present) override {
            Queue(wire::EncodeByte(FrameType::kPresence, present ? 1 : 0));
        }
        void Queue(const std::vector<uint8_t>& frame) {
            {
                const std::lock_guard lock(outMutex);
                if (out.size() + frame.size() > kMaxPendingOutput) {
                    overflow = true;
                } else {
                    out.insert(out.end(), frame.begin(), frame.end());
                }
            }
            server->Wake();
        }
    };

    std::vector<pollfd> PollSet() {
        std::vector<pollfd> fds;
        fds.push_back({wakeRead_.Get(), POLLIN, 0});
        fds.push_back({listen_.Get(), POLLIN, 0});
        for (const auto& client : clients_) {
            short events = POLLIN;
            {
                const std::lock_guard lock(client->outMutex);
                if (!client->out.empty()) {
                    events |= POLLOUT;
                }
            }
            fds.push_back({client->fd.Get(), events, 0});
        }
        return fds;
    }

    int PollTimeout() const {
        if (options_.linger.count() < 0 || AttachedCount() > 0) {
            return -1;
        }
        const auto left = std::chrono::duration_cast<Millis>(LingerEnd() - Clock::now());
        return static_cast<int>(std::max<int64_t>(left.count(), 0) + 1);
    }

    Clock::time_point LingerEnd() const {
        return lastLeft_ +
               (everAttached_ ? options_.linger : std::max(options_.linger, kFirstAttachWait));
    }

    size_t AttachedCount() const {
        return static_cast<size_t>(
            std::ranges::count_if(clients_, [](const auto& c) { return c->attached && !c->dead; }));
    }

    bool LingerExpired() const {
        return options_.linger.count() >= 0 && AttachedCount() == 0 && Clock::now() >= LingerEnd();
    }

    void DrainWakePipe() {
        std::array<uint8_t, 64> sink{};
        while (::read(wakeRead_.Get(), sink.data(), sink.size()) > 0) {
        }
    }

    void AcceptClients() {
        while (true) {
            const int fd = ::accept4(listen_.Get(), nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
            if (fd < 0) {
                return;
            }
            auto client = std::make_unique<Client>();
            client->server = this;
            client->fd = UniqueFd(fd);
            clients_.push_back(std::move(client));
        }
    }

    void ReadFrom(Client& client) {
        std::array<uint8_t, kReadChunk> chunk{};
        while (true) {
            const ssize_t n = ::recv(client.fd.Get(), chunk.data(), chunk.size(), MSG_DONTWAIT);
            if (n > 0) {
                client.reader.Feed(std::span(chunk).first(static_cast<size_t>(n)));
                continue;
            }
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK)) {
                client.dead = true;
            }
            break;
        }
        while (!client.closing) {
            auto frame = client.reader.Next();
            if (!frame) {
                break;
            }
            Handle(client, *frame);
        }
        if (client.reader.Failed()) {
            client.dead = true;
        }
    }

    void Handle(Client& client, const Frame& frame) {
        switch (frame.type) {
            case FrameType::kHello:
                HandleHello(client, frame);
                return;
            case FrameType::kWrite:
                HandleWrite(client, frame);
                return;
            case FrameType::kControl:
                HandleControl(client, frame);
                return;
            default:
                client.dead = true;  // not a program of ours
        }
    }

    void Refuse(Client& client, const std::string& why) {
        client.Queue(wire::EncodeText(FrameType::kRefused, why));
        client.closing = true;
    }

    void HandleHello(Client& client, const Frame& frame) {
        if (client.attached || frame.body.size() < kHelloVersionSize) {
            client.dead = true;
            return;
        }
        const uint16_t version = static_cast<uint16_t>(frame.body[0] | frame.body[1] << 8);
        if (version != wire::kProtocolVersion) {
            Refuse(client, "the emulated keyboard speaks protocol " +
                               std::to_string(wire::kProtocolVersion) + ", not " +
                               std::to_string(version));
            return;
        }
        std::string error;
        if (!keyboard_->ReloadIfChangedOnDisk(error)) {
            Refuse(client, error);
            return;
        }
        const std::string trace(frame.body.begin() + kHelloVersionSize, frame.body.end());
        if (!trace.empty() && !keyboard_->AddTraceFile(trace, error)) {
            Refuse(client, error);
            return;
        }
        client.trace = trace;
        client.listenerId = keyboard_->Attach(&client);
        client.attached = true;
        everAttached_ = true;
        {
            // Under the output lock, so that a presence change racing with the welcome reaches
            // the program after it.
            const std::lock_guard lock(client.outMutex);
            const auto welcome = wire::EncodeByte(FrameType::kWelcome, keyboard_->IsPresent());
            client.out.insert(client.out.end(), welcome.begin(), welcome.end());
        }
    }

    void HandleWrite(Client& client, const Frame& frame) {
        if (!client.attached || frame.body.empty() || frame.body[0] >= kAllCollections.size()) {
            client.dead = true;
            return;
        }
        const auto collection = static_cast<Collection>(frame.body[0]);
        const int result = keyboard_->ReceiveReport(collection, std::span(frame.body).subspan(1));
        client.Queue(wire::EncodeInt(FrameType::kWriteResult, result));
    }

    void HandleControl(Client& client, const Frame& frame) {
        const auto words = wire::WordsOf(frame);
        if (!words) {
            client.dead = true;
            return;
        }
        ControlReply reply = RunControl(*keyboard_, *words);
        if (reply.text.empty() || reply.text.back() != '\n') {
            reply.text += '\n';
        }
        client.Queue(wire::EncodeInt(FrameType::kControlReply, reply.exitCode, reply.text));
        client.closing = true;
        if (reply.stopServer) {
            stop_.store(true);
        }
    }

    void BroadcastLogs() {
        std::vector<std::string> logs;
        {
            const std::lock_guard lock(logsMutex_);
            logs.swap(logs_);
        }
        for (const std::string& text : logs) {
            for (auto& client : clients_) {
                if (client->attached) {
                    client->Queue(wire::EncodeText(FrameType::kLog, text));
                }
            }
        }
    }

    void FlushAll() {
        for (auto& client : clients_) {
            Flush(*client);
        }
    }

    void Flush(Client& client) {
        const std::lock_guard lock(client.outMutex);
        if (client.overflow) {
            client.dead = true;
            return;
        }
        size_t sent = 0;
        while (sent < client.out.size()) {
            const ssize_t n = ::send(client.fd.Get(), client.out.data() + sent,
                                     client.out.size() - sent, MSG_DONTWAIT | MSG_NOSIGNAL);
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n <= 0) {
                if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) {
                    client.dead = true;
                }
                break;
            }
            sent += static_cast<size_t>(n);
        }
        client.out.erase(client.out.begin(), client.out.begin() + static_cast<ptrdiff_t>(sent));
        if (client.closing && client.out.empty()) {
            client.dead = true;
        }
    }

    void DropClient(Client& client) {
        if (client.attached) {
            keyboard_->Detach(client.listenerId);
            if (!client.trace.empty()) {
                keyboard_->RemoveTraceFile(client.trace);
            }
            client.attached = false;
            lastLeft_ = Clock::now();
        }
    }

    void RemoveClosedClients() {
        for (auto& client : clients_) {
            if (client->dead) {
                DropClient(*client);
            }
        }
        std::erase_if(clients_, [](const auto& c) { return c->dead; });
    }

    std::shared_ptr<Keyboard> keyboard_;
    const ServerOptions options_;
    std::string lockPath_;
    bool ownsLock_ = false;
    UniqueFd lock_;
    UniqueFd listen_;
    UniqueFd wakeRead_;
    UniqueFd wakeWrite_;
    std::vector<std::unique_ptr<Client>> clients_;
    std::atomic<bool> stop_{false};
    Clock::time_point lastLeft_ = Clock::now();
    bool everAttached_ = false;
    std::mutex logsMutex_;
    std::vector<std::string> logs_;
};

Server::Server(std::shared_ptr<Keyboard> keyboard, ServerOptions options)
    : impl_(std::make_unique<Impl>(std::move(keyboard), std::move(options))) {}

Server::~Server() = default;

Server::ListenResult Server::Listen(std::string& error) {
    return impl_->Listen(error);
}

void Server::Run() {
    impl_->Run();
}

void Server::RequestStop() {
    impl_->RequestStop();
}

void Server::Log(const std::string& text) {
    impl_->Log(text);
    impl_->Wake();
}

}  // namespace qx::sim
