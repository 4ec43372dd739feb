// Which macro the keyboard plays at each position of its macro table. A key layout names a macro
// by its position in that table, so a download that moves a macro the keyboard holds (a macro
// before it was deleted, the list reordered) leaves every layout it does not rewrite playing
// the wrong macro or none. The download asks here whether the layouts of all three profiles
// must go with the table.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "keyboard/macro_record.h"

namespace qx::device {

// The macro ids of a table, in table order.
using MacroIds = std::vector<uint16_t>;

// The ids of the table last written to or read back from the keyboard (a read-back numbers its
// macros 1..N); nothing when that is not known: before the first transfer, and after one that
// failed part-way.
std::optional<MacroIds> KeyboardMacroIds();
void RememberKeyboardMacros(std::span<const keyboard::MacroRecord> macros);
void ForgetKeyboardMacros();

// True when writing the table of `next` puts some macro of `onKeyboard` at another position or
// leaves it out, and when what the keyboard holds is not known.
bool MovesKeyboardMacros(const std::optional<MacroIds>& onKeyboard,
                         std::span<const keyboard::MacroRecord> next);

}  // namespace qx::device
