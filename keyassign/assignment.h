// The assignment of a key: the first eight bytes of its key entry (kind, parameter, value), and
// the two writes every editor of assignments uses. Bytes 8..15 of an entry (the colour switch and
// the unread word) are never part of an assignment: writing one leaves them as they are.
//
// Entries here are absolute (0..2047 over the whole key area); Locate and the window work with an
// index inside the current profile's block and turn it into an absolute one with
// AbsoluteEntryIndex.
#pragma once

#include <cstdint>
#include <optional>

#include "keyboard/image_layout.h"
#include "keyboard/key_entry.h"

namespace qx::keyassign {

// The assignment kinds (the values the key entry's kind field holds).
using keyboard::KeyEntryKind;
using keyboard::kKindDefault;     // 0: the key keeps its own function
using keyboard::kKindDisabled;    // 1: the key does nothing
using keyboard::kKindFunction;    // 8: keyboard function, value: index 0..10
using keyboard::kKindKey;         // 2: another key or a mouse action, value: key code
using keyboard::kKindLaunch;      // 3: launch program, the path is the entry's text
using keyboard::kKindMacro;       // 4: play macro, parameter: repeat count, value: macro id
using keyboard::kKindMultimedia;  // 7: multimedia, value: index 0..17
using keyboard::kKindStopMacro;   // 5: stop the macro being played
using keyboard::kKindText;        // 6: type the entry's text

// The fields of an assignment inside a key entry.
using keyboard::kEntryKindOffset;       // 16-bit kind
using keyboard::kEntryParameterOffset;  // 16-bit parameter
using keyboard::kEntryValueOffset;      // 32-bit value
inline constexpr std::size_t kAssignmentSize = 8;

// A kind-4 value names its macro in the low 16 bits.
inline constexpr uint32_t kMacroIdMask = 0xFFFF;

// Kinds 3 and 6 carry a text (the text table's pair of the same entry).
constexpr bool CarriesText(uint16_t kind) {
    return kind == kKindLaunch || kind == kKindText;
}

struct Assignment {
    uint16_t kind = kKindDefault;
    uint16_t parameter = 0;
    uint32_t value = 0;
    friend bool operator==(const Assignment&, const Assignment&) = default;
};

// The absolute entry of `index` (0..511) in the block of onboard profile `profile`.
constexpr int AbsoluteEntryIndex(int profile, int index) {
    return keyboard::kEntriesPerBlock * profile + index;
}

// Reads bytes 0..7 of an absolute entry under the image lock; nothing for an entry outside
// 0..2047 or while no image is installed.
std::optional<Assignment> ReadAssignment(int absoluteEntry);

// Writes bytes 0..7 of an absolute entry under the image lock; bytes 8..15 stay as they are.
// False, nothing written, for an entry outside 0..2047 or while no image is installed.
bool SetAssignment(int absoluteEntry, uint16_t kind, uint16_t parameter, uint32_t value);
bool SetAssignment(int absoluteEntry, const Assignment& assignment);

// Frees the text of an absolute entry under the image lock: its length becomes 0 and the text
// total drops by the old length. False for an entry outside 0..2047.
bool ReleaseEntryText(int absoluteEntry);

}  // namespace qx::keyassign
