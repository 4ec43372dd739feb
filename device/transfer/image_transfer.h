// Downloading the configuration image to the keyboard: the snapshot of the live image, the
// macro table and the key layouts of one or all onboard profiles in one write transaction.
//
// Locks: the caller holds the image lock (the guard proves it); the download takes the
// snapshot lock inside it, and the macro position lookup re-enters the image lock on the same
// thread.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "device/connection/current_profile.h"
#include "device/connection/default_key_layout.h"
#include "device/link/device_commands.h"
#include "device/transfer/transfer_progress.h"
#include "keyboard/image_holders.h"

namespace qx::device {

class DeviceSession;

// What a transfer needs of the keyboard: its commands, the current-profile cache, and what the
// connection read at attach (macro capacity, default key layout), and who is told how far a
// download or read-back has come (nobody by default).
struct TransferLink {
    DeviceCommands& commands;
    device::CurrentProfileCache& currentProfile;
    uint32_t macroCapacity = 0;
    KeyLayout defaultLayout = kBuiltInDefaultLayout;
    TransferProgress* progress = nullptr;
};

// A message the user must see about a transfer: the language key of its text, and whether its
// box stays above every other window. The transfer shows nothing itself; whoever started it
// (the main window, qx480ctl) tells the user, after the transfer and in this order.
struct TransferNotice {
    std::string_view textKey;
    bool topmost = false;
    bool operator==(const TransferNotice&) const = default;
};
using TransferNotices = std::vector<TransferNotice>;

// What a download did: 1 success, 0 failure, and what the user must be told of it.
struct DownloadResult {
    int result = 0;
    TransferNotices notices;
    [[nodiscard]] bool Succeeded() const { return result == 1; }
};

// The link of a running session, with its connection's capacity and layout as they are now.
TransferLink TransferLinkOf(DeviceSession& session);

// The rewrite-all flag: set by the macro editor when a deleted macro was assigned to keys; the
// next download then covers all three profiles. Cleared by every download that passes the
// size check.
void SetRewriteAll();
bool IsRewriteAllSet();

// Copies the live image into the snapshot (header refreshed with the live macro count, text
// total and flag 0), the macro area with it, packs the texts into the snapshot's text area
// (writing their offsets into the live entries) and runs DownloadImage.
DownloadResult SnapshotAndDownload(const keyboard::ImageGuard& imageLock, bool allProfiles,
                                   const TransferLink& link);

// The same through the running device session (result 0 when there is none).
DownloadResult SnapshotAndDownload(const keyboard::ImageGuard& imageLock, bool allProfiles);

// SnapshotAndDownload with the layout of `profile` (0..2) in place of the current profile's, for
// an edit of a profile that is not the active one. All three layouts still go when the
// rewrite-all flag is set or the table moves a macro the keyboard holds.
DownloadResult SnapshotAndDownloadProfile(const keyboard::ImageGuard& imageLock, int profile,
                                          const TransferLink& link);

// Writes the snapshot to the keyboard: the macro table (with names when they fit the macro
// capacity, else without, noting "EXTRA_PROFILE_SPACE_TIGHT" topmost; "EXTRA_MACRO_TOO_LONG"
// topmost and nothing written when even that does not fit), then the layout of each profile in
// ascending order, in one write transaction. Only the last layout write decides the result.
// A single-profile download covers all three profiles when the rewrite-all flag is set, and
// when the table moves a macro the keyboard holds (or what it holds is not known: see
// device/transfer/keyboard_macros.h). One whose current profile is unknown has its layout write
// refused.
DownloadResult DownloadImage(const keyboard::ImageGuard& imageLock,
                             const keyboard::SnapshotGuard& snapshot, bool allProfiles,
                             const TransferLink& link);

}  // namespace qx::device
