// What the firmware update window asks and tells: its messages, fixed texts that are the same in
// every language (shown with an OK button and no caption, the blank after "!" included), and the
// file dialog that chooses the updater. Qt-free.
#pragma once

#include <string>
#include <string_view>

#include "platform/prompt.h"

namespace qx::update {

inline constexpr std::string_view kChooseUpdaterText = "请选择正确的更新文件! ";
inline constexpr std::string_view kBootModeFailedText = "无法进入Boot模式! ";
inline constexpr std::string_view kUpdaterFailedText = "无法执行更新文件! ";
inline constexpr std::string_view kBackupDoneText = "备份成功!";
inline constexpr std::string_view kBackupFailedText = "备份失败,请重新备份!";

inline constexpr std::string_view kUpdaterExtension = "exe";
inline constexpr std::string_view kUpdaterInitialName = "*.exe";
// Updaters come as Windows programs; the second entry lets a native updater be chosen.
inline constexpr std::string_view kUpdaterFilter =
    "MyType Files (*.exe)|*.exe|All Files (*.*)|*.*||";

// Open (1181): starts in the Package folder, hides the read-only box, asks before overwriting.
platform::FileDialogOptions UpdaterDialogOptions(const std::string& packageFolder);

}  // namespace qx::update
