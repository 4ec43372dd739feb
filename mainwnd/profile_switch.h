// The switch of the keyboard's active onboard profile, as the profile buttons, the profile menu,
// the keyboard's profile read and the profile manager ask for it: the checks that guard it (not
// while a key is being assigned, not without asking while changes are pending), the discard of
// pending changes, the live image read back from the keyboard, and the one refresh every path
// that changes the current profile ends in. It reaches the window only through its
// ProfileSwitchHost and the sub-window list. Qt-free.
#pragma once

#include "mainwnd/profile_switch_host.h"

namespace qx::mainwnd {

class SubWindowList;

class ProfileSwitch {
  public:
    ProfileSwitch(ProfileSwitchHost host, const SubWindowList& subWindows);

    // Profile1..3: the panel shows the lighting of `profile` first, whatever follows; the switch
    // is made only when the keyboard is on another profile.
    void OnProfileButton(int profile);
    // Switches the keyboard's active onboard profile (>= 3 counts as 0; negative: no select is
    // sent), after the checks and the question about pending changes. 1 when the switch was
    // made; 0 when it was refused or the keyboard did not take it.
    int SelectOnboardProfile(int profile);
    // 'PROF': the keyboard was read; the image comes back from it and the profile buttons, the
    // lighting, the key buttons and the menu follow the profile it has.
    void AfterProfileRead();
    // Rebuilds the live image from the keyboard's content through the profile store, or installs
    // the last good store or a default image when that fails; refreshes the key buttons; clears
    // the pending state unless `keepPending`.
    void ReloadImageFromKeyboard(bool keepPending);
    // When the keyboard took the switch to `profile`, its lighting is read and shown and its
    // profile button marked; otherwise (-1: the default item) the lighting stays on the profile
    // it had. Then, under the image lock, the key buttons from the block of the keyboard's
    // current profile, and the profile menu.
    void RefreshAfterProfileSwitch(int profile);
    // True while the question about pending changes is open: other switches are refused, and
    // the keyboard's profile read and departure wait.
    [[nodiscard]] bool IsAsking() const { return asking_; }

  private:
    bool AskAboutPendingChanges();
    void DiscardPendingChanges();

    ProfileSwitchHost host_;
    const SubWindowList& subWindows_;
    bool asking_ = false;
};

}  // namespace qx::mainwnd
