#include "platform/executable_files.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>

namespace qx::platform {
namespace {

constexpr std::string_view kProgramMark =
    "\x7f"
    "ELF";
constexpr std::string_view kScriptMark = "#!";
// An interpreter that is a script itself is followed this many times at most, as the kernel does.
constexpr int kMaxInterpreterDepth = 4;

bool IsExecutableRegularFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           ::access(path.c_str(), X_OK) == 0;
}

std::string FirstBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::string bytes(kProgramHeadBytes, '\0');
    file.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(std::max<std::streamsize>(file.gcount(), 0)));
    return bytes;
}

bool IsRunnable(const std::string& path, int depth) {
    if (depth > kMaxInterpreterDepth || !IsExecutableRegularFile(path)) {
        return false;
    }
    const ProgramHead head = ReadProgramHead(FirstBytes(path));
    switch (head.kind) {
        case ProgramHead::Kind::Native:
            return true;
        case ProgramHead::Kind::Script:
            return !head.interpreter.empty() && IsRunnable(head.interpreter, depth + 1);
        case ProgramHead::Kind::Other:
            break;
    }
    return false;
}

}  // namespace

ProgramHead ReadProgramHead(std::string_view head) {
    head = head.substr(0, kProgramHeadBytes);
    if (head.starts_with(kProgramMark)) {
        return {ProgramHead::Kind::Native, {}};
    }
    if (!head.starts_with(kScriptMark)) {
        return {};
    }
    head.remove_prefix(kScriptMark.size());
    head = head.substr(0, head.find('\n'));
    const std::size_t start = head.find_first_not_of(" \t");
    if (start == std::string_view::npos) {
        return {ProgramHead::Kind::Script, {}};
    }
    head.remove_prefix(start);
    return {ProgramHead::Kind::Script, std::string(head.substr(0, head.find_first_of(" \t\r")))};
}

bool IsRunnableFile(const std::string& path) {
    return IsRunnable(path, 0);
}

std::optional<std::string> FindProgramOnPath(std::string_view name) {
    const char* searchPath = std::getenv("PATH");  // NOLINT(concurrency-mt-unsafe)
    if (name.empty() || name.find('/') != std::string_view::npos || searchPath == nullptr) {
        return std::nullopt;
    }
    std::string_view folders = searchPath;
    while (true) {
        const std::size_t colon = folders.find(':');
        const std::string_view folder = folders.substr(0, colon);
        // An empty entry would be the current folder, which is not searched.
        if (!folder.empty()) {
            std::string candidate = std::string(folder) + '/' + std::string(name);
            if (IsRunnableFile(candidate)) {
                return candidate;
            }
        }
        if (colon == std::string_view::npos) {
            return std::nullopt;
        }
        folders.remove_prefix(colon + 1);
    }
}

}  // namespace qx::platform
