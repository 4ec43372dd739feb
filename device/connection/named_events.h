// The 214 named events "Quilvane_Event_Main_01-<uid>" .. "Quilvane_Event_Main_214-<uid>" that the
// driver keeps for other programs to find by name. Nothing in the driver signals or waits on them.
// On this platform they are POSIX named semaphores (initial value 0, names with a leading '/'),
// which live in /dev/shm until they are removed or the machine restarts. /dev/shm is shared by
// every user of the machine, so each name ends in "-" and the user id: two users' drivers never
// share or block each other's events.
#pragma once

#include <semaphore.h>

#include <string>
#include <thread>
#include <vector>

namespace qx::device {

inline constexpr const char* kNamedEventPrefix = "Quilvane_Event_";
inline constexpr int kNamedEventCount = 214;

// The name of event n (1..214): "%sMain_%02d-%u" with the prefix and this user's id.
std::string NamedEventName(const std::string& prefix, int number);

// Removes all 214 events of this user, whoever made them: what an instance that was killed or
// crashed left behind. Only for a process that knows no other instance of this user runs.
void RemoveNamedEvents(const std::string& prefix = kNamedEventPrefix);

class NamedEvents {
  public:
    // Another prefix only for tests that must not meet a running driver's events.
    explicit NamedEvents(std::string prefix = kNamedEventPrefix);
    // Remove().
    ~NamedEvents();
    NamedEvents(const NamedEvents&) = delete;
    NamedEvents& operator=(const NamedEvents&) = delete;

    // Creates (or opens, when they exist) all 214 events. Returns how many could be opened;
    // the others are left out, as nothing depends on them.
    int Create();
    // Create() on a thread of its own, so that the caller goes on meanwhile (214 semaphores take
    // the user-interface thread several milliseconds at start-up, and nothing waits for them).
    void StartCreating();

    // Waits for a creation under way, then closes and unlinks every event this object created or
    // opened.
    void Remove();

    // The semaphore name of event n as the system sees it ("/" + the event name).
    std::string SystemName(int number) const;

  private:
    void OpenAll();
    void CloseAndUnlink();

    std::string prefix_;
    std::vector<std::pair<int, sem_t*>> open_;  // written by the creating thread until it ends
    std::thread creating_;
};

}  // namespace qx::device
