#include "platform/settings_store.h"

#include <atomic>

#include "platform/memory_settings_store.h"

namespace qx::platform {
namespace {

std::string ProfileKey(std::string_view section, std::string_view name) {
    std::string key(section);
    key += '\n';  // cannot occur in a section name
    key += name;
    return key;
}

MemorySettingsStore& DefaultStore() {
    static MemorySettingsStore store;
    return store;
}

std::atomic<SettingsStore*> currentStore{nullptr};

}  // namespace

std::optional<std::string> MemorySettingsStore::ReadProfileString(std::string_view section,
                                                                  std::string_view name) {
    const std::lock_guard lock(mutex_);
    const auto found = profile_.find(ProfileKey(section, name));
    if (found == profile_.end()) {
        return std::nullopt;
    }
    return found->second;
}

bool MemorySettingsStore::WriteProfileString(std::string_view section, std::string_view name,
                                             std::string_view value) {
    const std::lock_guard lock(mutex_);
    if (failWrites_) {
        return false;
    }
    profile_[ProfileKey(section, name)] = std::string(value);
    return true;
}

std::optional<uint32_t> MemorySettingsStore::ReadUserDword(std::string_view name) {
    const std::lock_guard lock(mutex_);
    const auto found = user_.find(name);
    if (found == user_.end()) {
        return std::nullopt;
    }
    return found->second.number;
}

bool MemorySettingsStore::WriteUserDword(std::string_view name, uint32_t value) {
    const std::lock_guard lock(mutex_);
    if (failWrites_) {
        return false;
    }
    user_[std::string(name)] = UserValue{value, {}};
    return true;
}

void MemorySettingsStore::PutUserText(std::string_view name, std::string_view text) {
    const std::lock_guard lock(mutex_);
    user_[std::string(name)] = UserValue{std::nullopt, std::string(text)};
}

void MemorySettingsStore::FailWrites(bool fail) {
    const std::lock_guard lock(mutex_);
    failWrites_ = fail;
}

void MemorySettingsStore::Clear() {
    const std::lock_guard lock(mutex_);
    profile_.clear();
    user_.clear();
    failWrites_ = false;
}

SettingsStore& CurrentSettings() {
    SettingsStore* store = currentStore.load(std::memory_order_acquire);
    return store != nullptr ? *store : DefaultStore();
}

void SetCurrentSettings(SettingsStore* store) {
    currentStore.store(store, std::memory_order_release);
}

}  // namespace qx::platform
