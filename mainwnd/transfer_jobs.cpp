#include "mainwnd/transfer_jobs.h"

#include <utility>

#include "keyboard/image_holders.h"
#include "lang/language.h"
#include "profiles/profile_file.h"

namespace qx::mainwnd {
namespace {

constexpr bool kCurrentProfileOnly = false;
constexpr bool kAllProfiles = true;

}  // namespace

ApplyOutcome ApplyImageToKeyboard(const device::TransferLink& link) {
    const keyboard::ImageGuard imageLock = keyboard::Images().LockImage();
    const int stored = profiles::SaveImageToStore(imageLock);
    device::DownloadResult download =
        device::SnapshotAndDownload(imageLock, kCurrentProfileOnly, link);
    return ApplyOutcome{stored == 1 && download.Succeeded(), std::move(download.notices)};
}

ImportOutcome ImportImageToKeyboard(const std::string& path, const device::TransferLink& link) {
    ImportOutcome outcome;
    const keyboard::ImageGuard imageLock = keyboard::Images().LockImage();
    outcome.loaded = profiles::LoadImageFromFile(imageLock, path) == 1;
    if (outcome.loaded) {
        outcome.storeSaved = profiles::SaveImageToStore(imageLock);
        device::DownloadResult download =
            device::SnapshotAndDownload(imageLock, kAllProfiles, link);
        outcome.download = download.result;
        outcome.notices = std::move(download.notices);
    }
    return outcome;
}

void ShowTransferNotices(const device::TransferNotices& notices, platform::Prompt& prompt) {
    for (const device::TransferNotice& notice : notices) {
        prompt.ShowMessage(lang::LangText(notice.textKey), {}, notice.topmost);
    }
}

}  // namespace qx::mainwnd
