#include "transport/debug_log.h"

#include <algorithm>
#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <mutex>
#include <string>

namespace qx::transport {
namespace {

constexpr std::string_view kPrefix = "radodor: ";
// Traffic lines show at most this many bytes; a command packet (64 bytes) fits whole.
constexpr size_t kMaxTrafficBytes = 80;

std::atomic<int> g_level{kDebugQuiet};

std::mutex& OutputMutex() {
    static std::mutex mutex;
    return mutex;
}

std::function<void(std::string_view)>& Output() {
    static std::function<void(std::string_view)> output;
    return output;
}

void Emit(const std::string& line) {
    const std::lock_guard lock(OutputMutex());
    if (Output()) {
        Output()(line);
        return;
    }
    std::fprintf(stderr, "%s%s\n", kPrefix.data(), line.c_str());
}

}  // namespace

int SetDebugLevel(int level) {
    return g_level.exchange(std::clamp(level, kDebugQuiet, kDebugTraffic));
}

int DebugLevel() {
    return g_level.load(std::memory_order_relaxed);
}

void DebugPrint(int level, const char* format, ...) {
    if (!DebugEnabled(level)) {
        return;
    }
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    // NOLINTNEXTLINE(clang-analyzer-valist.Uninitialized): va_copy set it; the check misses that
    const int needed = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string line(needed > 0 ? static_cast<size_t>(needed) : 0, '\0');
    if (needed > 0) {
        std::vsnprintf(line.data(), line.size() + 1, format, args);
    }
    va_end(args);
    Emit(line);
}

void DebugTraffic(std::string_view what, std::span<const uint8_t> report) {
    if (!DebugEnabled(kDebugTraffic)) {
        return;
    }
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string line(what);
    line += " (" + std::to_string(report.size()) + " bytes):";
    const size_t shown = report.size() < kMaxTrafficBytes ? report.size() : kMaxTrafficBytes;
    for (size_t i = 0; i < shown; ++i) {
        line += ' ';
        line += kHex[report[i] >> 4];
        line += kHex[report[i] & 0xF];
    }
    if (shown < report.size()) {
        line += " ...";
    }
    Emit(line);
}

void SetDebugOutput(std::function<void(std::string_view line)> output) {
    const std::lock_guard lock(OutputMutex());
    Output() = std::move(output);
}

}  // namespace qx::transport
