// Which picture the tray icon shows. The device connection reports the keyboard's presence
// (mode 0 with the icon of "keyboard attached" or "no keyboard") and short activity (mode 1);
// the main window owns one TrayIconState and lets it decide, so a passing activity indicator
// always falls back to the presence picture. Qt-free; user-interface thread only.
#pragma once

#include <functional>

#include "device/connection/connection_host.h"

namespace qx::widgets {

class TrayIconState {
  public:
    // `setIcon` changes the tray's picture (CTrayIcon::SetIcon) to the icon resource given.
    explicit TrayIconState(std::function<void(int iconId)> setIcon);

    // Changes the picture only when `iconId` differs from the one shown.
    void SetTrayIcon(int iconId);
    // Mode 0 with an icon: show it and remember it as the base icon; mode 0 with icon 0: show
    // the base icon again; mode 1: show the indicator icon (142). Other modes change nothing.
    void SetTrayState(int mode, int iconId);
    // The exit sequence forgets the icon shown (the tray icon is gone).
    void ForgetCurrentIcon() { currentIcon_ = 0; }

    [[nodiscard]] int CurrentIcon() const { return currentIcon_; }
    [[nodiscard]] int BaseIcon() const { return baseIcon_; }

  private:
    std::function<void(int)> setIcon_;
    int currentIcon_ = device::kIconNoKeyboard;  // the tray starts with the program's icon
    int baseIcon_ = device::kIconNoKeyboard;
};

}  // namespace qx::widgets
