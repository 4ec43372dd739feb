// The configuration image record: a 32-byte header, a 32-byte fixed block and the key area of
// 2048 key entries of 16 bytes, in 4 blocks of 512 entries. Blocks 0..2 are the keyboard's
// onboard profiles; block 3 and the entries 274..511 of every block are carried as they are.
// The record is byte for byte the start of a profile file.
#pragma once

#include <cstddef>

namespace qx::keyboard {

inline constexpr std::size_t kHeaderOffset = 0;
inline constexpr std::size_t kHeaderSize = 32;
inline constexpr std::size_t kFixedBlockOffset = 32;
inline constexpr std::size_t kFixedBlockSize = 32;
inline constexpr std::size_t kKeyAreaOffset = 64;
inline constexpr std::size_t kKeyEntrySize = 16;
inline constexpr int kEntriesPerBlock = 512;
inline constexpr int kBlockCount = 4;
inline constexpr int kKeyEntryCount = kEntriesPerBlock * kBlockCount;        // 2048
inline constexpr std::size_t kBlockSize = kKeyEntrySize * kEntriesPerBlock;  // 8192
inline constexpr std::size_t kKeyAreaSize = kBlockSize * kBlockCount;        // 32768
inline constexpr std::size_t kImageSize = kKeyAreaOffset + kKeyAreaSize;     // 32832
inline constexpr int kProfileCount = 3;  // onboard profiles 0..2 in blocks 0..2

// Image offset of key entry k of block (profile) p.
constexpr std::size_t KeyEntryOffset(int profile, int index) {
    return kKeyAreaOffset + kBlockSize * static_cast<std::size_t>(profile) +
           kKeyEntrySize * static_cast<std::size_t>(index);
}

constexpr bool IsValidKeyEntry(int profile, int index) {
    return profile >= 0 && profile < kBlockCount && index >= 0 && index < kEntriesPerBlock;
}

static_assert(kImageSize == 32832);
static_assert(KeyEntryOffset(1, 0x47) == 64 + 8192 + 16 * 0x47);  // 9392

}  // namespace qx::keyboard
