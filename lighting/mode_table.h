// The lighting modes the keyboard offers: the supported-mode list of the state block and the mode
// table built from it. Entry i of the table describes item i of the panel's mode list, so the
// table is filled in slot order and skips empty slots.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "lighting/lighting_layout.h"

namespace qx::lighting {

// The 32 mode slots of a 48-byte state block (bytes 16..47).
ModeSlots ModeSlotsOfStateBlock(std::span<const uint8_t> stateBlock);

// Per-key lighting exists exactly when some slot holds the per-key mode.
bool SupportsPerKey(const ModeSlots& slots);

struct ModeEntry {
    int index = 0;
    int type = 0;
};

class ModeTable {
  public:
    // Entry 0 onwards from the nonzero slots, in slot order.
    void Rebuild(const ModeSlots& slots);
    void Clear() { count_ = 0; }

    // The index of the first entry of that type; kNoMode when none.
    int ModeIndexOfType(int type) const;
    // The type of entry `index`; kNoMode outside the table.
    int ModeTypeAt(int index) const;

    int Size() const { return count_; }
    std::span<const ModeEntry> Entries() const {
        return std::span<const ModeEntry>(entries_).first(static_cast<std::size_t>(count_));
    }

  private:
    std::array<ModeEntry, kModeSlotCount> entries_{};
    int count_ = 0;
};

}  // namespace qx::lighting
