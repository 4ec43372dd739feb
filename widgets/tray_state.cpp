#include "widgets/tray_state.h"

#include <utility>

namespace qx::widgets {

TrayIconState::TrayIconState(std::function<void(int iconId)> setIcon)
    : setIcon_(std::move(setIcon)) {}

void TrayIconState::SetTrayIcon(int iconId) {
    if (iconId == currentIcon_) {
        return;
    }
    currentIcon_ = iconId;
    if (setIcon_) {
        setIcon_(iconId);
    }
}

void TrayIconState::SetTrayState(int mode, int iconId) {
    if (mode == kTrayModeBase) {
        if (iconId != kIconRestoreBase) {
            baseIcon_ = iconId;
            SetTrayIcon(iconId);
        } else {
            SetTrayIcon(baseIcon_);
        }
    } else if (mode == kTrayModeIndicator) {
        SetTrayIcon(kIconIndicator);
    }
}

}  // namespace qx::widgets
