#include "device/transfer/image_transfer_commands.h"

#include "lang/language.h"
#include "lang/language_keys.h"
#include "platform/prompt.h"
#include "profiles/profile_file.h"

namespace qx::device {
namespace {

void ShowImportFailed() {
    platform::CurrentPrompt().ShowMessage(lang::LangText(lang::kMainPromptInport));
}

}  // namespace

ImportResult ImportProfileFile(const std::string& path, const TransferLink& link,
                               const std::function<void()>& whileLocked) {
    ImportResult result;
    result.validation = profiles::ValidateProfileFile(path);
    if (result.validation != profiles::kProfileValid) {
        ShowImportFailed();
        return result;
    }
    {
        const keyboard::ImageGuard imageLock = keyboard::Images().LockImage();
        result.loaded = profiles::LoadImageFromFile(imageLock, path) == 1;
        if (result.loaded) {
            result.storeSaved = profiles::SaveImageToStore(imageLock);
            result.download = SnapshotAndDownload(imageLock, true, link);
        }
        if (whileLocked) {
            whileLocked();
        }
    }
    if (!result.loaded) {
        ShowImportFailed();
    }
    return result;
}

int ApplyToKeyboard(const TransferLink& link) {
    const keyboard::ImageGuard imageLock = keyboard::Images().LockImage();
    profiles::SaveImageToStore(imageLock);
    return SnapshotAndDownload(imageLock, false, link);
}

}  // namespace qx::device
