// Replacing a file as a whole, the one way every writer of a file the user owns does it (profile
// files, the profile store, backups, INI files) and the emulated keyboard's state file too: the
// bytes go to a temporary file in the same folder, which is flushed to disk, renamed over the old
// file, and the folder is flushed so that the rename itself survives a crash. A replacement that
// fails at any step leaves the old file as it was and no temporary file behind.
//
// Modes: a new file gets 0666 less the user's umask (and the folder's default ACL), as any
// program's files do; a replaced file keeps the mode it had. A symbolic link keeps naming the
// file it named, which is the one replaced.
//
// Qt-free and below every other layer (target qx_platform_files), so the transport library's
// emulated keyboard links it too.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

namespace qx::platform {

enum class Flush : uint8_t {
    kToDisk,  // a crash at any moment finds the old content or the new one
    kSkip,    // files rewritten on every change that hold no user data (a test keyboard's memory)
};

// The outcome of a replacement: true when the new content is the file; otherwise the errno of
// the step that failed, and the old file is untouched.
struct Replaced {
    int error = 0;
    explicit operator bool() const { return error == 0; }
};

// Writes the pieces one after another as the new content of `path`.
Replaced ReplaceFile(const std::string& path,
                     std::initializer_list<std::span<const uint8_t>> pieces,
                     Flush flush = Flush::kToDisk);
Replaced ReplaceFile(const std::string& path, std::string_view content,
                     Flush flush = Flush::kToDisk);

}  // namespace qx::platform
