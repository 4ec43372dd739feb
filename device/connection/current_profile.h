// The keyboard's active onboard profile (0..2, byte 10 of the state block), cached because every
// window asks for it; -1 means unknown. The cache is forgotten whenever the keyboard leaves.
#pragma once

#include <atomic>
#include <cstddef>

namespace qx::device {

class DeviceCommands;

inline constexpr int kUnknownProfile = -1;
inline constexpr std::size_t kStateProfileByte = 10;

class CurrentProfileCache {
  public:
    CurrentProfileCache() = default;
    explicit CurrentProfileCache(DeviceCommands* commands) : commands_(commands) {}

    // The commands that read and write the state block; null: no keyboard link (reads give -1).
    void SetCommands(DeviceCommands* commands);

    // The cached index when known (nothing is sent); otherwise the state block is read: on
    // success its byte 10 is cached and returned, on failure -1 is returned and stays cached.
    int Get();

    // Makes p (0..2) the keyboard's active profile: reads the state block (nothing happens when
    // that fails), sets byte 10 and writes the block back with every other byte as read, without
    // a write transaction around it. Success caches p, a failed write caches -1. An index
    // outside 0..2 sends nothing.
    void Set(int profile);

    // Back to unknown (the keyboard left).
    void Forget() { cache_.store(kUnknownProfile); }
    int Cached() const { return cache_.load(); }

  private:
    std::atomic<DeviceCommands*> commands_{nullptr};
    std::atomic<int> cache_{kUnknownProfile};
};

// The process-wide cache.
CurrentProfileCache& CurrentProfile();

// CurrentProfile().Get() / Set(p).
int GetCurrentProfile();
void SetCurrentProfile(int profile);

}  // namespace qx::device
