#include "app/instance_mutex.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

namespace qx::app {
namespace {

constexpr mode_t kLockFileMode = 0600;

std::string UserSuffix() {
    return std::to_string(::getuid());
}

}  // namespace

std::string InstanceRuntimeFolder() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    struct stat info {};
    if (runtime != nullptr && runtime[0] == '/' && ::stat(runtime, &info) == 0 &&
        S_ISDIR(info.st_mode)) {
        std::string folder(runtime);
        while (folder.size() > 1 && folder.back() == '/') {
            folder.pop_back();
        }
        return folder;
    }
    return "/tmp";
}

std::string InstanceLockPath() {
    return InstanceRuntimeFolder() + "/" + std::string(kInstanceMutexName) + "-" + UserSuffix() +
           ".lock";
}

std::string InstanceServerPath(pid_t pid) {
    return InstanceRuntimeFolder() + "/" + std::string(kInstanceMutexName) + "-" + UserSuffix() +
           "-" + std::to_string(pid);
}

int RemoveOtherInstanceServers() {
    const std::string prefix = std::string(kInstanceMutexName) + "-" + UserSuffix() + "-";
    const std::string own = prefix + std::to_string(::getpid());
    std::error_code error;
    int removed = 0;
    for (const auto& entry : std::filesystem::directory_iterator(InstanceRuntimeFolder(), error)) {
        const std::string name = entry.path().filename().string();
        const std::string_view pid =
            std::string_view(name).substr(std::min(prefix.size(), name.size()));
        if (!name.starts_with(prefix) || name == own || pid.empty() ||
            !std::all_of(pid.begin(), pid.end(), [](unsigned char c) { return std::isdigit(c); })) {
            continue;
        }
        struct stat info {};
        if (::lstat(entry.path().c_str(), &info) == 0 && S_ISSOCK(info.st_mode) &&
            info.st_uid == ::getuid() && ::unlink(entry.path().c_str()) == 0) {
            ++removed;
        }
    }
    return removed;
}

InstanceMutex::OpenResult InstanceMutex::Open(const std::string& path) {
    Close();
    descriptor_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, kLockFileMode);
    if (descriptor_ < 0) {
        return OpenResult::Failed;
    }
    int result = 0;
    do {
        result = ::flock(descriptor_, LOCK_EX | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    if (result == 0) {
        owned_ = true;
        return OpenResult::Created;
    }
    return errno == EWOULDBLOCK ? OpenResult::Exists : OpenResult::Failed;
}

void InstanceMutex::Close() {
    if (descriptor_ >= 0) {
        ::close(descriptor_);  // lets go of the lock as well
    }
    descriptor_ = -1;
    owned_ = false;
}

}  // namespace qx::app
