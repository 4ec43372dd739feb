// The three profile buttons and the switch of the keyboard's active onboard profile, with the
// checks that guard it: not while a key is being assigned, and not without asking while changes
// are pending.
#include "device/connection/current_profile.h"
#include "keyboard/image_holders.h"
#include "lang/language.h"
#include "lang/language_keys.h"
#include "lighting/lighting_model.h"
#include "lighting/panel/lighting_panel.h"
#include "mainwnd/main_ids.h"
#include "mainwnd/quilvane_dlg.h"
#include "platform/prompt.h"
#include "platform/system_messages.h"
#include "profiles/profile_file.h"
#include "skin/png_button.h"

namespace qx::mainwnd {

// Profile1..3 (1135..1137). The panel shows the lighting of profile n first, whatever follows;
// the buttons change only when the keyboard took the switch (the refresh at its end marks them).
// While the question about pending changes is open, another switch is refused.
void CQuilvaneDlg::OnProfileButton(int profile) {
    if (askingSwitch_) {
        return;
    }
    if (lighting_) {
        lighting_->SetLightingProfile(profile);
        lighting_->ReadLightingState();
    }
    RefreshLightingPanel();
    panel_->SetSwitch(false);
    if (device::GetCurrentProfile() == profile) {
        return;
    }
    SelectOnboardProfile(profile);
}

// A result of 1 means the keyboard has the profile now: a select the keyboard did not take (the
// index stays unknown, or the old one) is a refused switch too, after the same refresh. A switch
// asked for while the question about pending changes is open is refused without a word: the
// switch that asks goes on once it is answered.
int CQuilvaneDlg::SelectOnboardProfile(int profile) {
    if (askingSwitch_) {
        return 0;
    }
    if (profile >= keyboard::kProfileCount) {
        profile = 0;
    }
    if (subWindows_.IsOpen(kKeyAssignmentName)) {
        platform::CurrentPrompt().ShowMessage(lang::LangText(lang::kProfileSeelctPrompt2));
        return 0;
    }
    if (applyEnabled_ || subWindows_.AnyHasChanges()) {
        const bool keep = AskAboutPendingChanges();
        if (exitStarted_) {
            return 0;  // the program ended while the question was open
        }
        if (keep) {
            messages_->SendWindowMessage(platform::kCommandMessage, kIdApply, 0);
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

// Yes keeps the pending changes (they are applied before the switch). While the question is
// open (its event loop runs), other switches are refused, and the keyboard's profile read and
// its departure wait for the answer: either would change the image under the question.
bool CQuilvaneDlg::AskAboutPendingChanges() {
    askingSwitch_ = true;
    const bool keep =
        platform::CurrentPrompt().AskYesNo(lang::LangText(lang::kProfileSelectPrompt));
    askingSwitch_ = false;
    PostHeldMessages();
    return keep;
}

// The live image goes back to the profile store, the copy of what the keyboard holds. A store
// that cannot be loaded leaves the edited image in place; the keyboard's content is then read
// back instead, so the discarded edits never stay behind a disabled Apply.
void CQuilvaneDlg::DiscardPendingChanges() {
    SetApplyEnabled(false);
    const int profile = device::CurrentProfile().Cached();
    if (profile < 0 || profile >= keyboard::kProfileCount) {
        return;
    }
    bool loaded = false;
    {
        const keyboard::ImageGuard guard = keyboard::Images().LockImage();
        loaded = profiles::LoadImageFromFile(profiles::GetStorePath(profile)) == 1;
    }
    if (!loaded) {
        ReloadImageFromKeyboard(false);
    }
}

}  // namespace qx::mainwnd
