#include "platform/ini_read_cache.h"

#include <functional>
#include <map>

#include "platform/file_bytes.h"
#include "platform/ini_file.h"

namespace qx::platform {
namespace {

struct ReadCache {
    int depth = 0;
    // Bytes of each file looked up in the scope; nothing for one that could not be read.
    std::map<std::string, std::optional<std::string>, std::less<>> files;
};

ReadCache& ThreadCache() {
    thread_local ReadCache cache;
    return cache;
}

}  // namespace

IniReadScope::IniReadScope() {
    ++ThreadCache().depth;
}

IniReadScope::~IniReadScope() {
    ReadCache& cache = ThreadCache();
    if (--cache.depth == 0) {
        cache.files.clear();
    }
}

namespace ini_detail {

std::optional<const std::string*> CachedIniBytes(const std::string& path) {
    ReadCache& cache = ThreadCache();
    if (cache.depth == 0) {
        return std::nullopt;
    }
    auto found = cache.files.find(path);
    if (found == cache.files.end()) {
        std::string bytes;
        std::optional<std::string> entry;
        if (ReadFileBytes(path, bytes) == ReadResult::Ok) {
            entry = std::move(bytes);
        }
        found = cache.files.emplace(path, std::move(entry)).first;
    }
    return found->second ? &*found->second : nullptr;
}

void ForgetCachedIniBytes(const std::string& path) {
    ThreadCache().files.erase(path);
}

}  // namespace ini_detail
}  // namespace qx::platform
