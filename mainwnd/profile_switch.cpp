#include "mainwnd/profile_switch.h"

#include <string>
#include <utility>

#include "device/connection/current_profile.h"
#include "device/connection/device_connection.h"
#include "device/transfer/image_transfer.h"
#include "device/transfer/read_back.h"
#include "keyboard/image_holders.h"
#include "lang/language.h"
#include "lang/language_keys.h"
#include "mainwnd/sub_windows.h"
#include "platform/prompt.h"
#include "profiles/profile_file.h"

namespace qx::mainwnd {
namespace {

bool IsOnboardProfile(int profile) {
    return profile >= 0 && profile < keyboard::kProfileCount;
}

}  // namespace

ProfileSwitch::ProfileSwitch(ProfileSwitchHost host, const SubWindowList& subWindows)
    : host_(std::move(host)), subWindows_(subWindows) {}

// The buttons change only when the keyboard took the switch (the refresh at its end marks them).
// While the question about pending changes is open, another switch is refused.
void ProfileSwitch::OnProfileButton(int profile) {
    if (asking_) {
        return;
    }
    host_.showLightingOf(profile);
    host_.switchLightingOff();
    if (device::GetCurrentProfile() == profile) {
        return;
    }
    SelectOnboardProfile(profile);
}

// A result of 1 means the keyboard has the profile now: a select the keyboard did not take (the
// index stays unknown, or the old one) is a refused switch too, after the same refresh. A switch
// asked for while the question about pending changes is open is refused without a word: the
// switch that asks goes on once it is answered.
int ProfileSwitch::SelectOnboardProfile(int profile) {
    if (asking_) {
        return 0;
    }
    if (profile >= keyboard::kProfileCount) {
        profile = 0;
    }
    if (subWindows_.IsOpen(kKeyAssignmentName)) {
        platform::CurrentPrompt().ShowMessage(lang::LangText(lang::kProfileSeelctPrompt2));
        return 0;
    }
    if (host_.hasPendingChanges() || subWindows_.AnyHasChanges()) {
        const bool keep = AskAboutPendingChanges();
        if (host_.isEnding()) {
            return 0;  // the program ended while the question was open
        }
        if (keep) {
            host_.applyPendingChanges();
        } else {
            DiscardPendingChanges();
        }
        device::SetCurrentProfile(profile);
    } else {
        device::SetCurrentProfile(profile);
        subWindows_.NotifyProfileSwitched(profile);
    }
    RefreshAfterProfileSwitch(profile);
    const bool taken = profile < 0 || device::CurrentProfile().Cached() == profile;
    return taken ? 1 : 0;
}

// The profile buttons show the active profile (none while it is unknown) before the refresh.
void ProfileSwitch::AfterProfileRead() {
    ReloadImageFromKeyboard(false);
    const int profile = device::GetCurrentProfile();
    host_.markProfileButton(profile);
    RefreshAfterProfileSwitch(profile);
}

// The keyboard's content becomes the profile store, and the store the live image; a keyboard
// that cannot be read leaves the last good store (or, without one, a default image). The reads
// (some twenty exchanges) run on the transfer thread, so the window answers meanwhile.
void ProfileSwitch::ReloadImageFromKeyboard(bool keepPending) {
    profiles::EnsureDataFolder();
    const int profile = device::GetCurrentProfile();
    const std::string storePath = profiles::GetStorePath(profile);
    bool readBack = false;
    device::DeviceSession* session = host_.session();
    if (IsOnboardProfile(profile) && session != nullptr) {
        const device::TransferLink link = device::TransferLinkOf(*session);
        host_.runTransfer([&] { readBack = device::ReadBackToFile(storePath, link) == 1; });
    }
    device::InstallStoreAfterReadBack(storePath, readBack, [&] {
        host_.refreshKeyButtons(keyassign::BlockSelection{profile, device::GetGKeyBank()});
    });
    if (!keepPending) {
        host_.setPendingChanges(false);
    }
}

// Lighting and profile buttons follow a switch the keyboard took; after one it did not take
// (or the default item, -1) they stay as the path left them. The key buttons show the block of
// the profile the keyboard has now, and the menu checks it.
void ProfileSwitch::RefreshAfterProfileSwitch(int profile) {
    const bool taken = IsOnboardProfile(profile) && device::CurrentProfile().Cached() == profile;
    if (taken) {
        host_.showLightingOf(profile);
        host_.markProfileButton(profile);
    }
    {
        const keyboard::ImageGuard guard = keyboard::Images().LockImage();
        host_.refreshKeyButtons(keyassign::CurrentBlockSelection());
    }
    host_.rebuildProfileMenu();
}

// Yes keeps the pending changes (they are applied before the switch). While the question is
// open (its event loop runs), other switches are refused, and the keyboard's profile read and
// its departure wait for the answer: either would change the image under the question.
bool ProfileSwitch::AskAboutPendingChanges() {
    asking_ = true;
    const bool keep =
        platform::CurrentPrompt().AskYesNo(lang::LangText(lang::kProfileSelectPrompt));
    asking_ = false;
    host_.releaseHeldMessages();
    return keep;
}

// The live image goes back to the profile store, the copy of what the keyboard holds. A store
// that cannot be loaded leaves the edited image in place; the keyboard's content is then read
// back instead, so the discarded edits never stay behind a disabled Apply.
void ProfileSwitch::DiscardPendingChanges() {
    host_.setPendingChanges(false);
    const int profile = device::CurrentProfile().Cached();
    if (profile < 0 || profile >= keyboard::kProfileCount) {
        return;
    }
    bool loaded = false;
    {
        const keyboard::ImageGuard guard = keyboard::Images().LockImage();
        loaded = profiles::LoadImageFromFile(guard, profiles::GetStorePath(profile)) == 1;
    }
    if (!loaded) {
        ReloadImageFromKeyboard(false);
    }
}

}  // namespace qx::mainwnd
