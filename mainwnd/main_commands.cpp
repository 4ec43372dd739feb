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
    if (!OnCommandInRange(commandId) && !OnWindowButton(commandId)) {
        OnMenuCommand(commandId);
    }
}

// The commands that come in families: the key buttons, the profile menu's items, the profile
// buttons and the report-rate buttons.
bool CQuilvaneDlg::OnCommandInRange(int commandId) {
    if (IsKeyClickButton(commandId)) {
        OnKeyClick(commandId);
        return true;
    }
    if (commandId >= kCmdProfileMenuFirst && commandId <= kCmdProfileMenuLast) {
        profileSwitch_.SelectOnboardProfile(commandId - kCmdProfileMenuBase);
        return true;
    }
    for (std::size_t i = 0; i < kIdProfileButtons.size(); ++i) {
        if (commandId == kIdProfileButtons[i]) {
            profileSwitch_.OnProfileButton(static_cast<int>(i));
            return true;
        }
    }
    for (std::size_t i = 0; i < kReportRateButtonIds.size(); ++i) {
        if (commandId == kReportRateButtonIds[i]) {
            OnReportRate(static_cast<int>(i));
            return true;
        }
    }
    return false;
}

// The window's own buttons, one each.
bool CQuilvaneDlg::OnWindowButton(int commandId) {
    switch (commandId) {
        case kIdOk:
            OnOK();
            return true;
        case kIdCancel:
            OnCancel();
            return true;
        case kIdFn:
            OnFnClick();
            return true;
        case kIdProfiles:
            ShowProfileManager();
            return true;
        case kIdApply:
            OnApply();
            return true;
        case kIdMacro:
            OnKeyClick(kIdMacroOnlyGKey);
            return true;
        case kIdTest:
            SendTestCommand();
            return true;
        case kIdProfileMenu:
            PopUpProfileMenu();
            return true;
        case kIdWebLink:
        case kIdFacebookLink:
        case kIdTwitterLink:
            OpenLink(commandId);
            return true;
        case kIdHelp:
            options_.openHelp();
            return true;
        case kIdMinimize:
            messages_->PostWindowMessage(platform::kSysCommandMessage, kSysCommandMinimize, 0);
            return true;
        case kIdClose:
            RunExitSequence();
            return true;
        case kIdFlip1:
        case kIdFlip2:
            ToggleFlipSetting();
            return true;
        case kIdDefault:
            OnDefaults();
            return true;
        case kIdMenu:
            OnMenuButton();
            return true;
        default:
            return false;
    }
}

// The items of the menu button's and the tray's menus, and what the other instance asks.
void CQuilvaneDlg::OnMenuCommand(int commandId) {
    switch (commandId) {
        case kCmdExit:
        case kCmdMenuExit:
            RunExitSequence();
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
