// The library's diagnostics: one process-wide level set by Debug(), lines on standard error.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string_view>

namespace qx::transport {

// Levels of Debug(): quiet, errors (devices that cannot be used, dropped reports), traffic.
inline constexpr int kDebugQuiet = 0;
inline constexpr int kDebugErrors = 1;
inline constexpr int kDebugTraffic = 2;

// Sets the level (negative values count as quiet, higher ones as traffic) and returns the
// previous one.
int SetDebugLevel(int level);
int DebugLevel();
inline bool DebugEnabled(int level) {
    return DebugLevel() >= level;
}

// Writes one line, prefixed "radodor: ", when the level is enabled.
void DebugPrint(int level, const char* format, ...) __attribute__((format(printf, 2, 3)));

// Writes a report in hex at the traffic level, after a short description of where it went.
void DebugTraffic(std::string_view what, std::span<const uint8_t> report);

// Sends the lines somewhere else than standard error (tests); an empty function restores it.
void SetDebugOutput(std::function<void(std::string_view line)> output);

}  // namespace qx::transport
