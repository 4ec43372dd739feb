#include "device/link/transport_binding.h"

#include <dlfcn.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/program_paths.h"

namespace qx::device {

namespace {

constexpr std::array<const char*, RADODOR_FUNCTION_COUNT> kFunctionNames = RADODOR_FUNCTION_NAMES;

// Fills the table field by field in binding order; false when a name is missing.
bool BindFunctions(void* library, RadOdorApi& api) {
    std::array<void*, RADODOR_FUNCTION_COUNT> symbols{};
    for (std::size_t i = 0; i < kFunctionNames.size(); ++i) {
        symbols[i] = dlsym(library, kFunctionNames[i]);
        if (symbols[i] == nullptr) {
            return false;
        }
    }
    static_assert(sizeof(RadOdorApi) == sizeof(symbols), "one field per exported name");
    std::memcpy(&api, symbols.data(), sizeof(api));
    return true;
}

}  // namespace

std::string TransportLibraryPath() {
    return platform::GetProgramPaths().folder + kTransportLibraryName;
}

std::optional<RadOdorApi> BindTransport(const std::string& libraryPath) {
    void* library = dlopen(libraryPath.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        return std::nullopt;
    }
    RadOdorApi api{};
    if (!BindFunctions(library, api) || api.Init(0) <= 0) {
        dlclose(library);
        return std::nullopt;
    }
    // Bound for the rest of the process: never unloaded.
    return api;
}

RadOdorApi BindTransportOrExit() {
    return BindTransportOrExit(TransportLibraryPath());
}

RadOdorApi BindTransportOrExit(const std::string& libraryPath) {
    if (auto api = BindTransport(libraryPath)) {
        return *api;
    }
    // Without its transport the driver has nothing to do; it leaves quietly, through what the
    // program registered for a quick exit (its local server's socket goes), but without the
    // static destructors other threads might still need.
    std::fflush(nullptr);
    std::quick_exit(0);
}

}  // namespace qx::device
