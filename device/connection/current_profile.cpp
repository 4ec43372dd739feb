#include "device/connection/current_profile.h"

#include <array>

#include "device/link/command_table.h"
#include "device/link/device_commands.h"
#include "device/link/result_codes.h"

namespace qx::device {

using StateBlock = std::array<uint8_t, kStateBlockSize>;

void CurrentProfileCache::SetCommands(DeviceCommands* commands) {
    commands_.store(commands);
}

int CurrentProfileCache::Get() {
    const int cached = cache_.load();
    if (cached != kUnknownProfile) {
        return cached;
    }
    DeviceCommands* commands = commands_.load();
    if (commands == nullptr) {
        return kUnknownProfile;
    }
    StateBlock block{};
    if (commands->ReadStateBlock(block) != kOk) {
        return kUnknownProfile;
    }
    const int profile = block[kStateProfileByte];
    cache_.store(profile);
    return profile;
}

void CurrentProfileCache::Set(int profile) {
    DeviceCommands* commands = commands_.load();
    if (profile < 0 || profile > kHighestProfile || commands == nullptr) {
        return;
    }
    StateBlock block{};
    if (commands->ReadStateBlock(block) != kOk) {
        return;
    }
    block[kStateProfileByte] = static_cast<uint8_t>(profile);
    cache_.store(commands->WriteStateBlock(block) == kOk ? profile : kUnknownProfile);
}

CurrentProfileCache& CurrentProfile() {
    static CurrentProfileCache cache;
    return cache;
}

int GetCurrentProfile() {
    return CurrentProfile().Get();
}

void SetCurrentProfile(int profile) {
    CurrentProfile().Set(profile);
}

}  // namespace qx::device
