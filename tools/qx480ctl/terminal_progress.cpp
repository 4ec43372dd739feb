#include "tools/qx480ctl/terminal_progress.h"

#include <algorithm>
#include <iomanip>
#include <ostream>

namespace qx::ctl {
namespace {

constexpr int kBarWidth = 24;

}  // namespace

TerminalProgress::~TerminalProgress() {
    if (lineOpen_) {
        out_ << '\n' << std::flush;
    }
}

void TerminalProgress::Advanced(std::size_t done, std::size_t total) {
    const std::size_t part = std::min(done, total);
    const int percent = total == 0 ? 100 : static_cast<int>(part * 100 / total);
    if (percent == shownPercent_) {
        return;
    }
    shownPercent_ = percent;
    const int filled = percent * kBarWidth / 100;
    out_ << '\r' << label_ << " [" << std::string(static_cast<std::size_t>(filled), '#')
         << std::string(static_cast<std::size_t>(kBarWidth - filled), '-') << "] " << std::setw(3)
         << percent << '%';
    lineOpen_ = percent < 100;
    if (!lineOpen_) {
        out_ << '\n';
    }
    out_ << std::flush;
}

}  // namespace qx::ctl
