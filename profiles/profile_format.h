// The profile file ("*.kpf", the profile store, the update backup): the configuration image
// record, then the macro records, then the packed texts. All numbers little-endian, unsigned.
//
//   0       32-byte header (below)
//   32      32-byte fixed block
//   64      key area: 2048 entries of 16 bytes
//   32832   N macro records of 16512 bytes
//   32832 + N × 16512   S bytes of packed UTF-16 texts
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "keyboard/image_layout.h"
#include "keyboard/macro_record.h"

namespace qx::profiles {

// Header fields: offsets and the values every writer stores.
inline constexpr std::size_t kMagicOffset = 0;
inline constexpr std::size_t kHeaderSizeOffset = 2;
inline constexpr std::size_t kFormatWordOffset = 4;
inline constexpr std::size_t kFormatRevisionOffset = 6;
inline constexpr std::size_t kTotalSizeOffset = 8;
inline constexpr std::size_t kEntryCountOffset = 12;
inline constexpr std::size_t kMacroCountOffset = 14;
inline constexpr std::size_t kTextSizeOffset = 16;
inline constexpr std::size_t kReservedOffset = 20;  // 20..29 stay zero
inline constexpr std::size_t kFlagOffset = 30;
inline constexpr std::size_t kChecksumOffset = 31;

inline constexpr uint16_t kProfileMagic = 0x4446;  // the bytes "F", "D"
inline constexpr uint16_t kHeaderSizeValue = 32;
inline constexpr uint16_t kFormatWordValue = 3;
inline constexpr uint16_t kFormatRevisionValue = 1;
inline constexpr uint16_t kEntryCountValue = 2048;
inline constexpr uint8_t kWriterFlag = 0;  // every writer stores 0
inline constexpr uint8_t kHighestReadableFlag = 1;
inline constexpr uint16_t kMaxFileMacros = keyboard::kMaxMacros;  // 100

static_assert(kHeaderSizeValue == keyboard::kHeaderSize);
static_assert(kEntryCountValue == keyboard::kKeyEntryCount);

// The eight 32-bit values of the fixed block that every new image gets. Savers write what the
// image holds and readers never check them.
inline constexpr std::array<uint32_t, 8> kFixedBlockValues{
    0x0020484B, 0x00008020, 0x02000004, 0x00000000, 0x65180C45, 0x000E1C4F, 0x00000000, 0x00000000};

// Where the macro area begins and how long a file with N macros and S text bytes is.
inline constexpr std::size_t kMacroAreaOffset = keyboard::kImageSize;  // 32832

constexpr uint64_t ProfileFileSize(uint64_t macroCount, uint64_t textSize) {
    return macroCount * keyboard::kMacroRecordSize + textSize + keyboard::kImageSize;
}

// The name of the profile store in the data folder; the number is 0 whatever profile asks.
inline constexpr const char* kStoreNamePattern = "$Profile%d";
inline constexpr int kStoreNumber = 0;

// Fills the 32 header bytes: magic, sizes, N, S, the flag, then the checksum (sum of bytes
// 0..30, modulo 256) last.
void FillProfileHeader(std::span<uint8_t, keyboard::kHeaderSize> header, uint16_t macroCount,
                       uint32_t textSize, uint8_t flag);

// Writes the fixed block's eight values.
void FillFixedBlock(std::span<uint8_t, keyboard::kFixedBlockSize> block);

// Sum of header bytes 0..30, modulo 256.
uint8_t HeaderChecksum(std::span<const uint8_t, keyboard::kHeaderSize> header);

}  // namespace qx::profiles
