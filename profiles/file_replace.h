// Replacing a profile file as a whole: the pieces go to a temporary file in the same folder,
// which is renamed over the target only when every byte was written. A save that fails or is
// interrupted leaves the old file as it was.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>

namespace qx::profiles {

// Writes the pieces one after another as the new content of `path`. An existing file keeps its
// permissions, and a symbolic link keeps naming the file it names. False, with the old file
// untouched and no temporary file left, when anything fails.
bool ReplaceFile(const std::string& path, std::initializer_list<std::span<const uint8_t>> pieces);

}  // namespace qx::profiles
