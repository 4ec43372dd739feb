// How profile files are named and offered in file dialogs: the extension, the name a dialog
// starts with and the filter, shared by every window that opens or saves one. Qt-free.
#pragma once

#include <string_view>

namespace qx::profiles {

inline constexpr std::string_view kProfileFileExtension = "kpf";
inline constexpr std::string_view kProfileFileInitialName = "*.kpf";
inline constexpr std::string_view kProfileFileFilter = "(*.kpf)|*.kpf|(*.*)|*.*||";

}  // namespace qx::profiles
