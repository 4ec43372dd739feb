#include "device/transfer/transfer_progress.h"

namespace qx::device {

PieceDone ProgressCount::Piece() {
    if (progress_ == nullptr) {
        return {};
    }
    return [this] { progress_->Advanced(++done_, total_); };
}

void ProgressCount::SetTotal(std::size_t total) {
    total_ = total;
    if (progress_ != nullptr) {
        progress_->Advanced(done_, total_);
    }
}

}  // namespace qx::device
