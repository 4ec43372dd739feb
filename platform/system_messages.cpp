#include "platform/system_messages.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <mutex>
#include <string>

namespace qx::platform {

uint32_t RegisterWindowMessage(std::string_view name) {
    if (name.empty()) {
        return 0;
    }
    static std::mutex mutex;
    static std::map<std::string, uint32_t> numbers;
    std::string key(name);
    std::transform(key.begin(), key.end(), key.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    const std::lock_guard lock(mutex);
    const auto found = numbers.find(key);
    if (found != numbers.end()) {
        return found->second;
    }
    const uint32_t next = kFirstRegisteredMessage + static_cast<uint32_t>(numbers.size());
    if (next > kLastRegisteredMessage) {
        return 0;
    }
    numbers.emplace(std::move(key), next);
    return next;
}

}  // namespace qx::platform
