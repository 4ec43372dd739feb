#include "keyboard/current_profile.h"

#include <array>

#include "device/command_table.h"
#include "device/device_commands.h"
#include "device/result_codes.h"

namespace qx::keyboard {

using StateBlock = std::array<uint8_t, device::kStateBlockSize>;

void CurrentProfileCache::SetCommands(device::DeviceCommands* commands) {
    commands_.store(commands);
}

int CurrentProfileCache::Get() {
    const int cached = cache_.load();
    if (cached != kUnknownProfile) {
        return cached;
    }
    device::DeviceCommands* commands = commands_.load();
    if (commands == nullptr) {
        return kUnknownProfile;
    }
    StateBlock block{};
    if (commands->ReadStateBlock(block) != device::kOk) {
        return kUnknownProfile;
    }
    const int profile = block[kStateProfileByte];
    cache_.store(profile);
    return profile;
}

void CurrentProfileCache::Set(int profile) {
    device::DeviceCommands* commands = commands_.load();
    if (profile < 0 || profile > device::kHighestProfile || commands == nullptr) {
        return;
    }
    StateBlock block{};
    if (commands->ReadStateBlock(block) != device::kOk) {
        return;
    }
    block[kStateProfileByte] = static_cast<uint8_t>(profile);
    cache_.store(commands->WriteStateBlock(block) == device::kOk ? profile : kUnknownProfile);
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

}  // namespace qx::keyboard
