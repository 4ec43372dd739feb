// What the profile manager asks of the main window: the refresh after it changed the active
// onboard profile, the pending-changes state and the help page. The main window implements it;
// the manager never sees the window itself.
#pragma once

namespace qx::profiles::manager {

class ProfileManagerHost {
  public:
    virtual ~ProfileManagerHost() = default;

    // Rebuilds the live image from the keyboard's content through the profile store (a default
    // image when that fails) and refreshes the key buttons; clears the pending-changes state
    // unless `keepPending`.
    virtual void ReloadImageFromKeyboard(bool keepPending) = 0;
    // The refresh every change of the current profile ends in: lighting and profile buttons when
    // the keyboard has `profile` now (-1: none was selected), the key buttons, the profile menu
    // and the profile button's text.
    virtual void RefreshAfterProfileSwitch(int profile) = 0;
    // The main window's pending-changes state (its Apply button).
    virtual void SetApplyEnabled(bool enabled) = 0;
    // Opens the program's help, as F1 in the main window does.
    virtual void OpenHelp() = 0;
};

}  // namespace qx::profiles::manager
