// The rows of the profile manager as data: a profile file split into the name the list shows and
// the folder it sits in, the path a row stands for, the file dialogs of Add and Load, and the
// list of rows the manager leaves in the settings ("PROFILE01".., "PROFILE00"). Qt-free.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/prompt.h"

namespace qx::profiles::manager {

struct ProfileRow {
    std::string name;    // the file's name without its extension
    std::string folder;  // the folder the file sits in, ending in '/'
    bool operator==(const ProfileRow& other) const = default;
};

// The row of the file at `path` (a path without a folder gives an empty folder).
ProfileRow ProfileRowOfPath(std::string_view path);

// The path a row stands for: folder, name and ".kpf", joined as they are.
std::string RowFilePath(const ProfileRow& row);

// Add: a save dialog that suggests `suggestedPath` and asks before overwriting.
platform::FileDialogOptions AddDialogOptions(std::string suggestedPath);
// Load: an open dialog that starts in `dataFolder` on "*.kpf".
platform::FileDialogOptions LoadDialogOptions(const std::string& dataFolder);

// Writes one value per row, "PROFILE01" for the first, with the row's path, then "PROFILE00"
// with the number of rows. Values of rows that no longer exist are left as they are: the list is
// written for other programs and never read back.
void WriteProfileList(const std::vector<ProfileRow>& rows);

}  // namespace qx::profiles::manager
