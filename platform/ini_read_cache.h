// The per-thread store behind IniReadScope (platform/ini_file.h): an index of each INI file read
// while a scope is open on the thread. Used by the INI reader and writer only.
#pragma once

#include <optional>
#include <string>

#include "platform/ini_index.h"

namespace qx::platform::ini_detail {

// Nothing when no read scope is open on this thread. Otherwise the file's index, made at the
// file's first lookup in the scope (a null pointer when the file is missing or cannot be read).
std::optional<const IniIndex*> CachedIniIndex(const std::string& path);

// The file was written: the next lookup in the open scope reads it again.
void ForgetCachedIniFile(const std::string& path);

}  // namespace qx::platform::ini_detail
