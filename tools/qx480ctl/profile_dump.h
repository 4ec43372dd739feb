// A profile file as JSON (the format is described in the README, "qx480ctl"): the header, the
// fixed block, per key-area block the key entries that are not all zero, the macros with their
// actions, the texts, and whatever else the file holds (a string area that is not the texts
// packed in entry order, bytes after the header's total). Everything a file carries is written,
// so "build" makes the same file from it again.
#pragma once

#include "tools/qx480ctl/json_writer.h"
#include "tools/qx480ctl/profile_parts.h"

namespace qx::ctl {

// `parts` must be a file the program accepts (its texts can be taken from its string area).
void DumpProfile(const ProfileParts& parts, JsonWriter& json);

// Bytes as a string of hexadecimal digits, two per byte, lowercase.
std::string HexString(std::span<const uint8_t> bytes);

}  // namespace qx::ctl
