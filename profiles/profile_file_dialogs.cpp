#include "profiles/profile_file_dialogs.h"

#include <string>

namespace qx::profiles {
namespace {

platform::FileDialogOptions ProfileFileDialog() {
    platform::FileDialogOptions options;
    options.defaultExtension = std::string(kProfileFileExtension);
    options.initialName = std::string(kProfileFileInitialName);
    options.filter = std::string(kProfileFileFilter);
    options.hideReadOnly = true;
    return options;
}

}  // namespace

platform::FileDialogOptions BackupDialogOptions() {
    platform::FileDialogOptions options = ProfileFileDialog();
    options.promptBeforeOverwrite = true;
    return options;
}

platform::FileDialogOptions RestoreDialogOptions() {
    return ProfileFileDialog();
}

}  // namespace qx::profiles
