#include "lighting/mode_table.h"

#include <algorithm>

namespace qx::lighting {

ModeSlots ModeSlotsOfStateBlock(std::span<const uint8_t> stateBlock) {
    ModeSlots slots{};
    if (stateBlock.size() > kModeSlotsOffset) {
        const auto available = stateBlock.subspan(kModeSlotsOffset);
        std::copy_n(available.begin(), std::min(available.size(), kModeSlotCount), slots.begin());
    }
    return slots;
}

bool SupportsPerKey(const ModeSlots& slots) {
    return std::ranges::find(slots, kPerKeyModeType) != slots.end();
}

void ModeTable::Rebuild(const ModeSlots& slots) {
    count_ = 0;
    for (const uint8_t type : slots) {
        if (type != kEmptyModeSlot) {
            entries_[static_cast<std::size_t>(count_)] = {count_, type};
            ++count_;
        }
    }
}

int ModeTable::ModeIndexOfType(int type) const {
    for (const ModeEntry& entry : Entries()) {
        if (entry.type == type) {
            return entry.index;
        }
    }
    return kNoMode;
}

int ModeTable::ModeTypeAt(int index) const {
    if (index < 0 || index >= count_) {
        return kNoMode;
    }
    return entries_[static_cast<std::size_t>(index)].type;
}

}  // namespace qx::lighting
