// The menu button (1139) and its two commands: the backup of the configuration to a profile file
// (export) and the restore from one (import, all three profiles sent to the keyboard).
#include <QMenu>

#include "device/connection/device_session.h"
#include "device/transfer/image_transfer.h"
#include "lang/language.h"
#include "lang/language_keys.h"
#include "mainwnd/main_ids.h"
#include "mainwnd/quilvane_dlg.h"
#include "mainwnd/transfer_jobs.h"
#include "platform/prompt.h"
#include "profiles/profile_file.h"
#include "profiles/profile_file_dialogs.h"
#include "widgets/menu_resources.h"

namespace qx::mainwnd {
namespace {

void ShowImportRefused() {
    platform::CurrentPrompt().ShowMessage(lang::LangText(lang::kMainPromptInport));
}

}  // namespace

// The restore / backup / firmware update menu in the language's texts (by command) at the
// cursor; the chosen command comes back to the window.
void CQuilvaneDlg::OnMenuButton() {
    const std::unique_ptr<QMenu> menu = widgets::LoadMenuResource(widgets::kButtonMenuId, this);
    if (!menu) {
        return;
    }
    widgets::LocaliseButtonMenu(*menu);
    const uint32_t command = options_.trackButtonMenu(*menu);
    if (command != 0 && !exitStarted_) {
        OnCommand(static_cast<int>(command));
    }
}

// 32777: the live image, its macros and texts to a file of the user's choice. Nothing is
// reported either way (a failed save leaves the old file as it was).
void CQuilvaneDlg::OnBackupProfileFile() {
    const std::optional<std::string> path =
        platform::CurrentPrompt().SaveFile(profiles::BackupDialogOptions());
    if (!path || exitStarted_) {
        return;
    }
    profiles::SaveImageToFile(*path);
}

// 32776: a valid file becomes the live image, the profile store and all three profiles of the
// keyboard (on the transfer thread, with the busy animation); the keyboard view follows and no
// changes are pending afterwards. A file that is not valid, or cannot be loaded, changes nothing
// and is reported with "MAIN_PROMPT_INPORT". When the keyboard did not take the file, the
// imported image stays pending and the next Apply sends all three profiles: the next profile read
// would otherwise put the keyboard's old content over it.
void CQuilvaneDlg::OnRestoreProfileFile() {
    const std::optional<std::string> path =
        platform::CurrentPrompt().OpenFile(profiles::RestoreDialogOptions());
    if (!path || session_ == nullptr || exitStarted_) {
        return;
    }
    if (profiles::ValidateProfileFile(*path) != profiles::kProfileValid) {
        ShowImportRefused();
        return;
    }
    const device::TransferLink link = device::TransferLinkOf(*session_);
    ImportOutcome outcome;
    busy_.RunShowingIndicator(BusyState::IndicatorStart::kAtOnce, [&] {
        busy_.RunTransfer([&] { outcome = ImportImageToKeyboard(*path, link); });
        ShowTransferNotices(outcome.notices, platform::CurrentPrompt());
    });
    if (!outcome.loaded) {
        ShowImportRefused();
        return;
    }
    RefreshKeyButtons();
    if (outcome.Sent()) {
        SetApplyEnabled(false);
        return;
    }
    device::SetRewriteAll();
    SetApplyEnabled(true);
    platform::CurrentPrompt().ShowMessage(lang::LangText(lang::kMainPromptImportNotSent));
}

}  // namespace qx::mainwnd
