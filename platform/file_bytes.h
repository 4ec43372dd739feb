// Whole-file reads of the files the program reads (INI and settings files); they are written
// with ReplaceFile (platform/file_replace.h).
#pragma once

#include <cstddef>
#include <string>

namespace qx::platform {

// Files larger than this are not read (an INI or settings file is a few kilobytes).
inline constexpr std::size_t kMaxReadableFileBytes = std::size_t{64} * 1024 * 1024;

enum class ReadResult { Ok, Missing, Failed };

// Reads the whole file into `out` (replacing its content, keeping its capacity).
ReadResult ReadFileBytes(const std::string& path, std::string& out);

}  // namespace qx::platform
