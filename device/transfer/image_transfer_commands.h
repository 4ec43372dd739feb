// The two user commands that send the whole configuration: Apply (the current profile) and the
// import of a profile file (all three profiles). The main window and qx480ctl both run these.
#pragma once

#include <functional>
#include <string>

#include "device/transfer/image_transfer.h"

namespace qx::device {

struct ImportResult {
    int validation = 0;  // ValidateProfileFile: 1 valid, 0 refused, -2 cannot open, -3 memory
    bool loaded = false;
    int storeSaved = 0;       // SaveImageToStore: 0 also when there is no store yet
    int download = 0;         // SnapshotAndDownload of all profiles
    TransferNotices notices;  // the download's, then "MAIN_PROMPT_INPORT" for a file not taken
    bool Succeeded() const { return loaded && download == 1; }
};

// Validates the file; only a valid one is loaded, under the image lock, as the live image
// (image, macros and texts replaced together; a load that fails leaves the old image), saved to
// the profile store and downloaded for all three profiles. `whileLocked` runs before the lock
// is left (the main window refreshes its key buttons there). A file that is not valid, or that
// cannot be loaded, ends with the notice "MAIN_PROMPT_INPORT".
ImportResult ImportProfileFile(const std::string& path, const TransferLink& link,
                               const std::function<void()>& whileLocked = {});

// Apply: under the image lock, the live image is saved to the profile store (when there is
// one) and the current profile downloaded. The download's result.
DownloadResult ApplyToKeyboard(const TransferLink& link);

}  // namespace qx::device
