#include "update/update_prompts.h"

namespace qx::update {

platform::FileDialogOptions UpdaterDialogOptions(const std::string& packageFolder) {
    platform::FileDialogOptions options;
    options.defaultExtension = std::string(kUpdaterExtension);
    options.initialName = std::string(kUpdaterInitialName);
    options.initialFolder = packageFolder;
    options.filter = std::string(kUpdaterFilter);
    options.hideReadOnly = true;
    options.promptBeforeOverwrite = true;
    return options;
}

}  // namespace qx::update
