#include "platform/data_folder.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>

#include "platform/ini_file.h"

namespace qx::platform {
namespace {

constexpr const char* kDefaultDataLocation = "/.local/share";
constexpr mode_t kFolderMode = 0700;

std::string Environment(const char* name) {
    const char* value = std::getenv(name);  // NOLINT(concurrency-mt-unsafe): read-only use
    return value == nullptr ? std::string() : std::string(value);
}

// The home folder as Qt takes it: $HOME, or the root folder when that is empty.
std::string HomeFolder() {
    std::string home = Environment("HOME");
    return home.empty() ? std::string("/") : home;
}

// Collapses repeated '/' and removes "." parts and a trailing '/' (what Qt's cleanPath does to
// the paths this folder is made of; ".." parts are resolved lexically).
std::string CleanPath(const std::string& path) {
    std::string out;
    std::size_t pos = 0;
    const bool absolute = !path.empty() && path.front() == '/';
    while (pos <= path.size()) {
        const std::size_t slash = std::min(path.find('/', pos), path.size());
        const std::string part = path.substr(pos, slash - pos);
        pos = slash + 1;
        if (part.empty() || part == ".") {
            continue;
        }
        if (part == "..") {
            const auto last = out.rfind('/');
            const bool canPop = !out.empty() && out.substr(last == out.npos ? 0 : last + 1) != "..";
            if (canPop) {
                out.erase(last == out.npos ? 0 : last);
                continue;
            }
            if (absolute) {
                continue;
            }
        }
        if (!out.empty() || absolute) {
            out += '/';
        }
        out += part;
    }
    if (out.empty()) {
        return absolute ? "/" : ".";
    }
    return out;
}

void MakeFolders(const std::string& path) {
    for (std::size_t slash = path.find('/', 1); slash != std::string::npos;
         slash = path.find('/', slash + 1)) {
        ::mkdir(path.substr(0, slash).c_str(), kFolderMode);
    }
    ::mkdir(path.c_str(), kFolderMode);
}

}  // namespace

// Qt takes $XDG_DATA_HOME as it is written and otherwise appends to the cleaned home folder;
// the same text here keeps paths built by both sides equal as strings, not only as folders.
std::string UserDataLocation() {
    std::string xdg = Environment("XDG_DATA_HOME");
    if (!xdg.empty()) {
        return xdg;
    }
    return CleanPath(HomeFolder()) + kDefaultDataLocation;
}

std::string DataFolderPath() {
    return UserDataLocation() + '/' + kDataFolderName;
}

void EnsureDataFolder() {
    MakeFolders(DataFolderPath());
}

std::string GetSettingsFilePath() {
    return DataFolderPath() + '/' + kSettingsFileName;
}

bool ReadLightingPanelSwitch() {
    return ReadIniString(GetSettingsFilePath(), kLightingSwitchSection, kLightingSwitchKey,
                         kLightingSwitchOff, kPathBuffer) == kLightingSwitchOn;
}

bool WriteLightingPanelSwitch(bool on) {
    return WriteIniString(GetSettingsFilePath(), kLightingSwitchSection, kLightingSwitchKey,
                          on ? kLightingSwitchOn : kLightingSwitchOff);
}

}  // namespace qx::platform
