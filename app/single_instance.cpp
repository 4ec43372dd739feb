#include "app/single_instance.h"

#include <algorithm>
#include <cctype>

namespace qx::app {

bool IsOption(std::string_view argument, std::string_view option) {
    return std::equal(
        argument.begin(), argument.end(), option.begin(), option.end(),
        [](unsigned char a, unsigned char b) { return std::tolower(a) == std::tolower(b); });
}

SingleInstanceDecision RunSingleInstanceSteps(std::span<const std::string> arguments,
                                              InstanceSystem& system) {
    SingleInstanceDecision decision;
    for (const std::string& argument : arguments) {
        if (IsOption(argument, kKillOption)) {
            const pid_t running = system.FindInstanceProcess();
            if (running != 0) {
                system.SignalInstance(running, InstanceSignalKind::Kill);
                decision.endProcess = true;
                return decision;
            }
        } else if (IsOption(argument, kStartOption)) {
            decision.startedWithStart = true;
        }
    }
    const InstanceMutex::OpenResult mutex = system.OpenMutex();
    if (mutex == InstanceMutex::OpenResult::Created) {
        system.RemoveLeftovers();
    } else if (mutex == InstanceMutex::OpenResult::Exists) {
        const pid_t running = system.FindInstanceProcess();
        if (running != 0) {
            // Whether or not its window took the message, the running instance stays the one.
            system.SignalInstance(running, InstanceSignalKind::Open);
            decision.endProcess = true;
            return decision;
        }
    }
    system.StartCompanion();
    return decision;
}

}  // namespace qx::app
