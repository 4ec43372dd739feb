#include "keyboard/image_holders.h"

#include <stdexcept>

namespace qx::keyboard {

ImageGuard ImageStore::LockImage() {
    return ImageGuard(*this, imageLock_, live_);
}

SnapshotGuard ImageStore::LockSnapshot(const ImageGuard& imageLockHeld) {
    if (imageLockHeld.store_ != this || !imageLockHeld.lock_.owns_lock()) {
        throw std::logic_error("the snapshot lock needs the image lock of the same store");
    }
    return SnapshotGuard(snapshotLock_, snapshot_);
}

void ImageStore::Reset() {
    ImageGuard image = LockImage();
    image->texts.ClearAll();
    image->image.reset();
    image->macros.clear();
    image->macros.shrink_to_fit();
    SnapshotGuard snapshot = LockSnapshot(image);
    snapshot->image.reset();
    snapshot->macros.clear();
    snapshot->macros.shrink_to_fit();
    snapshot->textArea.clear();
    snapshot->textArea.shrink_to_fit();
}

ImageStore& Images() {
    static ImageStore store;
    return store;
}

}  // namespace qx::keyboard
