// The file dialogs of profile files ("*.kpf"): the backup (save) dialog of the main window's menu
// button and of the firmware update window, and the menu button's restore (open) dialog.
#pragma once

#include <string_view>

#include "platform/prompt.h"
#include "profiles/profile_file_names.h"

namespace qx::profiles {

using profiles::kProfileFileExtension;
using profiles::kProfileFileFilter;
using profiles::kProfileFileInitialName;

// Save: hides the read-only box and asks before overwriting.
platform::FileDialogOptions BackupDialogOptions();
// Open: hides the read-only box.
platform::FileDialogOptions RestoreDialogOptions();

}  // namespace qx::profiles
