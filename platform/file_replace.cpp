#include "platform/file_replace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>

namespace qx::platform {
namespace {

// Created with this mode, the kernel takes the umask (or the folder's default ACL) off it.
constexpr mode_t kNewFileMode = 0666;
constexpr int kTemporaryNameAttempts = 100;

class Descriptor {
  public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    // Closing reports write errors that some file systems (NFS) only tell here.
    bool Close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

  private:
    int fd_;
};

// A temporary file that is removed again unless it became the target.
class Temporary {
  public:
    Temporary() = default;
    ~Temporary() {
        if (!path_.empty()) {
            ::unlink(path_.c_str());
        }
    }
    Temporary(const Temporary&) = delete;
    Temporary& operator=(const Temporary&) = delete;

    // Creates a new file beside `target`, hidden, with a name nobody else uses.
    int Create(const std::string& target) {
        static std::atomic<unsigned> counter{0};
        const auto slash = target.rfind('/');
        const std::size_t baseAt = slash == std::string::npos ? 0 : slash + 1;
        std::string prefix = target.substr(0, baseAt);
        prefix += '.';
        prefix.append(target, baseAt);
        prefix += ".tmp-";
        prefix += std::to_string(::getpid());
        prefix += '-';
        for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
            std::string name = prefix;
            name += std::to_string(counter++);
            const int fd =
                ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, kNewFileMode);
            if (fd >= 0) {
                path_ = std::move(name);
                return fd;
            }
            if (errno != EEXIST) {
                return -1;
            }
        }
        return -1;
    }
    const std::string& path() const { return path_; }
    void Keep() { path_.clear(); }

  private:
    std::string path_;
};

bool WriteAll(int fd, std::span<const uint8_t> bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            if (written == 0) {
                errno = EIO;
            }
            return false;
        }
        bytes = bytes.subspan(static_cast<std::size_t>(written));
    }
    return true;
}

// The file a path finally names: a symbolic link is followed so that the link survives.
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

std::string FolderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

void SyncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);  // makes the rename durable; a failure here cannot undo it
        ::close(fd);
    }
}

Replaced Failed() {
    return {errno != 0 ? errno : EIO};
}

Replaced ReplaceWithPieces(const std::string& path,
                           std::span<const std::span<const uint8_t>> pieces, Flush flush) {
    const std::string target = ResolveTarget(path);
    Temporary temporary;
    Descriptor file(temporary.Create(target));
    if (file.get() < 0) {
        return Failed();
    }
    struct stat old {};
    if (::stat(target.c_str(), &old) == 0 && ::fchmod(file.get(), old.st_mode & 07777) != 0) {
        return Failed();
    }
    for (const auto piece : pieces) {
        if (!WriteAll(file.get(), piece)) {
            return Failed();
        }
    }
    // The data reaches the disk before the rename makes it the file, so a crash right after
    // the replacement finds the old or the new content, never an empty file.
    if ((flush == Flush::kToDisk && ::fsync(file.get()) != 0) || !file.Close() ||
        ::rename(temporary.path().c_str(), target.c_str()) != 0) {
        return Failed();
    }
    temporary.Keep();
    if (flush == Flush::kToDisk) {
        SyncFolder(FolderOf(target));
    }
    return {};
}

}  // namespace

Replaced ReplaceFile(const std::string& path,
                     std::initializer_list<std::span<const uint8_t>> pieces, Flush flush) {
    return ReplaceWithPieces(path, {pieces.begin(), pieces.size()}, flush);
}

Replaced ReplaceFile(const std::string& path, std::string_view content, Flush flush) {
    const std::span<const uint8_t> bytes(reinterpret_cast<const uint8_t*>(content.data()),
                                         content.size());
    return ReplaceWithPieces(path, {&bytes, 1}, flush);
}

}  // namespace qx::platform
