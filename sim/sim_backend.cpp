#include "sim/sim_backend.h"

#include <sys/socket.h>

#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <thread>

#include "sim/endpoint.h"
#include "sim/inprocess_backend.h"
#include "sim/socket_io.h"
#include "sim/spawn.h"
#include "sim/wire.h"

namespace qx::sim {
namespace {

using qx::transport::BackendSink;
using qx::transport::CollectionKey;
using wire::FrameType;
using Clock = std::chrono::steady_clock;

constexpr Millis kStartBudget{5000};   // for the server to come up
constexpr Millis kRespawnPause{1000};  // between two attempts to start it
constexpr Millis kConnectRetry{20};
constexpr Millis kWelcomeTimeout{3000};
constexpr Millis kReconnectPeriod{500};  // after the server went away

void Complain(const std::string& text) {
    std::fprintf(stderr, "qx480-sim: %s\n", text.c_str());
}

// One connection to the server; the descriptor closes when the last user lets go.
struct Connection {
    UniqueFd fd;
    wire::FrameReader reader;
};

enum class HelloResult { kWelcome, kRefused, kLost };

// Says hello and waits for the welcome. Reports that come before it are not for us yet.
HelloResult Hello(Connection& c, const std::filesystem::path& trace, bool& present,
                  std::string& refusal) {
    std::vector<uint8_t> body = {static_cast<uint8_t>(wire::kProtocolVersion & 0xFF),
                                 static_cast<uint8_t>(wire::kProtocolVersion >> 8)};
    const std::string tracePath = trace.string();
    body.insert(body.end(), tracePath.begin(), tracePath.end());
    if (!SendAll(c.fd.Get(), wire::Encode(FrameType::kHello, body))) {
        return HelloResult::kLost;
    }
    while (auto frame = ReceiveFrame(c.fd.Get(), c.reader, kWelcomeTimeout)) {
        if (frame->type == FrameType::kWelcome && !frame->body.empty()) {
            present = frame->body[0] != 0;
            return HelloResult::kWelcome;
        }
        if (frame->type == FrameType::kRefused) {
            refusal = wire::TextOf(*frame);
            return HelloResult::kRefused;
        }
    }
    return HelloResult::kLost;
}

class SocketBackend final : public qx::transport::Backend {
  public:
    ~SocketBackend() override { Stop(); }

    bool Start(BackendSink& sink) override {
        endpoint_ = EndpointFromEnvironment();
        trace_ = TraceFileFromEnvironment();
        std::string error;
        bool present = false;
        auto connection = ConnectOrStart(error, present);
        if (!connection) {
            Complain(error);
            return false;
        }
        {
            const std::lock_guard lock(mutex_);
            sink_ = &sink;
            present_ = present;
            connection_ = std::move(connection);
            stopping_ = false;
        }
        reader_ = std::thread([this] { ReadLoop(); });
        return true;
    }

    void Stop() override {
        {
            const std::lock_guard lock(mutex_);
            stopping_ = true;
            if (connection_) {
                ::shutdown(connection_->fd.Get(), SHUT_RDWR);
            }
        }
        changed_.notify_all();
        if (reader_.joinable()) {
            reader_.join();
        }
        const std::lock_guard lock(mutex_);
        connection_.reset();
        present_ = false;
    }

    int CountDevices(const RadOdorFilter& filter) override {
        const std::lock_guard lock(mutex_);
        return present_ && MatchingCollection(filter) ? 1 : 0;
    }

    int WriteOutputReport(const RadOdorFilter& filter, std::span<const uint8_t> report) override {
        const auto collection = MatchingCollection(filter);
        if (!collection) {
            return -1;
        }
        const std::lock_guard writing(writeMutex_);
        std::unique_lock lock(mutex_);
        auto connection = connection_;
        if (!connection || stopping_) {
            return -1;
        }
        const uint64_t generation = connectionGeneration_;
        result_.reset();
        lock.unlock();
        if (!SendAll(
                connection->fd.Get(),
                wire::EncodeByte(FrameType::kWrite, static_cast<uint8_t>(*collection), report))) {
            return -1;
        }
        lock.lock();
        changed_.wait(lock, [&] {
            return result_.has_value() || stopping_ || connectionGeneration_ != generation;
        });
        return result_.value_or(-1);
    }

    // The keyboard declares no feature reports.
    int SetFeatureReport(const RadOdorFilter&, std::span<const uint8_t>) override { return -1; }

  private:
    std::shared_ptr<Connection> TryConnect(std::string& error, bool& refused, bool& present) {
        auto connection = std::make_shared<Connection>();
        connection->fd = UniqueFd(ConnectUnix(endpoint_.socketPath));
        if (!connection->fd.Valid()) {
            return nullptr;
        }
        std::string refusal;
        switch (Hello(*connection, trace_, present, refusal)) {
            case HelloResult::kWelcome:
                return connection;
            case HelloResult::kRefused:
                refused = true;
                error = refusal;
                return nullptr;
            case HelloResult::kLost:
                return nullptr;  // the server was on its way out; try again
        }
        return nullptr;
    }

    std::shared_ptr<Connection> ConnectOrStart(std::string& error, bool& present) {
        const auto deadline = Clock::now() + kStartBudget;
        std::optional<Clock::time_point> lastStart;
        while (Clock::now() < deadline) {
            bool refused = false;
            if (auto connection = TryConnect(error, refused, present)) {
                return connection;
            }
            if (refused) {
                return nullptr;
            }
            if (!lastStart || Clock::now() - *lastStart >= kRespawnPause) {
                if (!StartServer(error)) {
                    return nullptr;
                }
                lastStart = Clock::now();
            }
            std::this_thread::sleep_for(kConnectRetry);
        }
        error = "the emulated keyboard at " + endpoint_.socketPath.string() +
                " did not answer within " + std::to_string(kStartBudget.count()) + " ms";
        return nullptr;
    }

    bool StartServer(std::string& error) {
        const auto program = FindServerProgram();
        if (!program) {
            error = std::string("cannot find the ") + kServerProgramName +
                    " program next to the transport library; set " + kEnvServer;
            return false;
        }
        const SpawnResult started =
            SpawnServer(*program, endpoint_, OnDemandLingerFromEnvironment(), kStartBudget);
        if (started.outcome == SpawnOutcome::kFailed) {
            error = "cannot start the emulated keyboard (" + program->string() +
                    "): " + started.message;
            return false;
        }
        return true;
    }

    void ReadLoop() {
        while (true) {
            std::shared_ptr<Connection> connection;
            {
                const std::lock_guard lock(mutex_);
                if (stopping_) {
                    return;
                }
                connection = connection_;
            }
            if (connection) {
                Serve(*connection);
                if (Stopping()) {
                    return;  // our own hang-up: the program is not told
                }
                ConnectionLost();
            } else if (!Reconnect()) {
                return;
            }
        }
    }

    void Serve(Connection& connection) {
        while (auto frame = ReceiveFrame(connection.fd.Get(), connection.reader, Millis(-1))) {
            switch (frame->type) {
                case FrameType::kReport:
                    if (frame->body.size() > 1 && frame->body[0] < kAllCollections.size()) {
                        const CollectionUsage u = UsageOf(static_cast<Collection>(frame->body[0]));
                        sink_->OnInputReport(kVendorId, kProductId,
                                             CollectionKey{u.usagePage, u.usage},
                                             std::span(frame->body).subspan(1));
                    }
                    break;
                case FrameType::kPresence:
                    SetPresent(!frame->body.empty() && frame->body[0] != 0);
                    break;
                case FrameType::kWriteResult: {
                    const std::lock_guard lock(mutex_);
                    result_ = wire::IntOf(*frame).value_or(-1);
                    changed_.notify_all();
                    break;
                }
                case FrameType::kLog:
                    Complain(wire::TextOf(*frame));
                    break;
                default:
                    break;
            }
        }
    }

    bool Stopping() {
        const std::lock_guard lock(mutex_);
        return stopping_;
    }

    void SetPresent(bool present) {
        bool changed = false;
        {
            const std::lock_guard lock(mutex_);
            changed = present_ != present;
            present_ = present;
        }
        if (changed) {
            sink_->OnDevicesChanged();
        }
    }

    // The server went away: to the program the keyboard has left.
    void ConnectionLost() {
        {
            const std::lock_guard lock(mutex_);
            connection_.reset();
            ++connectionGeneration_;
        }
        changed_.notify_all();
        SetPresent(false);
    }

    // Waits for a server to serve the state file again (one started by hand or by another
    // program); false when stopping.
    bool Reconnect() {
        while (true) {
            {
                std::unique_lock lock(mutex_);
                changed_.wait_for(lock, kReconnectPeriod, [this] { return stopping_; });
                if (stopping_) {
                    return false;
                }
            }
            std::string error;
            bool refused = false;
            bool present = false;
            if (auto connection = TryConnect(error, refused, present)) {
                {
                    const std::lock_guard lock(mutex_);
                    connection_ = std::move(connection);
                }
                SetPresent(present);
                return true;
            }
        }
    }

    Endpoint endpoint_;
    std::filesystem::path trace_;
    std::mutex writeMutex_;  // one write waits for its result at a time
    std::mutex mutex_;
    std::condition_variable changed_;
    BackendSink* sink_ = nullptr;
    std::shared_ptr<Connection> connection_;
    uint64_t connectionGeneration_ = 0;
    std::optional<int> result_;
    bool present_ = false;
    bool stopping_ = false;
    std::thread reader_;
};

}  // namespace

std::unique_ptr<qx::transport::Backend> MakeSimBackend() {
    return std::make_unique<SocketBackend>();
}

}  // namespace qx::sim
