// Keys and numbers as qx480ctl's arguments name them. A key is named by its short name ("ENTER",
// "S_7", "LSHIFT"), its English name ("Enter", "Num 7") or its key code ("0x1C"), in any letter
// case; names are looked at before codes, so "2" is the key 2, never the code 2. Every function
// here throws UsageError for a word it does not know.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "keyboard/key_code.h"

namespace qx::ctl {

// A key of the keyboard view: one of its 107 key buttons, or Fn.
struct ViewKey {
    std::string name;  // the button's short name ("ENTER"), "Fn"
    keyboard::KeyCode code = keyboard::kNoKey;
    uint8_t lightingIndex = 0;
    bool isFn = false;
};
ViewKey ViewKeyOf(const std::string& text);

// A key whose entry qx480ctl assigns: a key button of the view, or G1..G9 in G-key bank 0 or 1.
struct AssignedKey {
    std::string name;    // "ENTER", "G3"
    int entryIndex = 0;  // within a block: 0..255, or 256..273 for the G keys
    bool isGKey = false;
};
// `bank` is the --bank option's value (nothing: bank 0); it is refused for keys other than G keys.
AssignedKey AssignedKeyOf(const std::string& text, std::optional<int> bank);

// Any key of the key table: keyboard keys, mouse actions and the multimedia, system and function
// pseudo-keys. G keys are not keys a key or a macro can send.
keyboard::KeyCode KeyCodeOfName(const std::string& text);

// How the command line writes a key: its short name, else its English name when that has no
// space, else its key code ("0x16D").
std::string CommandLineKeyName(keyboard::KeyCode code);

// A decimal number in lowest..highest; `what` names it in the message ("the profile").
int NumberIn(std::string_view text, int lowest, int highest, std::string_view what);
// A decimal number without sign; nothing for anything else.
std::optional<int64_t> DecimalOf(std::string_view text);

// True when the two words are equal after ASCII letter case folding.
bool SameWordIgnoringCase(std::string_view a, std::string_view b);
// True when the two texts are equal ignoring letter case, spaces, '-' and '_' ("wheel-up",
// "Wheel Up").
bool SameNameLoosely(std::string_view a, std::string_view b);

}  // namespace qx::ctl
