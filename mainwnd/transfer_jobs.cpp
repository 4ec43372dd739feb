#include "mainwnd/transfer_jobs.h"

#include "keyboard/image_holders.h"
#include "profiles/profile_file.h"

namespace qx::mainwnd {
namespace {

constexpr bool kCurrentProfileOnly = false;
constexpr bool kAllProfiles = true;

}  // namespace

bool ApplyImageToKeyboard(const device::TransferLink& link) {
    const keyboard::ImageGuard imageLock = keyboard::Images().LockImage();
    const int stored = profiles::SaveImageToStore(imageLock);
    const int downloaded = device::SnapshotAndDownload(imageLock, kCurrentProfileOnly, link);
    return stored == 1 && downloaded == 1;
}

ImportOutcome ImportImageToKeyboard(const std::string& path, const device::TransferLink& link) {
    ImportOutcome outcome;
    const keyboard::ImageGuard imageLock = keyboard::Images().LockImage();
    outcome.loaded = profiles::LoadImageFromFile(imageLock, path) == 1;
    if (outcome.loaded) {
        outcome.storeSaved = profiles::SaveImageToStore(imageLock);
        outcome.download = device::SnapshotAndDownload(imageLock, kAllProfiles, link);
    }
    return outcome;
}

}  // namespace qx::mainwnd
