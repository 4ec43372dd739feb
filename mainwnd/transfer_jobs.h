// The two long transfers of the main window, as they run on the transfer thread: Apply (the live
// image saved to the profile store and the current profile downloaded) and the import of a
// profile file already validated (loaded as the live image, saved to the store, all three
// profiles downloaded). Each holds the image lock for its whole run and takes it once. Qt-free;
// nothing here touches a window: what the user must be told comes back with the outcome, for
// the window's thread to show once the transfer is over.
#pragma once

#include <string>

#include "device/link/result_codes.h"
#include "device/transfer/image_transfer.h"
#include "platform/prompt.h"

namespace qx::mainwnd {

struct ApplyOutcome {
    bool applied = false;  // both the store was written and the download succeeded
    device::TransferNotices notices;
};

ApplyOutcome ApplyImageToKeyboard(const device::TransferLink& link);

struct ImportOutcome {
    bool loaded = false;  // the file became the live image (false: the image is unchanged)
    int storeSaved = 0;
    int download = 0;
    device::TransferNotices notices;
    // The keyboard holds the file's profiles.
    [[nodiscard]] bool Sent() const { return download == device::kOk; }
};

// Loads the file as the live image (image, macros and texts together, or nothing), then saves it
// to the store and downloads all three profiles.
ImportOutcome ImportImageToKeyboard(const std::string& path, const device::TransferLink& link);

// One message box per notice, in their order, in the language's texts.
void ShowTransferNotices(const device::TransferNotices& notices, platform::Prompt& prompt);

}  // namespace qx::mainwnd
