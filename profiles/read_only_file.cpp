#include "profiles/read_only_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace qx::profiles {

ReadOnlyFile::~ReadOnlyFile() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

ReadOnlyFile::OpenResult ReadOnlyFile::Open(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return errno == ENOENT || errno == ENOTDIR ? OpenResult::Missing : OpenResult::Failed;
    }
    if (!S_ISREG(info.st_mode)) {
        return OpenResult::Missing;
    }
    // Non-blocking: should the path turn into a pipe between the two calls, open must not hang.
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd_ < 0) {
        return OpenResult::Failed;
    }
    if (::fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode)) {
        return OpenResult::Failed;
    }
    size_ = static_cast<uint64_t>(info.st_size);
    return OpenResult::Ok;
}

bool ReadOnlyFile::ReadAt(uint64_t offset, std::span<uint8_t> bytes) const {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t got = ::pread(fd_, bytes.data() + done, bytes.size() - done,
                                    static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(got);
    }
    return true;
}

}  // namespace qx::profiles
