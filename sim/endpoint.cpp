#include "sim/endpoint.h"

#include <dlfcn.h>
#include <sys/un.h>
#include <unistd.h>

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <system_error>

namespace qx::sim {
namespace {

constexpr uint64_t kFnvOffset = 0xcbf29ce484222325ULL;
constexpr uint64_t kFnvPrime = 0x100000001b3ULL;
constexpr size_t kSocketPathLimit = sizeof(sockaddr_un::sun_path);

uint64_t HashOf(const std::string& text) {
    uint64_t hash = kFnvOffset;
    for (char c : text) {
        hash ^= static_cast<uint8_t>(c);
        hash *= kFnvPrime;
    }
    return hash;
}

std::filesystem::path Absolute(const std::filesystem::path& path) {
    std::error_code ec;
    auto absolute = std::filesystem::weakly_canonical(std::filesystem::absolute(path, ec), ec);
    return ec ? std::filesystem::absolute(path) : absolute;
}

std::filesystem::path RuntimeFolder() {
    const char* xdg = std::getenv("XDG_RUNTIME_DIR");
    if (xdg != nullptr && *xdg != '\0' && ::access(xdg, W_OK | X_OK) == 0) {
        return xdg;
    }
    return "/tmp";
}

std::string SocketName(const std::filesystem::path& stateFile) {
    std::string name = "qx480-sim-" + std::to_string(::getuid()) + "-";
    if (stateFile.empty()) {
        return name + "default.sock";
    }
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx",
                  static_cast<unsigned long long>(HashOf(stateFile.string())));
    return name + hex + ".sock";
}

std::filesystem::path EnvPath(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? std::filesystem::path() : std::filesystem::path(value);
}

bool IsExecutable(const std::filesystem::path& path) {
    return !path.empty() && ::access(path.c_str(), X_OK) == 0;
}

// The file of the library or program that holds this code.
std::filesystem::path OwnImage() {
    Dl_info info{};
    if (::dladdr(reinterpret_cast<void*>(&FindServerProgram), &info) == 0 ||
        info.dli_fname == nullptr) {
        return {};
    }
    return Absolute(info.dli_fname);
}

}  // namespace

Endpoint EndpointFor(const std::filesystem::path& stateFile,
                     const std::filesystem::path& socketOverride) {
    Endpoint endpoint;
    if (!stateFile.empty()) {
        endpoint.stateFile = Absolute(stateFile);
    }
    if (!socketOverride.empty()) {
        endpoint.socketPath = socketOverride;
        return endpoint;
    }
    const std::string name = SocketName(endpoint.stateFile);
    endpoint.socketPath = RuntimeFolder() / name;
    if (endpoint.socketPath.string().size() >= kSocketPathLimit) {
        endpoint.socketPath = std::filesystem::path("/tmp") / name;
    }
    return endpoint;
}

Endpoint EndpointFromEnvironment() {
    return EndpointFor(EnvPath(kEnvState), EnvPath(kEnvSocket));
}

std::filesystem::path TraceFileFromEnvironment() {
    const auto trace = EnvPath(kEnvTrace);
    return trace.empty() ? trace : Absolute(trace);
}

Millis OnDemandLingerFromEnvironment() {
    const char* value = std::getenv(kEnvLinger);
    if (value == nullptr) {
        return kDefaultOnDemandLinger;
    }
    return ParseMillis(value).value_or(kDefaultOnDemandLinger);
}

std::optional<std::filesystem::path> FindServerProgram() {
    const auto overridden = EnvPath(kEnvServer);
    if (!overridden.empty()) {
        return IsExecutable(overridden) ? std::optional(overridden) : std::nullopt;
    }
    std::error_code ec;
    const std::filesystem::path candidates[] = {
        OwnImage().parent_path(),
        std::filesystem::read_symlink("/proc/self/exe", ec).parent_path(),
        EnvPath("QX_RUNTIME_DIR"),
    };
    for (const auto& folder : candidates) {
        if (!folder.empty() && IsExecutable(folder / kServerProgramName)) {
            return folder / kServerProgramName;
        }
    }
    return std::nullopt;
}

std::optional<Millis> ParseMillis(std::string_view text) {
    if (text == "never") {
        return kNever;
    }
    long long value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || value < 0 ||
        value > 24LL * 3600 * 1000) {
        return std::nullopt;
    }
    return Millis(value);
}

}  // namespace qx::sim
