// The two holders of the configuration image: the live one that every window edits and the
// snapshot that a download converts. Each has its own lock; both are re-entrant.
//
// Lock order: the image lock, then the snapshot lock, never the other way round. The snapshot
// lock can only be taken by showing the ImageGuard of the same store, so code that tries to take
// it first does not compile.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "keyboard/image_record.h"
#include "keyboard/macro_record.h"
#include "keyboard/text_table.h"

namespace qx::keyboard {

// The live holder: the image record (null while released), the macro area (0..100 records,
// their count is the macro count) and the text table.
struct LiveImage {
    std::unique_ptr<ImageRecord> image;
    std::vector<MacroRecord> macros;
    TextTable texts;

    uint16_t MacroCount() const { return static_cast<uint16_t>(macros.size()); }
    uint32_t TextTotal() const { return texts.Total(); }
};

// The snapshot holder: copies made for a download, with the texts packed into one area.
struct SnapshotImage {
    std::unique_ptr<ImageRecord> image;
    std::vector<MacroRecord> macros;
    std::vector<uint8_t> textArea;

    uint16_t MacroCount() const { return static_cast<uint16_t>(macros.size()); }
    uint32_t TextTotal() const { return static_cast<uint32_t>(textArea.size()); }
};

class ImageStore;

// Holds the image lock for its lifetime; the live holder is reachable only through it.
class ImageGuard {
  public:
    ImageGuard(ImageGuard&&) noexcept = default;
    ImageGuard& operator=(ImageGuard&&) noexcept = default;

    LiveImage& Live() const { return *live_; }
    LiveImage* operator->() const { return live_; }

  private:
    friend class ImageStore;
    ImageGuard(ImageStore& store, std::recursive_mutex& lock, LiveImage& live)
        : store_(&store), lock_(lock), live_(&live) {}

    ImageStore* store_;
    std::unique_lock<std::recursive_mutex> lock_;
    LiveImage* live_;
};

// Holds the snapshot lock for its lifetime; the snapshot holder is reachable only through it.
class SnapshotGuard {
  public:
    SnapshotGuard(SnapshotGuard&&) noexcept = default;
    SnapshotGuard& operator=(SnapshotGuard&&) noexcept = default;

    SnapshotImage& Snapshot() const { return *snapshot_; }
    SnapshotImage* operator->() const { return snapshot_; }

  private:
    friend class ImageStore;
    SnapshotGuard(std::recursive_mutex& lock, SnapshotImage& snapshot)
        : lock_(lock), snapshot_(&snapshot) {}

    std::unique_lock<std::recursive_mutex> lock_;
    SnapshotImage* snapshot_;
};

class ImageStore {
  public:
    ImageStore() = default;
    ImageStore(const ImageStore&) = delete;
    ImageStore& operator=(const ImageStore&) = delete;

    // Takes the image lock (re-entrant: the same thread may take it again).
    ImageGuard LockImage();

    // Takes the snapshot lock. The guard proves the image lock of this store is held; a guard of
    // another store throws std::logic_error.
    SnapshotGuard LockSnapshot(const ImageGuard& imageLockHeld);

    // Frees everything both holders keep (texts, text table, image records, macro areas), each
    // under its lock in the lock order. Used at shutdown and by tests.
    void Reset();

  private:
    std::recursive_mutex imageLock_;
    LiveImage live_;
    std::recursive_mutex snapshotLock_;
    SnapshotImage snapshot_;
};

// The process-wide holders.
ImageStore& Images();

}  // namespace qx::keyboard
