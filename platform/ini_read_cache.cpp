#include "platform/ini_read_cache.h"

#include <sys/stat.h>

#include <ctime>
#include <functional>
#include <map>
#include <utility>

#include "platform/file_bytes.h"
#include "platform/ini_file.h"

namespace qx::platform {
namespace {

// What tells one version of a file from another without reading it.
struct FileStamp {
    bool exists = false;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec changed{};  // the inode change time: set by every write and metadata change

    bool operator==(const FileStamp& other) const {
        return exists == other.exists && device == other.device && inode == other.inode &&
               size == other.size && changed.tv_sec == other.changed.tv_sec &&
               changed.tv_nsec == other.changed.tv_nsec;
    }
};

FileStamp StampOf(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return {};
    }
    return {true, info.st_dev, info.st_ino, info.st_size, info.st_ctim};
}

// File times are kept in coarse ticks: a file changed shortly before it was read may change again
// without its stamp showing it, so such a file is read again by the next scope.
constexpr std::time_t kStampTrustedAfterSeconds = 2;

struct CachedFile {
    FileStamp stamp;
    timespec readAt{};
    std::optional<ini_detail::IniIndex> index;  // nothing when the file could not be read
    bool checkedInScope = false;

    [[nodiscard]] bool StillCurrent(const FileStamp& now) const {
        return now == stamp &&
               (!stamp.exists || stamp.changed.tv_sec + kStampTrustedAfterSeconds < readAt.tv_sec);
    }
};

struct ReadCache {
    int depth = 0;
    // Each file looked up in a scope. Kept between scopes: the first lookup of a later scope
    // compares the file's stamp instead of reading it again.
    std::map<std::string, CachedFile, std::less<>> files;
};

ReadCache& ThreadCache() {
    thread_local ReadCache cache;
    return cache;
}

CachedFile ReadCachedFile(const std::string& path) {
    CachedFile file;
    file.stamp = StampOf(path);
    ::clock_gettime(CLOCK_REALTIME, &file.readAt);
    std::string bytes;
    if (ReadFileBytes(path, bytes) == ReadResult::Ok) {
        file.index.emplace(std::move(bytes));
    }
    file.checkedInScope = true;
    return file;
}

}  // namespace

IniReadScope::IniReadScope() {
    ++ThreadCache().depth;
}

IniReadScope::~IniReadScope() {
    ReadCache& cache = ThreadCache();
    if (--cache.depth == 0) {
        for (auto& [path, file] : cache.files) {
            file.checkedInScope = false;
        }
    }
}

namespace ini_detail {

std::optional<const IniIndex*> CachedIniIndex(const std::string& path) {
    ReadCache& cache = ThreadCache();
    if (cache.depth == 0) {
        return std::nullopt;
    }
    auto found = cache.files.find(path);
    if (found == cache.files.end()) {
        found = cache.files.emplace(path, ReadCachedFile(path)).first;
    } else if (!found->second.checkedInScope) {
        if (found->second.StillCurrent(StampOf(path))) {
            found->second.checkedInScope = true;
        } else {
            found->second = ReadCachedFile(path);
        }
    }
    return found->second.index ? &*found->second.index : nullptr;
}

void ForgetCachedIniFile(const std::string& path) {
    ThreadCache().files.erase(path);
}

}  // namespace ini_detail
}  // namespace qx::platform
