// The state file (RADODOR_SIM_STATE): the keyboard's whole memory in one little-endian file of
// fixed size, so that it survives the emulator and can be inspected byte for byte.
//
//   offset     size  content
//        0        8  ASCII "QX480SIM"
//        8        4  format version 1
//       12       48  state block
//       60      324  default key layout
//      384      972  key layouts of profiles 0, 1, 2
//     1356      126  lighting area (3 records of 42 bytes)
//     1482      768  key-light area (3 pages of 256 bytes)
//     2250    32640  macro table area (255 x 128 bytes)
//                    total 34890 bytes
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "sim/keyboard_memory.h"

namespace qx::sim {

inline constexpr size_t kStateFileSize = 34890;
inline constexpr uint32_t kStateFileVersion = 1;

std::vector<uint8_t> SerializeStateFile(const KeyboardMemory& memory);

// The memory held by a state file's bytes, or nothing with the reason in `error`.
std::optional<KeyboardMemory> ParseStateFile(std::span<const uint8_t> bytes, std::string& error);

struct StateFileLoad {
    std::optional<KeyboardMemory> memory;  // empty: the file is unusable (see error)
    bool existed = false;                  // false: the file is missing, memory is factory content
    std::string error;
};

// Reads a state file; a missing file gives factory content.
StateFileLoad LoadStateFile(const std::filesystem::path& path);

// Replaces the file atomically (platform/file_replace.h) without waiting for the disk: a failed
// write leaves the old file as it was. False with the reason in `error`.
bool SaveStateFile(const std::filesystem::path& path, const KeyboardMemory& memory,
                   std::string& error);

// What identifies one version of a file on disk; lets a keyboard notice that somebody else
// replaced or removed its state file.
struct FileStamp {
    bool exists = false;
    uint64_t device = 0;
    uint64_t inode = 0;
    int64_t size = 0;
    int64_t modifiedNs = 0;
    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

FileStamp StampOf(const std::filesystem::path& path);

}  // namespace qx::sim
