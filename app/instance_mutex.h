// The single-instance mutex "RT42M07C" as a lock file in the user's runtime folder, and the
// names of the instances' local servers beside it. The first instance creates it "initially
// owned": it holds an exclusive lock on the file until its main window shuts down (or the process
// ends, when the system lets go of the lock by itself). The file itself stays; only the lock
// counts.
#pragma once

#include <sys/types.h>

#include <string>
#include <string_view>

namespace qx::app {

inline constexpr std::string_view kInstanceMutexName = "RT42M07C";

// $XDG_RUNTIME_DIR when it names a folder, otherwise /tmp. No trailing '/'.
std::string InstanceRuntimeFolder();
// <runtime folder>/RT42M07C-<uid>.lock
std::string InstanceLockPath();
// The local server of process `pid`: <runtime folder>/RT42M07C-<uid>-<pid>.
std::string InstanceServerPath(pid_t pid);
// Removes the local servers' sockets of this user that another process than this one left in
// the runtime folder (only the owner of the mutex may: no other instance of the user runs).
// Returns how many were removed.
int RemoveOtherInstanceServers();

class InstanceMutex {
  public:
    enum class OpenResult {
        Created,  // nobody held it: this process owns it now
        Exists,   // another process holds it
        Failed,   // the lock file could not be opened (nothing is owned)
    };

    InstanceMutex() = default;
    ~InstanceMutex() { Close(); }
    InstanceMutex(const InstanceMutex&) = delete;
    InstanceMutex& operator=(const InstanceMutex&) = delete;

    // Opens the lock file (created when missing, never through a symbolic link) and takes the
    // lock when nobody holds it. The file stays open either way until Close.
    OpenResult Open(const std::string& path);
    // Lets go of the lock and the file.
    void Close();

    [[nodiscard]] bool Owned() const { return owned_; }

  private:
    int descriptor_ = -1;
    bool owned_ = false;
};

}  // namespace qx::app
