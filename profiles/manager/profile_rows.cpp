#include "profiles/manager/profile_rows.h"

#include <utility>

#include "profiles/profile_file_names.h"
#include "settings/app_profile.h"

namespace qx::profiles::manager {

ProfileRow ProfileRowOfPath(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    const std::size_t nameStart = slash == std::string_view::npos ? 0 : slash + 1;
    std::string_view file = path.substr(nameStart);
    if (const std::size_t dot = file.rfind('.'); dot != std::string_view::npos) {
        file = file.substr(0, dot);
    }
    return ProfileRow{std::string(file), std::string(path.substr(0, nameStart))};
}

std::string RowFilePath(const ProfileRow& row) {
    return row.folder + row.name + '.' + std::string(kProfileFileExtension);
}

namespace {

platform::FileDialogOptions ProfileFileDialog(std::string initialName) {
    platform::FileDialogOptions options;
    options.defaultExtension = std::string(kProfileFileExtension);
    options.initialName = std::move(initialName);
    options.filter = std::string(kProfileFileFilter);
    options.hideReadOnly = true;
    return options;
}

}  // namespace

platform::FileDialogOptions AddDialogOptions(std::string suggestedPath) {
    platform::FileDialogOptions options = ProfileFileDialog(std::move(suggestedPath));
    options.promptBeforeOverwrite = true;
    return options;
}

platform::FileDialogOptions LoadDialogOptions(const std::string& dataFolder) {
    return ProfileFileDialog(dataFolder + '/' + std::string(kProfileFileInitialName));
}

void WriteProfileList(const std::vector<ProfileRow>& rows) {
    for (std::size_t i = 0; i < rows.size(); ++i) {
        settings::WriteProfileListValue(static_cast<int>(i) + 1, RowFilePath(rows[i]));
    }
    settings::WriteProfileListValue(0, std::to_string(rows.size()));
}

}  // namespace qx::profiles::manager
