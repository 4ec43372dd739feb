#include "sim/trace.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace qx::sim {
namespace {

constexpr char kHexDigits[] = "0123456789abcdef";

void WriteLine(int fd, const std::string& line) {
    size_t done = 0;
    while (done < line.size()) {
        const ssize_t n = ::write(fd, line.data() + done, line.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return;  // a full disk loses trace lines, never the keyboard's answers
        }
        done += static_cast<size_t>(n);
    }
}

}  // namespace

std::string FormatTraceLine(Direction direction, Collection collection,
                            std::span<const uint8_t> report) {
    std::string line;
    line.reserve(8 + report.size() * 3);
    line += direction == Direction::kToKeyboard ? '>' : '<';
    line += ' ';
    line += TraceNameOf(collection);
    for (uint8_t byte : report) {
        line += ' ';
        line += kHexDigits[byte >> 4];
        line += kHexDigits[byte & 0x0F];
    }
    return line;
}

Trace::~Trace() {
    for (auto& [path, file] : files_) {
        ::close(file.fd);
    }
}

bool Trace::AddFile(const std::filesystem::path& path, std::string& error) {
    const std::lock_guard lock(mutex_);
    auto it = files_.find(path.string());
    if (it != files_.end()) {
        ++it->second.users;
        return true;
    }
    const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) {
        error = "cannot open the trace file " + path.string() + ": " + std::strerror(errno);
        return false;
    }
    files_[path.string()] = OpenFile{fd, 1};
    return true;
}

void Trace::RemoveFile(const std::filesystem::path& path) {
    const std::lock_guard lock(mutex_);
    auto it = files_.find(path.string());
    if (it == files_.end()) {
        return;
    }
    if (--it->second.users == 0) {
        ::close(it->second.fd);
        files_.erase(it);
    }
}

void Trace::Record(Direction direction, Collection collection, std::span<const uint8_t> report) {
    std::string line = FormatTraceLine(direction, collection, report);
    const std::lock_guard lock(mutex_);
    if (!files_.empty()) {
        const std::string withNewline = line + '\n';
        for (const auto& [path, file] : files_) {
            WriteLine(file.fd, withNewline);
        }
    }
    if (keepLines_) {
        lines_.push_back(std::move(line));
    }
}

std::vector<std::string> Trace::Lines() const {
    const std::lock_guard lock(mutex_);
    return lines_;
}

void Trace::ClearLines() {
    const std::lock_guard lock(mutex_);
    lines_.clear();
}

}  // namespace qx::sim
