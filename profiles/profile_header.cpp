#include <algorithm>
#include <numeric>

#include "keyboard/byte_order.h"
#include "profiles/profile_format.h"

namespace qx::profiles {

using keyboard::StoreLe16;
using keyboard::StoreLe32;

uint8_t HeaderChecksum(std::span<const uint8_t, keyboard::kHeaderSize> header) {
    const auto summed = header.first<kChecksumOffset>();
    return static_cast<uint8_t>(std::accumulate(summed.begin(), summed.end(), 0U));
}

void FillProfileHeader(std::span<uint8_t, keyboard::kHeaderSize> header, uint16_t macroCount,
                       uint32_t textSize, uint8_t flag) {
    std::fill(header.begin(), header.end(), uint8_t{0});
    StoreLe16(header, kMagicOffset, kProfileMagic);
    StoreLe16(header, kHeaderSizeOffset, kHeaderSizeValue);
    StoreLe16(header, kFormatWordOffset, kFormatWordValue);
    StoreLe16(header, kFormatRevisionOffset, kFormatRevisionValue);
    // The total is a 32-bit field; a store never holds more than 100 macros, so it fits.
    StoreLe32(header, kTotalSizeOffset,
              static_cast<uint32_t>(ProfileFileSize(macroCount, textSize)));
    StoreLe16(header, kEntryCountOffset, kEntryCountValue);
    StoreLe16(header, kMacroCountOffset, macroCount);
    StoreLe32(header, kTextSizeOffset, textSize);
    header[kFlagOffset] = flag;
    header[kChecksumOffset] = HeaderChecksum(header);
}

void FillFixedBlock(std::span<uint8_t, keyboard::kFixedBlockSize> block) {
    for (std::size_t i = 0; i < kFixedBlockValues.size(); ++i) {
        StoreLe32(block, 4 * i, kFixedBlockValues[i]);
    }
}

}  // namespace qx::profiles
