// What the emulated keyboard costs: the firmware model alone, one exchange in the same process,
// one exchange through the keyboard's server socket, the USB timing model, and the state file
// that is rewritten after every change.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <condition_variable>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <thread>

#include "sim/command_handler.h"
#include "sim/endpoint.h"
#include "sim/inprocess_backend.h"
#include "sim/keyboard.h"
#include "sim/server.h"
#include "sim/sim_backend.h"
#include "sim/state_file.h"

namespace {

using namespace qx::sim;

Packet Request(uint8_t command, uint8_t length, uint16_t address) {
    Packet p{};
    p[kOffReportId] = kCommandReportId;
    p[kOffCommand] = command;
    p[kOffLength] = length;
    p[kOffAddress] = static_cast<uint8_t>(address & 0xFF);
    p[kOffAddress + 1] = static_cast<uint8_t>(address >> 8);
    SealPacket(p);
    return p;
}

const RadOdorFilter kCommand = {RADODOR_MATCH_ALL,     RADODOR_VENDOR_ID,
                                RADODOR_PRODUCT_ID,    RADODOR_COMMAND_USAGE_PAGE,
                                RADODOR_COMMAND_USAGE, 0};

KeyboardOptions WithoutTraceLines() {
    KeyboardOptions options;
    options.keepTraceLines = false;
    return options;
}

// Counts answers and lets the sender wait for the next one.
class AnswerWaiter final : public qx::transport::BackendSink {
  public:
    void OnInputReport(uint16_t, uint16_t, qx::transport::CollectionKey,
                       std::span<const uint8_t>) override {
        const std::lock_guard lock(mutex_);
        ++answers_;
        changed_.notify_all();
    }
    void OnDevicesChanged() override {}
    void WaitFor(uint64_t n) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return answers_ >= n; });
    }

  private:
    std::mutex mutex_;
    std::condition_variable changed_;
    uint64_t answers_ = 0;
};

// Runs exchanges until the benchmark stops: send, wait for the answer.
void Exchanges(benchmark::State& state, qx::transport::Backend& backend, AnswerWaiter& waiter,
               int perIteration) {
    const Packet request = Request(kCmdReadProfileLayout, 56, 0);
    uint64_t sent = 0;
    for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores)
        for (int i = 0; i < perIteration; ++i) {
            backend.WriteOutputReport(kCommand, request);
            waiter.WaitFor(++sent);
        }
    }
    state.SetItemsProcessed(static_cast<int64_t>(sent));
}

void BM_HandleCommandRead(benchmark::State& state) {
    KeyboardMemory memory = KeyboardMemory::Factory();
    const Packet request = Request(kCmdReadMemory, 56, 84);
    for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores)
        benchmark::DoNotOptimize(HandleCommand(memory, request));
    }
}
BENCHMARK(BM_HandleCommandRead);

void BM_HandleCommandWrite(benchmark::State& state) {
    KeyboardMemory memory = KeyboardMemory::Factory();
    Packet request = Request(kCmdWriteProfileLayout, 56, 324);
    uint8_t fill = 0;
    for (auto _ : state) {           // NOLINT(clang-analyzer-deadcode.DeadStores)
        request[kOffData] = ++fill;  // a real change every time
        SealPacket(request);
        benchmark::DoNotOptimize(HandleCommand(memory, request));
    }
}
BENCHMARK(BM_HandleCommandWrite);

void BM_InProcessExchange(benchmark::State& state) {
    auto keyboard = Keyboard::Create(WithoutTraceLines());
    auto backend = MakeInProcessBackend(keyboard);
    AnswerWaiter waiter;
    backend->Start(waiter);
    Exchanges(state, *backend, waiter, 1);
    backend->Stop();
}
BENCHMARK(BM_InProcessExchange)->UseRealTime();

// A 324-byte layout is six exchanges; with 1 ms each way it costs 12 ms.
void BM_LayoutTransferWithLatency(benchmark::State& state) {
    auto keyboard = Keyboard::Create(WithoutTraceLines());
    keyboard->SetLatency(Millis(state.range(0)));
    auto backend = MakeInProcessBackend(keyboard);
    AnswerWaiter waiter;
    backend->Start(waiter);
    Exchanges(state, *backend, waiter, 6);
    backend->Stop();
}
BENCHMARK(BM_LayoutTransferWithLatency)
    ->Arg(0)
    ->Arg(1)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

void BM_StateFileRewrite(benchmark::State& state) {
    const auto folder =
        std::filesystem::temp_directory_path() / ("qx480-sim-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const KeyboardMemory memory = KeyboardMemory::Factory();
    std::string error;
    for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores)
        benchmark::DoNotOptimize(SaveStateFile(folder / "kb.state", memory, error));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kStateFileSize));
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_StateFileRewrite);

// The way the driver reaches the keyboard: through the server's socket.
void BM_ServerExchange(benchmark::State& state) {
    const auto socket = std::filesystem::temp_directory_path() /
                        ("qx480-sim-bench-" + std::to_string(::getpid()) + ".sock");
    auto keyboard = Keyboard::Create(WithoutTraceLines());
    Server server(keyboard, ServerOptions{socket, kNever});
    std::string error;
    if (server.Listen(error) != Server::ListenResult::kListening) {
        state.SkipWithError(error.c_str());
        return;
    }
    std::thread serving([&] { server.Run(); });
    ::setenv(kEnvSocket, socket.c_str(), 1);
    auto backend = MakeSimBackend();
    AnswerWaiter waiter;
    if (backend->Start(waiter)) {
        Exchanges(state, *backend, waiter, 1);
        backend->Stop();
    } else {
        state.SkipWithError("cannot attach");
    }
    ::unsetenv(kEnvSocket);
    server.RequestStop();
    serving.join();
}
BENCHMARK(BM_ServerExchange)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
