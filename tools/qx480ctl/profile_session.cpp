#include "tools/qx480ctl/profile_session.h"

#include <ostream>

#include "app/instance_mutex.h"
#include "device/transfer/image_transfer.h"
#include "device/transfer/key_action_layout.h"
#include "device/transfer/read_back.h"
#include "keyboard/image_holders.h"
#include "profiles/profile_check.h"
#include "profiles/profile_file.h"
#include "tools/qx480ctl/keyboard_link.h"

namespace qx::ctl {

bool DriverRunsForThisUser() {
    app::InstanceMutex probe;
    return probe.Open(app::InstanceLockPath()) == app::InstanceMutex::OpenResult::Exists;
}

void RefuseWhileDriverRuns(const CommandContext& context) {
    if (!context.Global().force && DriverRunsForThisUser()) {
        throw Refusal{kExitFailed,
                      "the driver is running for this user: its next Apply would write its own "
                      "copy of the keyboard's content over this change. Close it first "
                      "(qx480-driver /Kill), or give --force"};
    }
}

ProfileSession::ProfileSession(CommandContext& context, Use use) : context_(context) {
    if (const std::string* file = context.Option("--file")) {
        file_ = *file;
        // A format error is told as the driver tells it, then why.
        if (profiles::ValidateProfileFile(*file_) != profiles::kProfileValid ||
            profiles::LoadImageFromFile(*file_) != 1) {
            throw Refusal{kExitFailed, *file_ + ": refused: " +
                                           std::string(profiles::DescribeProfileCheck(
                                               profiles::CheckProfileFile(*file_)))};
        }
        return;
    }
    if (use == Use::kEdit) {
        RefuseWhileDriverRuns(context);
    }
    keyboard_ = context.Keyboard();
    if (keyboard_ == nullptr) {
        throw Refusal{kExitNoKeyboard, {}};
    }
    const device::TransferLink link = keyboard_->Transfer();
    auto contents = device::ReadBackContents(link);
    if (!contents) {
        throw Refusal{kExitFailed, "the keyboard's content could not be read back"};
    }
    profiles::InstallProfileContents(std::move(*contents));
    defaultProfile_ = link.currentProfile.Get();
}

std::string ProfileSession::TargetName() const {
    return file_ ? *file_ : "the keyboard";
}

bool ProfileSession::KeyboardHasPosition(int entryIndex) const {
    if (file_) {
        return true;
    }
    const device::KeyLayout layout = keyboard_->Transfer().defaultLayout;
    for (std::size_t position = 0; position < device::kLayoutPositions; ++position) {
        if (device::EntryOfPosition(layout, position) == entryIndex) {
            return true;
        }
    }
    return false;
}

void ProfileSession::Write(std::optional<int> profile) {
    if (file_) {
        if (!profiles::SaveImageToFile(*file_)) {
            throw Refusal{kExitFailed, "cannot write " + *file_};
        }
        context_.Out() << *file_ << ": written\n";
        return;
    }
    const device::TransferLink link = keyboard_->Transfer();
    const keyboard::ImageGuard imageLock = keyboard::Images().LockImage();
    const device::DownloadResult downloaded =
        device::SnapshotAndDownloadProfile(imageLock, profile.value_or(defaultProfile_), link);
    WriteTransferNotices(context_.Err(), downloaded.notices);
    if (!downloaded.Succeeded()) {
        throw Refusal{kExitFailed, "the download to the keyboard failed"};
    }
    const bool stored = profiles::SaveImageToStore(imageLock) == 1;
    context_.Out() << "keyboard: downloaded; profile store: "
                   << (stored ? "saved" : "not present, not written") << '\n';
}

}  // namespace qx::ctl
