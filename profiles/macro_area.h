// Lookups and release of the live macro area (the applied macros), each under the image lock.
// Key entries of kind macro name a macro by its id; the keyboard names it by its position.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "keyboard/macro_record.h"

namespace qx::profiles {

// The id of the macro-area record at `index`; 0 for a negative or too large index.
uint16_t MacroIdAt(int index);

// The index of the first macro-area record with that id; 0 when there is none.
int MacroIndexOfId(uint16_t id);

// A macro area's bytes: its records laid end to end, as profile files hold them.
std::span<const uint8_t> MacroAreaBytes(const std::vector<keyboard::MacroRecord>& macros);
std::span<uint8_t> MacroAreaBytes(std::vector<keyboard::MacroRecord>& macros);

// Frees the macro area; the macro count becomes 0.
void ClearMacroArea();

}  // namespace qx::profiles
