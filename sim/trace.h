// The trace of the emulated link (RADODOR_SIM_TRACE): one line per report that crosses it,
//   "> cmd 04 5e 00 03 30 ..."  to the keyboard
//   "< cons 03 ff 02"           from the keyboard
// direction, collection ("cmd", "cons", "led"), then the report's bytes, report id first, as
// two-digit lower-case hexadecimal separated by single spaces. Every line reaches its files
// with one write, so readers in other processes see whole lines as they happen.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <mutex>
#include <span>
#include <string>
#include <vector>

#include "sim/hid_reports.h"

namespace qx::sim {

enum class Direction : uint8_t { kToKeyboard, kFromKeyboard };

// The line without its newline.
std::string FormatTraceLine(Direction direction, Collection collection,
                            std::span<const uint8_t> report);

// Thread-safe collector: keeps the lines in memory (when asked to) and appends them to any
// number of files.
class Trace {
  public:
    explicit Trace(bool keepLines) : keepLines_(keepLines) {}
    ~Trace();
    Trace(const Trace&) = delete;
    Trace& operator=(const Trace&) = delete;

    // Starts appending to the file (created when missing). The same path added twice is
    // written once and must be removed twice. False with the reason in `error`.
    bool AddFile(const std::filesystem::path& path, std::string& error);
    void RemoveFile(const std::filesystem::path& path);

    void Record(Direction direction, Collection collection, std::span<const uint8_t> report);

    std::vector<std::string> Lines() const;
    void ClearLines();

  private:
    struct OpenFile {
        int fd = -1;
        int users = 0;
    };

    const bool keepLines_;
    mutable std::mutex mutex_;
    std::vector<std::string> lines_;
    std::map<std::string, OpenFile> files_;
};

}  // namespace qx::sim
