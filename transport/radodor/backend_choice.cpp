#include "transport/radodor/backend_choice.h"

#include <cstdlib>
#include <string_view>

#include "sim/sim_backend.h"
#include "transport/debug_log.h"
#include "transport/hidraw/hidraw_backend.h"

namespace qx::transport {

std::unique_ptr<Backend> MakeBackendFromEnvironment() {
    const char* value = std::getenv(kBackendVariable);
    const std::string_view name = value != nullptr ? value : "";
    if (name.empty() || name == kHidrawBackendName) {
        return std::make_unique<hidraw::HidrawBackend>();
    }
    if (name == kSimBackendName) {
        return qx::sim::MakeSimBackend();
    }
    DebugPrint(kDebugErrors, "unknown %s \"%s\" (use \"%s\" or \"%s\")", kBackendVariable, value,
               kHidrawBackendName, kSimBackendName);
    return nullptr;
}

}  // namespace qx::transport
