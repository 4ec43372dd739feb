// Names of macros in the editor: the default names ("MACRO_NEW_PREFIX" followed by a counter) and
// the in-use rule the selector's prefix search gives: a name is in use when some macro's name
// begins with it, compared without regard to case. So with a macro named prefix + "10" the
// default name prefix + "1" counts as in use.
#pragma once

#include <string>
#include <string_view>

namespace qx::keyassign {

// The format of a default name: the prefix text, then the counter in decimal.
inline constexpr std::string_view kDefaultNameFormat = "%s%d";

// The language text of "MACRO_NEW_PREFIX" followed by `counter`.
std::string DefaultMacroName(int counter);

// True when `name` begins with `prefix`, compared character by character after case folding.
// An empty prefix begins every name.
bool BeginsWithIgnoringCase(std::string_view name, std::string_view prefix);

// A name as a macro record stores it: cut to 249 UTF-16 units, never inside a character.
std::u16string StoredMacroName(std::string_view name);

}  // namespace qx::keyassign
