// The per-thread store behind IniReadScope (platform/ini_file.h): the bytes of each INI file read
// while a scope is open on the thread. Used by the INI reader and writer only.
#pragma once

#include <optional>
#include <string>

namespace qx::platform::ini_detail {

// Nothing when no read scope is open on this thread. Otherwise the file's bytes, read on the
// first lookup of the scope (a null pointer when the file is missing or cannot be read).
std::optional<const std::string*> CachedIniBytes(const std::string& path);

// The file was written: the next lookup in the open scope reads it again.
void ForgetCachedIniBytes(const std::string& path);

}  // namespace qx::platform::ini_detail
