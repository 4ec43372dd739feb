#include "device/transfer/image_transfer_commands.h"

#include <utility>

#include "lang/language_keys.h"
#include "profiles/profile_file.h"

namespace qx::device {
namespace {

constexpr TransferNotice kImportFailed{lang::kMainPromptInport, false};

}  // namespace

ImportResult ImportProfileFile(const std::string& path, const TransferLink& link,
                               const std::function<void()>& whileLocked) {
    ImportResult result;
    result.validation = profiles::ValidateProfileFile(path);
    if (result.validation != profiles::kProfileValid) {
        result.notices.push_back(kImportFailed);
        return result;
    }
    {
        const keyboard::ImageGuard imageLock = keyboard::Images().LockImage();
        result.loaded = profiles::LoadImageFromFile(imageLock, path) == 1;
        if (result.loaded) {
            result.storeSaved = profiles::SaveImageToStore(imageLock);
            DownloadResult download = SnapshotAndDownload(imageLock, true, link);
            result.download = download.result;
            result.notices = std::move(download.notices);
        }
        if (whileLocked) {
            whileLocked();
        }
    }
    if (!result.loaded) {
        result.notices.push_back(kImportFailed);
    }
    return result;
}

DownloadResult ApplyToKeyboard(const TransferLink& link) {
    const keyboard::ImageGuard imageLock = keyboard::Images().LockImage();
    profiles::SaveImageToStore(imageLock);
    return SnapshotAndDownload(imageLock, false, link);
}

}  // namespace qx::device
