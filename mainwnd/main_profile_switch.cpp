// The window as the host of its profile switch (mainwnd/profile_switch.h): the lighting panel,
// the profile buttons, the key buttons, the profile menu and the pending-changes state it
// reaches, and the messages it holds back while it asks about pending changes.
#include "lighting/panel/lighting_panel.h"
#include "mainwnd/main_ids.h"
#include "mainwnd/quilvane_dlg.h"
#include "platform/system_messages.h"
#include "skin/png_button.h"

namespace qx::mainwnd {

ProfileSwitchHost CQuilvaneDlg::MakeProfileSwitchHost() {
    ProfileSwitchHost host;
    host.showLightingOf = [this](int profile) { lighting_->ShowLightingOf(profile); };
    host.switchLightingOff = [this] { lighting_->Panel().SetSwitch(false); };
    host.markProfileButton = [this](int profile) {
        for (std::size_t i = 0; i < kIdProfileButtons.size(); ++i) {
            Button(kIdProfileButtons[i])->SetMarked(static_cast<int>(i) == profile);
        }
    };
    host.refreshKeyButtons = [this](const keyassign::BlockSelection& selection) {
        keyView_.RefreshKeyButtons(selection);
    };
    host.rebuildProfileMenu = [this] { RebuildProfileMenu(false); };
    host.hasPendingChanges = [this] { return applyEnabled_; };
    host.setPendingChanges = [this](bool pending) { SetApplyEnabled(pending); };
    // Through the window's own command, so that Apply runs as its button runs it.
    host.applyPendingChanges = [this] {
        messages_->SendWindowMessage(platform::kCommandMessage, kIdApply, 0);
    };
    host.releaseHeldMessages = [this] { busy_.PostHeldMessages(); };
    host.isEnding = [this] { return exitStarted_; };
    host.runTransfer = [this](const std::function<void()>& job) { busy_.RunTransfer(job); };
    host.session = [this] { return session_; };
    return host;
}

}  // namespace qx::mainwnd
