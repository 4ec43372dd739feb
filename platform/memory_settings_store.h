// A settings store that lives in memory only: the store in use until the program installs its
// persistent one, and the store tests install to see what was written.
#pragma once

#include <map>
#include <mutex>
#include <string>

#include "platform/settings_store.h"

namespace qx::platform {

class MemorySettingsStore : public SettingsStore {
  public:
    std::optional<std::string> ReadProfileString(std::string_view section,
                                                 std::string_view name) override;
    bool WriteProfileString(std::string_view section, std::string_view name,
                            std::string_view value) override;
    std::optional<uint32_t> ReadUserDword(std::string_view name) override;
    bool WriteUserDword(std::string_view name, uint32_t value) override;

    // Stores a user value that is not a 32-bit number (as a damaged registry value would be).
    void PutUserText(std::string_view name, std::string_view text);
    // Makes every later write fail (a registry key or file that cannot be written).
    void FailWrites(bool fail);
    void Clear();

  private:
    // A user value is either a number or a text that does not read as one.
    struct UserValue {
        std::optional<uint32_t> number;
        std::string text;
    };

    std::mutex mutex_;
    std::map<std::string, std::string, std::less<>> profile_;  // "section\nname" -> value
    std::map<std::string, UserValue, std::less<>> user_;
    bool failWrites_ = false;
};

}  // namespace qx::platform
