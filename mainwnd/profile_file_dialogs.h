// The file dialogs of profile files ("*.kpf"): the backup (save) and restore (open) dialogs of
// the main window's menu button. Qt-free.
#pragma once

#include <string_view>

#include "platform/prompt.h"

namespace qx::mainwnd {

inline constexpr std::string_view kProfileFileExtension = "kpf";
inline constexpr std::string_view kProfileFileInitialName = "*.kpf";
inline constexpr std::string_view kProfileFileFilter = "(*.kpf)|*.kpf|(*.*)|*.*||";

// Save: hides the read-only box and asks before overwriting.
platform::FileDialogOptions BackupDialogOptions();
// Open: hides the read-only box.
platform::FileDialogOptions RestoreDialogOptions();

}  // namespace qx::mainwnd
