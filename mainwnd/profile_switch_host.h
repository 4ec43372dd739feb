// What the profile switch needs of the main window: the lighting panel, the profile buttons, the
// key buttons, the profile menu, the pending-changes state and the messages held while it asks.
// Every part must be set. Qt-free, so the switch can be tested without a window.
#pragma once

#include <functional>

#include "keyassign/key_location.h"

namespace qx::device {
class DeviceSession;
}

namespace qx::mainwnd {

struct ProfileSwitchHost {
    // The lighting panel shows `profile`'s lighting as the keyboard holds it now.
    std::function<void(int profile)> showLightingOf;
    // The lighting panel's switch goes off (key clicks assign keys again).
    std::function<void()> switchLightingOff;
    // The profile button of `profile` is marked, the others not (none for -1).
    std::function<void(int profile)> markProfileButton;
    // The key buttons show the assignments of `selection` (called under the image lock).
    std::function<void(const keyassign::BlockSelection& selection)> refreshKeyButtons;
    // The profile menu is filled again and checks the active profile.
    std::function<void()> rebuildProfileMenu;
    // The pending-changes state the Apply button shows.
    std::function<bool()> hasPendingChanges;
    std::function<void(bool pending)> setPendingChanges;
    // Apply, as the window's own Apply command runs it.
    std::function<void()> applyPendingChanges;
    // The messages held while the question about pending changes was open may go on.
    std::function<void()> releaseHeldMessages;
    // True once the exit sequence has begun.
    std::function<bool()> isEnding;
    // Runs `job` (a read of the keyboard) on the transfer thread while the window keeps handling
    // events in the busy state; returns when the job has ended.
    std::function<void(const std::function<void()>& job)> runTransfer;
    // The running device session; null before the start-up made it and after the exit.
    std::function<device::DeviceSession*()> session;
};

}  // namespace qx::mainwnd
