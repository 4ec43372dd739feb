#include "profiles/file_replace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <climits>
#include <cstdlib>

namespace qx::profiles {
namespace {

constexpr mode_t kNewFileMode = 0644;
constexpr const char* kTemporarySuffix = ".XXXXXX";

bool WriteAll(int fd, std::span<const uint8_t> bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        bytes = bytes.subspan(static_cast<std::size_t>(written));
    }
    return true;
}

// The file the path finally names, so that replacing it keeps a symbolic link in place.
std::string ResolveTarget(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
        return path;
    }
    std::array<char, PATH_MAX> resolved{};
    if (::realpath(path.c_str(), resolved.data()) == nullptr) {
        return path;
    }
    return resolved.data();
}

}  // namespace

bool ReplaceFile(const std::string& path, std::initializer_list<std::span<const uint8_t>> pieces) {
    const std::string target = ResolveTarget(path);
    std::string temporary = target + kTemporarySuffix;
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    struct stat old {};
    const mode_t mode = ::stat(target.c_str(), &old) == 0 ? (old.st_mode & 07777) : kNewFileMode;
    bool written = ::fchmod(fd, mode) == 0;
    for (const auto piece : pieces) {
        written = written && WriteAll(fd, piece);
    }
    // The data reaches the disk before the rename makes it the file, so a crash right after
    // the save finds either the old or the new content, never an empty file.
    written = written && ::fdatasync(fd) == 0;
    written = (::close(fd) == 0) && written;
    if (!written || ::rename(temporary.c_str(), target.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}

}  // namespace qx::profiles
