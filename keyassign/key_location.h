// Which key entry a button of the main window edits. Key buttons use the entry of their key's
// table index; the nine G-key buttons use 256 + g in G-key bank 0 and 265 + g in bank 1, so the
// same button edits another entry when the keyboard switches banks.
#pragma once

#include <cstdint>
#include <optional>

namespace qx::keyassign {

// The G-key button 1143 (the ninth) is also the id under which the main window's macro command
// opens the key assignment window for macro editing alone.
inline constexpr int kMacroOnlyControlId = 1143;

// The block whose assignments the windows show and edit: the keyboard's current onboard profile
// and its G-key bank.
struct BlockSelection {
    int profile = 0;  // 0..2; anything else: unknown, nothing to show or edit
    int gKeyBank = 0;

    // True when the profile names one of the three onboard profiles.
    bool IsKnown() const;
};

// The keyboard's current profile (GetCurrentProfile, which may ask the keyboard) and the
// connection's G-key bank.
BlockSelection CurrentBlockSelection();

struct KeyEntryLocation {
    int entryIndex = 0;      // within the block: 0..255 for key buttons, 256..273 for G keys
    bool macroOnly = false;  // the control id was 1143
    friend bool operator==(const KeyEntryLocation&, const KeyEntryLocation&) = default;
};

// The entry of a key button or G-key button; nothing for any other control id. A bank other than
// 0 counts as bank 1.
std::optional<KeyEntryLocation> LocateKeyEntry(int controlId, int gKeyBank);
// The same with the connection's current G-key bank.
std::optional<KeyEntryLocation> LocateKeyEntry(int controlId);

// The G code an entry carries in its parameter when it holds no macro: 0x301 + g for 256 + g,
// 0x1301 + g for 265 + g; 0 for any entry that is not a G-key entry.
uint16_t GCodeOfEntry(int entryIndex);

}  // namespace qx::keyassign
