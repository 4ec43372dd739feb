// The command line and the single-instance rule of a new process, in this order:
//  1. each argument on its own, compared without regard to letter case: "/Kill" asks the running
//     instance to close and ends this process (when no instance is found, the next argument is
//     looked at); "/Start" starts silently (the window does not open by itself); anything else
//     is ignored;
//  2. the mutex "RT42M07C": when another process holds it and a running instance is found, that
//     instance is asked to show its window and this process ends; otherwise this process goes on.
//     When nobody held it, this process owns it now and no instance of this user runs: what an
//     earlier one left behind when it was killed or crashed is removed;
//  3. the companion program is started, hidden and not waited for.
// The system side is an interface, so the rule is checked without processes.
#pragma once

#include <sys/types.h>

#include <span>
#include <string>

#include "app/instance_mutex.h"
#include "app/instance_signal.h"

namespace qx::app {

inline constexpr std::string_view kKillOption = "/Kill";
inline constexpr std::string_view kStartOption = "/Start";

class InstanceSystem {
  public:
    virtual ~InstanceSystem() = default;
    virtual pid_t FindInstanceProcess() = 0;
    virtual bool SignalInstance(pid_t pid, InstanceSignalKind kind) = 0;
    virtual InstanceMutex::OpenResult OpenMutex() = 0;
    // Removes the local servers' sockets and the named events of this user's ended instances.
    virtual void RemoveLeftovers() = 0;
    virtual void StartCompanion() = 0;
};

struct SingleInstanceDecision {
    bool endProcess = false;        // this process ends now, with exit code 0
    bool startedWithStart = false;  // "/Start" came before the end of the steps
};

// `arguments` are those after the program's name.
SingleInstanceDecision RunSingleInstanceSteps(std::span<const std::string> arguments,
                                              InstanceSystem& system);

// Whether `argument` is `option`, ignoring letter case.
bool IsOption(std::string_view argument, std::string_view option);

}  // namespace qx::app
