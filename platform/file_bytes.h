// Whole-file reads and atomic whole-file replacement for the files the program owns or reads.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace qx::platform {

// Files larger than this are not read (an INI or settings file is a few kilobytes).
inline constexpr std::size_t kMaxReadableFileBytes = std::size_t{64} * 1024 * 1024;

enum class ReadResult { Ok, Missing, Failed };

// Reads the whole file into `out` (replacing its content, keeping its capacity).
ReadResult ReadFileBytes(const std::string& path, std::string& out);

// Replaces the file with `content`: writes a temporary file in the same folder, flushes it to
// disk and renames it over the old one. On any failure the old file stays as it was, the
// temporary file is removed and the result is false. An existing file keeps its permissions; a
// symbolic link keeps pointing at the file it named, which is replaced.
bool WriteFileAtomically(const std::string& path, std::string_view content);

}  // namespace qx::platform
