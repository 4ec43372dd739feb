#include "keyboard/image_record.h"

#include <algorithm>
#include <stdexcept>

#include "keyboard/key_buttons.h"

namespace qx::keyboard {
namespace {

void CheckBlock(int block) {
    if (block < 0 || block >= kBlockCount) {
        throw std::out_of_range("key-area block outside 0..3");
    }
}

void CheckEntry(int profile, int index) {
    if (!IsValidKeyEntry(profile, index)) {
        throw std::out_of_range("key entry outside the key area");
    }
}

}  // namespace

std::span<uint8_t, kBlockSize> ImageRecord::Block(int block) {
    CheckBlock(block);
    return std::span<uint8_t, kBlockSize>(
        bytes_.data() + kKeyAreaOffset + kBlockSize * static_cast<std::size_t>(block), kBlockSize);
}

std::span<const uint8_t, kBlockSize> ImageRecord::Block(int block) const {
    CheckBlock(block);
    return std::span<const uint8_t, kBlockSize>(
        bytes_.data() + kKeyAreaOffset + kBlockSize * static_cast<std::size_t>(block), kBlockSize);
}

KeyEntryRef ImageRecord::Entry(int profile, int index) {
    CheckEntry(profile, index);
    return KeyEntryRef(std::span<uint8_t, kKeyEntrySize>(
        bytes_.data() + KeyEntryOffset(profile, index), kKeyEntrySize));
}

ConstKeyEntryRef ImageRecord::Entry(int profile, int index) const {
    CheckEntry(profile, index);
    return ConstKeyEntryRef(std::span<const uint8_t, kKeyEntrySize>(
        bytes_.data() + KeyEntryOffset(profile, index), kKeyEntrySize));
}

void FillDefaultBlock(std::span<uint8_t, kBlockSize> block) {
    std::fill(block.begin(), block.end(), uint8_t{0});
    for (int bank = 0; bank < kGKeyBanks; ++bank) {
        for (int button = 0; button < kGKeyButtonCount; ++button) {
            const auto offset =
                kKeyEntrySize * static_cast<std::size_t>(GKeyEntryIndex(button, bank));
            KeyEntryRef entry(block.subspan(offset).first<kKeyEntrySize>());
            entry.SetKind(kKindDefault);
            entry.SetParameter(GKeyDefaultCode(button, bank));
        }
    }
}

}  // namespace qx::keyboard
