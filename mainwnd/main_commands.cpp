// The main window's commands: button clicks, menu items and the tray's commands all arrive
// here by their id.
#include <QCursor>

#include "device/connection/device_session.h"
#include "keyboard/key_buttons.h"
#include "lighting/panel/lighting_panel.h"
#include "mainwnd/flip_state.h"
#include "mainwnd/main_ids.h"
#include "mainwnd/quilvane_dlg.h"
#include "platform/system_messages.h"
#include "skin/png_button.h"
#include "widgets/about_dlg.h"
#include "widgets/profile_menu.h"

namespace qx::mainwnd {

void CQuilvaneDlg::OnCommand(int commandId) {
    if (ended_) {
        return;
    }
    if (IsKeyClickButton(commandId)) {
        OnKeyClick(commandId);
        return;
    }
    if (commandId >= kCmdProfileMenuFirst && commandId <= kCmdProfileMenuLast) {
        profileSwitch_.SelectOnboardProfile(commandId - kCmdProfileMenuBase);
        return;
    }
    for (std::size_t i = 0; i < kIdProfileButtons.size(); ++i) {
        if (commandId == kIdProfileButtons[i]) {
            profileSwitch_.OnProfileButton(static_cast<int>(i));
            return;
        }
    }
    for (std::size_t i = 0; i < kReportRateButtonIds.size(); ++i) {
        if (commandId == kReportRateButtonIds[i]) {
            OnReportRate(static_cast<int>(i));
            return;
        }
    }
    switch (commandId) {
        case kIdOk:
            OnOK();
            break;
        case kIdCancel:
            OnCancel();
            break;
        case kIdFn:
            OnFnClick();
            break;
        case kIdProfiles:
            ShowProfileManager();
            break;
        case kIdApply:
            OnApply();
            break;
        case kIdMacro:
            OnKeyClick(kIdMacroOnlyGKey);
            break;
        case kIdTest:
            SendTestCommand();
            break;
        case kIdProfileMenu:
            PopUpProfileMenu();
            break;
        case kIdWebLink:
        case kIdFacebookLink:
        case kIdTwitterLink:
            OpenLink(commandId);
            break;
        case kIdHelp:
            options_.openHelp();
            break;
        case kIdMinimize:
            messages_->PostWindowMessage(platform::kSysCommandMessage, kSysCommandMinimize, 0);
            break;
        case kIdClose:
        case kCmdExit:
        case kCmdMenuExit:
            RunExitSequence();
            break;
        case kIdFlip1:
        case kIdFlip2:
            ToggleFlipSetting();
            break;
        case kIdDefault:
            OnDefaults();
            break;
        case kIdMenu:
            OnMenuButton();
            break;
        case kCmdRestore:
            OnRestoreProfileFile();
            break;
        case kCmdBackup:
            OnBackupProfileFile();
            break;
        case kCmdOpen:
            OnShowRequest();
            break;
        case kCmdAbout:
            OpenAboutWindow();
            break;
        case kCmdFirmwareUpdate:
            ShowFirmwareUpdate();
            break;
        default:
            // The bank indicator (1128) and everything else: nothing.
            break;
    }
}

void CQuilvaneDlg::OnSysCommand(int command) {
    if (command == kCmdAboutSystem) {
        OpenAboutWindow();
    } else if (command == kSysCommandMinimize) {
        showMinimized();
    }
}

// A key of the keyboard view: with the lighting switch on it lights or darkens the key in the
// per-key mode; otherwise it opens the key's assignment.
void CQuilvaneDlg::OnKeyClick(int controlId) {
    if (!lighting_->Panel().HandleKeyClick(controlId)) {
        keyAssignment_.Open(controlId);
    }
}

// Fn has no assignment of its own: only its light, while the lighting switch is on.
void CQuilvaneDlg::OnFnClick() {
    lighting_->Panel().HandleKeyClick(kIdFn);
}

void CQuilvaneDlg::OpenLink(int controlId) {
    const std::string target = LinkTargetOf(links_, controlId);
    if (!target.empty()) {
        options_.openUrl(QString::fromStdString(target));
    }
}

void CQuilvaneDlg::SendTestCommand() {
    if (session_ != nullptr) {
        session_->Commands().SendTestCommand();
    }
}

void CQuilvaneDlg::PopUpProfileMenu() {
    if (!profileMenu_) {
        return;
    }
    if (options_.trackProfileMenu) {
        options_.trackProfileMenu(*profileMenu_);
        return;
    }
    profileMenu_->Track(QCursor::pos());
}

void CQuilvaneDlg::ToggleFlipSetting() {
    layout_.ApplyFlipState(ToggleFlip());
}

void CQuilvaneDlg::OpenAboutWindow() {
    widgets::ShowAboutWindow(this);
}

}  // namespace qx::mainwnd
