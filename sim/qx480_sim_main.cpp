// qx480-sim: serves the emulated keyboard and steers a running one from a terminal.
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "qx480_version.h"
#include "sim/control.h"
#include "sim/endpoint.h"
#include "sim/server.h"
#include "sim/socket_io.h"
#include "sim/spawn.h"
#include "sim/wire.h"

namespace {

using namespace qx::sim;

constexpr Millis kControlTimeout{10000};

constexpr std::string_view kUsage =
    R"(usage: qx480-sim [--state FILE | --socket PATH] COMMAND [ARGUMENTS]
       qx480-sim serve [--state FILE] [--socket PATH] [--trace FILE] [--linger MS|never]
                       [--boot-return MS|never]
       qx480-sim --help | --version

The emulated QX480 keyboard. Programs that use the transport library with
RADODOR_BACKEND=sim attach to it; every program that names the same state file
(RADODOR_SIM_STATE, or --state) meets the same keyboard, served by one
'qx480-sim serve' process that the first program starts on its own.

Commands for a running keyboard:
)";

constexpr std::string_view kUsageTail = R"(
serve: runs the keyboard in the foreground until 'stop', Ctrl-C, or (with --linger)
that long after the last attached program left. --trace appends every report that
crosses the link to FILE. --boot-return sets how long command 0xee keeps it away.

Environment: RADODOR_SIM_STATE (state file), RADODOR_SIM_TRACE (trace file of the
attaching program), RADODOR_SIM_SOCKET (socket path), RADODOR_SIM_SERVER (this
program, for starting on demand), RADODOR_SIM_LINGER_MS (linger of a server
started on demand, default 2000).

Exit codes: 0 done, 1 the keyboard is not running or refused, 2 bad command line.
)";

struct CommandLine {
    std::filesystem::path state;
    std::filesystem::path socket;
    std::filesystem::path trace;
    Millis linger = kNever;
    Millis bootReturn = kDefaultBootReturn;
    int readyFd = -1;
    bool serve = false;
    bool help = false;
    bool version = false;
    std::vector<std::string> words;
};

int UsageError(const std::string& text) {
    std::fprintf(stderr, "qx480-sim: %s\n", text.c_str());
    return kExitUsage;
}

// Fills `line`; returns an error text for bad input.
std::optional<std::string> Parse(int argc, char** argv, CommandLine& line) {
    std::vector<std::string> args(argv + 1, argv + argc);
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool isOption = a.starts_with("--") && line.words.empty();
        if (a == "--help" || a == "-h") {
            line.help = true;
            continue;
        }
        if (a == "--version" && line.words.empty()) {
            line.version = true;
            continue;
        }
        if (!isOption) {
            if (line.words.empty() && a == "serve" && !line.serve) {
                line.serve = true;
                continue;
            }
            if (line.serve) {
                return "serve takes options only, not '" + a + "'";
            }
            line.words.push_back(a);
            continue;
        }
        if (i + 1 >= args.size()) {
            return a + " needs a value";
        }
        const std::string& value = args[++i];
        if (a == "--state") {
            line.state = value;
        } else if (a == "--socket") {
            line.socket = value;
        } else if (a == "--trace" && line.serve) {
            line.trace = value;
        } else if ((a == "--linger" || a == "--boot-return") && line.serve) {
            const auto ms = ParseMillis(value);
            if (!ms) {
                std::string problem = a;
                problem += ": '" + value + "' is neither milliseconds nor 'never'";
                return problem;
            }
            (a == "--linger" ? line.linger : line.bootReturn) = *ms;
        } else if (a == "--ready-fd" && line.serve) {
            const auto ms = ParseMillis(value);
            if (!ms || *ms == kNever) {
                return "--ready-fd: '" + value + "' is not a descriptor";
            }
            line.readyFd = static_cast<int>(ms->count());
        } else {
            return "unknown option " + a + (line.serve ? "" : " (options of serve come after it)");
        }
    }
    return std::nullopt;
}

std::filesystem::path StateOf(const CommandLine& line) {
    if (!line.state.empty()) {
        return line.state;
    }
    const char* env = std::getenv(kEnvState);
    return env == nullptr ? std::filesystem::path() : std::filesystem::path(env);
}

std::filesystem::path SocketOf(const CommandLine& line) {
    if (!line.socket.empty()) {
        return line.socket;
    }
    const char* env = std::getenv(kEnvSocket);
    return env == nullptr ? std::filesystem::path() : std::filesystem::path(env);
}

// ---- serve ----------------------------------------------------------------------------------

Server* g_server = nullptr;

void OnStopSignal(int) {
    if (g_server != nullptr) {
        g_server->RequestStop();
    }
}

void TellStarter(int fd, std::string_view line) {
    if (fd < 0) {
        return;
    }
    const std::string text = std::string(line) + "\n";
    [[maybe_unused]] const ssize_t n = ::write(fd, text.data(), text.size());
    ::close(fd);
}

int Serve(const CommandLine& line) {
    const Endpoint endpoint = EndpointFor(StateOf(line), SocketOf(line));
    KeyboardOptions options;
    options.stateFile = endpoint.stateFile;
    options.traceFile = line.trace;
    options.keepTraceLines = false;
    options.bootReturn = line.bootReturn;
    options.log = [](const std::string& text) {
        std::fprintf(stderr, "qx480-sim: %s\n", text.c_str());
        if (g_server != nullptr) {
            g_server->Log(text);
        }
    };
    std::string error;
    auto keyboard = Keyboard::Open(options, error);
    if (!keyboard) {
        std::fprintf(stderr, "qx480-sim: %s\n", error.c_str());
        TellStarter(line.readyFd, std::string(kErrorPrefix) + error);
        return kExitFailed;
    }
    Server server(keyboard, ServerOptions{endpoint.socketPath, line.linger});
    switch (server.Listen(error)) {
        case Server::ListenResult::kAlreadyRunning:
            std::fprintf(stderr, "qx480-sim: %s\n", error.c_str());
            TellStarter(line.readyFd, kBusyLine);
            return kExitFailed;
        case Server::ListenResult::kFailed:
            std::fprintf(stderr, "qx480-sim: %s\n", error.c_str());
            TellStarter(line.readyFd, std::string(kErrorPrefix) + error);
            return kExitFailed;
        case Server::ListenResult::kListening:
            break;
    }
    g_server = &server;
    std::signal(SIGINT, OnStopSignal);
    std::signal(SIGTERM, OnStopSignal);
    std::signal(SIGPIPE, SIG_IGN);
    TellStarter(line.readyFd, kReadyLine);
    if (line.readyFd < 0) {
        std::printf("emulated keyboard serving %s on %s\n",
                    endpoint.stateFile.empty() ? "(no state file)" : endpoint.stateFile.c_str(),
                    endpoint.socketPath.c_str());
        std::fflush(stdout);
    }
    server.Run();
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
    g_server = nullptr;
    return kExitOk;
}

// ---- control commands -----------------------------------------------------------------------

// "reset" with no emulator running rewrites the state file itself.
int ResetOffline(const Endpoint& endpoint) {
    StateFileLoad load = LoadStateFile(endpoint.stateFile);
    if (!load.memory) {
        std::fprintf(stderr, "qx480-sim: %s; not overwritten\n", load.error.c_str());
        return kExitFailed;
    }
    std::string error;
    if (!SaveStateFile(endpoint.stateFile, KeyboardMemory::Factory(), error)) {
        std::fprintf(stderr, "qx480-sim: %s\n", error.c_str());
        return kExitFailed;
    }
    std::printf("no emulated keyboard is running; %s now holds factory content\n",
                endpoint.stateFile.c_str());
    return kExitOk;
}

int Control(const CommandLine& line) {
    if (auto problem = CheckControlWords(line.words)) {
        return UsageError(*problem);
    }
    if (line.words[0] == "help") {
        std::printf("%s", ControlCommandsHelp().c_str());
        return kExitOk;
    }
    const Endpoint endpoint = EndpointFor(StateOf(line), SocketOf(line));
    UniqueFd fd(ConnectUnix(endpoint.socketPath));
    if (!fd.Valid()) {
        if (line.words[0] == "reset" && !endpoint.stateFile.empty()) {
            return ResetOffline(endpoint);
        }
        std::fprintf(stderr,
                     "qx480-sim: no emulated keyboard is running for %s (socket %s); it starts "
                     "with the first program that uses it, or with 'qx480-sim serve'\n",
                     endpoint.stateFile.empty() ? "the default state" : endpoint.stateFile.c_str(),
                     endpoint.socketPath.c_str());
        return kExitFailed;
    }
    wire::FrameReader reader;
    if (!SendAll(fd.Get(), wire::EncodeWords(wire::FrameType::kControl, line.words))) {
        std::fprintf(stderr, "qx480-sim: the emulated keyboard hung up\n");
        return kExitFailed;
    }
    const auto reply = ReceiveFrame(fd.Get(), reader, kControlTimeout);
    const auto code = reply ? wire::IntOf(*reply) : std::nullopt;
    if (!reply || reply->type != wire::FrameType::kControlReply || !code) {
        std::fprintf(stderr, "qx480-sim: the emulated keyboard did not answer\n");
        return kExitFailed;
    }
    const std::string text = wire::TextAfterInt(*reply);
    std::fputs(text.c_str(), *code == kExitOk ? stdout : stderr);
    return *code;
}

}  // namespace

int main(int argc, char** argv) {
    CommandLine line;
    if (auto problem = Parse(argc, argv, line)) {
        return UsageError(*problem);
    }
    if (line.help) {
        std::printf("%s%s%s", kUsage.data(), ControlCommandsHelp().c_str(), kUsageTail.data());
        return kExitOk;
    }
    if (line.version) {
        std::printf("qx480-sim %.*s\n", static_cast<int>(qx::kProgramVersion.size()),
                    qx::kProgramVersion.data());
        return kExitOk;
    }
    if (line.serve) {
        return Serve(line);
    }
    if (line.words.empty()) {
        return UsageError("no command given (try --help)");
    }
    return Control(line);
}
