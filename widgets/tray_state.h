// Which picture the tray icon shows. The main window reports the keyboard's presence (mode 0
// with the icon of "keyboard attached" or "no keyboard") and short activity (mode 1); it owns
// one TrayIconState and lets it decide, so a passing activity indicator always falls back to the
// presence picture. Qt-free; user-interface thread only.
#pragma once

#include <functional>


namespace qx::widgets {

// Tray states: mode 0 with an icon sets it as the base icon, mode 0 with icon 0 restores the
// base icon, mode 1 shows the indicator icon.
inline constexpr int kTrayModeBase = 0;
inline constexpr int kTrayModeIndicator = 1;
inline constexpr int kIconRestoreBase = 0;
// The icon resources: the program and "no keyboard", "keyboard attached", the indicator.
inline constexpr int kIconNoKeyboard = 128;
inline constexpr int kIconKeyboard = 141;
inline constexpr int kIconIndicator = 142;

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
    int currentIcon_ = kIconNoKeyboard;  // the tray starts with the program's icon
    int baseIcon_ = kIconNoKeyboard;
};

}  // namespace qx::widgets
