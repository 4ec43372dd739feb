// How far a transfer with the keyboard has come, counted in the packets of its data (the key
// layouts and the macro table): a three-profile download takes a visible moment on a real
// keyboard, and qx480ctl shows it on a terminal.
#pragma once

#include <cstddef>

#include "device/link/device_commands.h"

namespace qx::device {

class TransferProgress {
  public:
    // After each data packet that went through: `done` of the `total` the transfer takes. A
    // transfer that fails stops short of its total. A read-back learns the length of the macro
    // table on the way and tells its total again then, with the same `done`.
    virtual void Advanced(std::size_t done, std::size_t total) = 0;

  protected:
    ~TransferProgress() = default;
};

// The packets of one transfer, counted for its progress; with no progress to tell it counts
// nothing and hands out empty callbacks.
class ProgressCount {
  public:
    ProgressCount(TransferProgress* progress, std::size_t total)
        : progress_(progress), total_(total) {}

    // The callback a chunked command calls after each of its packets.
    PieceDone Piece();
    // The transfer turned out to take `total` packets in all.
    void SetTotal(std::size_t total);
    std::size_t Done() const { return done_; }

  private:
    TransferProgress* progress_;
    std::size_t total_;
    std::size_t done_ = 0;
};

}  // namespace qx::device
