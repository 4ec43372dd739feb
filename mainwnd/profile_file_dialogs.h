// The file dialogs of profile files ("*.kpf"): the backup (save) and restore (open) dialogs of
// the main window's menu button. Qt-free.
#pragma once

#include <string_view>

#include "platform/prompt.h"
#include "profiles/profile_file_names.h"

namespace qx::mainwnd {

using profiles::kProfileFileExtension;
using profiles::kProfileFileFilter;
using profiles::kProfileFileInitialName;

// Save: hides the read-only box and asks before overwriting.
platform::FileDialogOptions BackupDialogOptions();
// Open: hides the read-only box.
platform::FileDialogOptions RestoreDialogOptions();

}  // namespace qx::mainwnd
