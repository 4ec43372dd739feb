#include "app/process_search.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

namespace qx::app {
namespace {

constexpr std::string_view kDeletedSuffix = " (deleted)";

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](unsigned char x, unsigned char y) {
        return std::tolower(x) == std::tolower(y);
    });
}

// The process ids listed in the table, in ascending order (/proc lists them in no fixed order).
std::vector<pid_t> ProcessIds(const std::string& procRoot) {
    std::vector<pid_t> ids;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(procRoot, error)) {
        const std::string name = entry.path().filename().string();
        if (name.empty() || name.size() > 9 ||
            !std::all_of(name.begin(), name.end(),
                         [](unsigned char c) { return std::isdigit(c); })) {
            continue;
        }
        ids.push_back(static_cast<pid_t>(std::stol(name)));
    }
    std::sort(ids.begin(), ids.end());
    return ids;
}

bool OwnedBy(const std::string& processFolder, uid_t user) {
    struct stat info {};
    return ::stat(processFolder.c_str(), &info) == 0 && info.st_uid == user;
}

}  // namespace

std::string ExecutableFileNameOf(pid_t pid, const std::string& procRoot) {
    std::error_code error;
    const std::filesystem::path target =
        std::filesystem::read_symlink(procRoot + "/" + std::to_string(pid) + "/exe", error);
    if (error) {
        return {};
    }
    std::string name = target.filename().string();
    if (name.size() > kDeletedSuffix.size() && name.ends_with(kDeletedSuffix)) {
        name.resize(name.size() - kDeletedSuffix.size());
    }
    return name;
}

pid_t FindInstanceProcess(std::string_view programFileName, const ProcessTable& table) {
    if (programFileName.empty()) {
        return 0;
    }
    for (const pid_t pid : ProcessIds(table.procRoot)) {
        if (pid == table.self || !OwnedBy(table.procRoot + "/" + std::to_string(pid), table.user)) {
            continue;
        }
        if (EqualIgnoringCase(ExecutableFileNameOf(pid, table.procRoot), programFileName)) {
            return pid;
        }
    }
    return 0;
}

}  // namespace qx::app
