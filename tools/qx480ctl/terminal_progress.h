// A transfer's progress as one line on the error stream, redrawn in place while the packets go:
// "Writing to the keyboard [############------------]  50%". qx480ctl shows it only when the
// error stream is a terminal, so scripts and logs see nothing of it.
#pragma once

#include <iosfwd>
#include <string>
#include <utility>

#include "device/transfer/transfer_progress.h"

namespace qx::ctl {

class TerminalProgress final : public device::TransferProgress {
  public:
    TerminalProgress(std::ostream& out, std::string label) : out_(out), label_(std::move(label)) {}
    // A line a failed transfer left open is ended, so what is written next starts a line.
    ~TerminalProgress();
    TerminalProgress(const TerminalProgress&) = delete;
    TerminalProgress& operator=(const TerminalProgress&) = delete;

    // Redraws the line when the percentage changed; ends it at 100%.
    void Advanced(std::size_t done, std::size_t total) override;

  private:
    std::ostream& out_;
    std::string label_;
    int shownPercent_ = -1;
    bool lineOpen_ = false;
};

}  // namespace qx::ctl
