// Display names of keys in the user's language.
#pragma once

#include <cstddef>
#include <string>

#include "keyboard/key_code.h"

namespace qx::keyboard {

// Default capacity of a key name in characters, terminator included (a language text's size).
inline constexpr std::size_t kKeyNameCapacity = 260;
inline constexpr const char* kUnknownKeyText = "UNKNOWN_KEY";

// The language text of the key's row (section "TEXT"). A row without a language key or with an
// empty text is named by the text of "UNKNOWN_KEY" used as a format with the key code. The name
// is cut to capacity − 1 characters.
std::string KeyNameOfCode(KeyCode code, std::size_t capacity = kKeyNameCapacity);

// The language text of the first row with that picker number; empty when no row has it or the
// row has no language key.
std::string KeyNameOfPicker(uint16_t picker);

}  // namespace qx::keyboard
