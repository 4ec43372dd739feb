// The configuration image record (32832 bytes) with access to its parts and key entries.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "keyboard/image_layout.h"
#include "keyboard/key_entry.h"

namespace qx::keyboard {

class ImageRecord {
  public:
    ImageRecord() = default;  // all bytes zero

    std::span<uint8_t, kImageSize> Bytes() { return bytes_; }
    std::span<const uint8_t, kImageSize> Bytes() const { return bytes_; }

    std::span<uint8_t, kHeaderSize> Header() {
        return Bytes().subspan<kHeaderOffset, kHeaderSize>();
    }
    std::span<uint8_t, kFixedBlockSize> FixedBlock() {
        return Bytes().subspan<kFixedBlockOffset, kFixedBlockSize>();
    }

    // Block 0..3 of the key area. Throws std::out_of_range for any other block.
    std::span<uint8_t, kBlockSize> Block(int block);
    std::span<const uint8_t, kBlockSize> Block(int block) const;

    // Key entry k (0..511) of block p (0..3): image offset 64 + 8192 × p + 16 × k.
    // Throws std::out_of_range outside those ranges.
    KeyEntryRef Entry(int profile, int index);
    ConstKeyEntryRef Entry(int profile, int index) const;

  private:
    std::array<uint8_t, kImageSize> bytes_{};
};

// ImageRecord::Entry as a free function, for code that reaches the image through its holder;
// the caller holds the image lock.
inline KeyEntryRef KeyEntry(ImageRecord& image, int profile, int index) {
    return image.Entry(profile, index);
}

// Sets a key-area block to the default block: every entry zero except the eighteen G-key
// entries 256..273, which get kind 0 and their G code (0x301.. / 0x1301..) as parameter.
void FillDefaultBlock(std::span<uint8_t, kBlockSize> block);

}  // namespace qx::keyboard
