// Language texts that are used as printf-style formats. The texts come from language files, so
// they are outside data: a format is expanded here by a small interpreter that only ever reads
// the one number it was given, never the stack, and copies anything it does not understand.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace qx::keyboard {

// Expands the first integer conversion (%d %i %u %x %X %o with flags, width up to 64,
// precision and length modifiers) of `format` with `value`; "%%" gives "%". Every other
// conversion, a second integer conversion included, is copied as written.
std::string FormatWithNumber(std::string_view format, unsigned value);

// The UTF-8 text cut to at most `maxUnits` UTF-16 units, never inside a character.
std::string CutToUnits(std::string_view text, std::size_t maxUnits);

}  // namespace qx::keyboard
