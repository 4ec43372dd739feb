// The key entries that play macros (kind 4, the macro id in the low 16 bits of the value), looked
// at over the whole key area: every block, since all onboard profiles share the macros.
#pragma once

#include <cstdint>
#include <vector>

#include "keyboard/macro_record.h"

namespace qx::keyassign {

// The delete check passes over this absolute entry (G key 1 of bank 0 in profile 0): a macro that
// only this key plays is deleted without a question. The apply settles the entry like any other.
inline constexpr int kEntryOutsideUseCheck = 256;

// Under the image lock: true when an entry other than kEntryOutsideUseCheck plays macro `id`.
bool AnyKeyPlaysMacro(uint16_t id);

// Under the image lock, settles every kind-4 entry against the macros about to become the macro
// area: an id of 0 takes the id of the first macro when there is one; an id that none of them
// has, or that belongs to a macro with the new flag (a new macro that took the id of a deleted
// one), makes the entry kind 0 with its parameter and value kept. The number of entries changed.
int SettleMacroEntries(const std::vector<keyboard::MacroRecord>& macros);

}  // namespace qx::keyassign
