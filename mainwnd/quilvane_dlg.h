// CQuilvaneDlg: the one main window of the driver. A skinned dialog that shows the keyboard as
// image buttons, the lighting panel and the profile, apply and report-rate buttons; it lives
// hidden in the notification area and shows itself only on a show request. Other processes,
// the device connection's threads, menus and the tray reach it through its message layer
// (private messages with four-character codes, commands as platform::kCommandMessage).
//
// One file per concern: quilvane_dlg.cpp (members, the ConnectionHost side), main_startup.cpp
// (OnInitDialog), main_messages.cpp (private messages, timers), main_commands.cpp (commands and
// key clicks), main_visibility.cpp (show requests, hiding, key filtering), main_exit.cpp (exit
// sequence and shutdown), main_profiles.cpp (the profile menu),
// main_busy.cpp (what the busy state holds back besides a transfer), main_apply.cpp (Apply, the
// default button, the report rate), main_profile_switch.cpp (the window as the profile switch's
// host), main_profile_files.cpp (the menu button, backup and restore), main_extension_points.cpp
// (the places later features fill in). Its parts: LightingLink (the lighting panel and its model),
// KeyAssignmentLink (the key assignment window), ProfileSwitch, BusyState (the busy state
// around a transfer: transfer thread, indicator, input refused, messages held back).
#pragma once

#include <QEventLoop>
#include <QString>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/main_window_port.h"
#include "mainwnd/busy_state.h"
#include "mainwnd/hover_groups.h"
#include "mainwnd/key_assignment_link.h"
#include "mainwnd/key_view.h"
#include "mainwnd/lighting_link.h"
#include "mainwnd/link_targets.h"
#include "mainwnd/main_connection_host.h"
#include "mainwnd/main_controls.h"
#include "mainwnd/main_layout.h"
#include "mainwnd/main_profile_manager.h"
#include "mainwnd/main_sheets.h"
#include "mainwnd/profile_switch.h"
#include "mainwnd/sub_windows.h"
#include "platform/message_window.h"
#include "skin/base_dialog.h"
#include "skin/picture_prefetch.h"
#include "widgets/tray_icon.h"

class QMenu;

namespace qx::device {
class DeviceSession;
}
namespace qx::lighting {
class LightingModel;
namespace panel {
class LightingPanel;
}
}  // namespace qx::lighting
namespace qx::keyassign::window {
class Quilvane_DlgComposite;
}
namespace qx::widgets {
class CProfileMenu;
class TrayIconState;
}  // namespace qx::widgets

namespace qx::mainwnd {

// How the window is made. The defaults are the driver's; tests replace what reaches outside
// the process (the transport, the browser, the help page).
struct MainWindowOptions {
    bool startedWithStart = false;
    // Made the owner of message boxes and file dialogs; may be null.
    platform::QtPrompt* prompt = nullptr;
    // Binds the transport and starts the device connection with the window as its host; the
    // default is device::StartDeviceConnection (libRadOdor.so of the run-time folder).
    std::function<device::DeviceSession&(device::ConnectionHost& host, bool startedWithStart)>
        startDevice;
    // Opens a web page; the default is QDesktopServices::openUrl.
    std::function<void(const QString& url)> openUrl;
    // Opens the help page; the default is app::OpenHelp.
    std::function<void()> openHelp;
    // Pops up the profile menu at the cursor; the default tracks it where the mouse is.
    std::function<void(widgets::CProfileMenu& menu)> trackProfileMenu;
    // Pops up the menu button's menu and returns the chosen command (0: none); the default
    // tracks it at the cursor.
    std::function<uint32_t(QMenu& menu)> trackButtonMenu;
    // The busy indicator's two waits (the product's: 100 ms each).
    BusyTiming busyTiming;
    // How long after 'INIT' the key assignment window is made: long enough for start-up's own
    // messages and requests to be handled first, far shorter than a user takes to reach a key.
    std::chrono::milliseconds keyAssignmentDelay{150};
    // What the tray icon needs of the desktop (the default: the real notification area).
    widgets::CTrayIcon::Environment trayEnvironment;
};

class CQuilvaneDlg final : public skin::CBaseDialog,
                           public app::MainWindowPort,
                           private HostWindow {
    Q_OBJECT

  public:
    explicit CQuilvaneDlg(MainWindowOptions options, QWidget* parent = nullptr);
    ~CQuilvaneDlg() override;
    CQuilvaneDlg(const CQuilvaneDlg&) = delete;
    CQuilvaneDlg& operator=(const CQuilvaneDlg&) = delete;

    // Initialises the window (hidden) and runs it until the exit sequence ends it.
    int RunModal() override;

    // ---- What other windows and the profile switching call ---------------------------------
    // The switch of the onboard profile and the refresh every path that changes it ends in.
    [[nodiscard]] ProfileSwitch& Profiles() { return profileSwitch_; }
    // Fills the profile menu (made anew with `create`), checks the active profile and gives the
    // profile button its text and tooltip.
    void RebuildProfileMenu(bool create);
    // Marked flags and tooltips of the keyboard view, then the flip state again.
    void RefreshKeyButtons();
    void RefreshKeyHints();
    // The pending-changes state shown by the Apply button.
    void SetApplyEnabled(bool enabled);
    [[nodiscard]] bool IsApplyEnabled() const { return applyEnabled_; }
    // The sub-windows the window closes in its exit sequence and when the keyboard leaves.
    SubWindowList& SubWindows() { return subWindows_; }
    // Saves and downloads the pending changes with the busy indicator shown (Apply, OK).
    void ApplyChanges();
    // The busy state around Apply and an import (input refused, messages held back) and the
    // busy indicator.
    [[nodiscard]] BusyState& Busy() { return busy_; }

    // ---- Commands, messages and state (the message layer, the shell and tests) ---------------
    void OnCommand(int commandId);
    void OnSysCommand(int command);
    // The exit sequence. False when a sub-window refused to close (the window stays, hidden).
    bool RunExitSequence();
    // True once the exit sequence is past the sub-windows: code that waited for a box, a file
    // dialog or a menu returns at once without acting.
    [[nodiscard]] bool IsEnding() const { return exitStarted_; }
    [[nodiscard]] platform::MessageWindow& Messages() { return *messages_; }
    [[nodiscard]] std::shared_ptr<platform::MessageTarget> Target() const;
    [[nodiscard]] skin::CPngButton* Button(int controlId) const;
    [[nodiscard]] QWidget* Control(int controlId) const;
    [[nodiscard]] lighting::panel::LightingPanel& Panel() { return lighting_->Panel(); }
    [[nodiscard]] MainLayout& Layout() { return layout_; }
    [[nodiscard]] lighting::LightingModel* Lighting() { return lighting_->Model(); }
    [[nodiscard]] widgets::CProfileMenu* ProfileMenu() const { return profileMenu_.get(); }
    [[nodiscard]] widgets::CTrayIcon* TrayIcon() const { return tray_.get(); }
    [[nodiscard]] bool IsInitDone() const { return initDone_; }
    [[nodiscard]] bool HasEnded() const { return ended_; }
    [[nodiscard]] int StartHiddenCount() const { return startHidden_; }
    [[nodiscard]] const MainSheets& Sheets() const { return sheets_; }
    // The key assignment window; null until the start-up is over.
    [[nodiscard]] keyassign::window::Quilvane_DlgComposite* KeyAssignmentWindow() const {
        return keyAssignment_.Window();
    }

    void setVisible(bool visible) override;

  signals:
    // The exit sequence has ended the window.
    void Ended();

  protected:
    void OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    // ---- start-up (main_startup.cpp)
    [[nodiscard]] std::unique_ptr<skin::PicturePrefetch> PrefetchStartUpPictures();
    void StartDevice();
    void BuildSheets();
    void LayOut();
    void ApplyWindowStyle(bool appWindow);
    void RegisterMessageHandlers();
    void RegisterSubWindows();
    void WireButtons();

    // ---- messages and timers (main_messages.cpp)
    void OnInit();
    void OnProfileRead();
    void OnBankSwitched();
    void OnLanguage(int languageIndex);
    void OnKeyboardLeft();
    void OnTimer(uint32_t timerId);
    void OnProgressPicture(platform::MessageWParam code, platform::MessageLParam shown);

    // ---- commands (main_commands.cpp)
    bool OnCommandInRange(int commandId);
    bool OnWindowButton(int commandId);
    void OnMenuCommand(int commandId);
    void OnKeyClick(int controlId);
    void OnFnClick();
    void OpenLink(int controlId);
    void SendTestCommand();
    void PopUpProfileMenu();
    void ToggleFlipSetting();
    void OpenAboutWindow();

    // ---- visibility (main_visibility.cpp)
    void OnShowRequest();
    void HideToTray();
    [[nodiscard]] bool IsFilteredKey(QObject* watched, const QKeyEvent& key) const;

    // ---- exit (main_exit.cpp)
    void StopConnection();
    void ClosePopupMenus();
    void Shutdown();

    // ---- the busy state (main_busy.cpp)
    [[nodiscard]] BusyHoldRules MakeBusyHoldRules();

    // ---- Apply, defaults, report rate (main_apply.cpp)
    void OnApply();
    void OnDefaults();
    void OnReportRate(int rate);

    // ---- profiles (main_profile_switch.cpp, main_profiles.cpp, main_profile_files.cpp)
    [[nodiscard]] ProfileSwitchHost MakeProfileSwitchHost();
    void OnMenuButton();
    void OnRestoreProfileFile();
    void OnBackupProfileFile();

    // ---- places later features fill in (main_extension_points.cpp)
    [[nodiscard]] keyassign::window::CompositeHost MakeCompositeHost();
    void ShowProfileManager();
    void ShowFirmwareUpdate();

    // ---- HostWindow (quilvane_dlg.cpp)
    void HideForDevice() override;
    void ApplyTrayState(int mode, int iconId) override;
    void ApplyControlCaption(int controlId, const std::string& caption) override;
    void ApplyBankPicture(int bank) override;

    // The background, the mask and the lighting panel's bitmaps, decoded on another thread while
    // the controls are made; ends once the skin was applied at start-up. First, so that it starts
    // before the other members are built.
    std::unique_ptr<skin::PicturePrefetch> startUpPictures_;
    MainWindowOptions options_;
    std::unique_ptr<platform::MessageWindow> messages_;
    std::unique_ptr<MainConnectionHost> host_;
    BusyState busy_;
    MainSheets sheets_;
    MainControls controls_;
    MainLayout layout_;
    KeyView keyView_;
    // Made in the constructor, after the buttons it frames.
    std::unique_ptr<LightingLink> lighting_;
    HoverGroups* hoverGroups_ = nullptr;
    SubWindowList subWindows_;
    ProfileSwitch profileSwitch_;
    LinkTargets links_;
    device::DeviceSession* session_ = nullptr;
    std::unique_ptr<widgets::CTrayIcon> tray_;
    std::unique_ptr<widgets::TrayIconState> trayState_;
    std::unique_ptr<widgets::CProfileMenu> profileMenu_;
    KeyAssignmentLink keyAssignment_;
    // Made the first time the user opens the profile manager.
    std::unique_ptr<ProfileManagerLink> profileManager_;
    QEventLoop* runLoop_ = nullptr;

    bool initDone_ = false;
    bool applyEnabled_ = false;
    // The first two attempts to show the window before a show request keep it hidden.
    int startHidden_ = 2;
    bool inShowRequest_ = false;
    bool noDeviceBoxOpen_ = false;
    bool exitStarted_ = false;
    bool ended_ = false;
};

// Makes the driver's main window (app::CreateMainWindow is implemented over it).
std::unique_ptr<CQuilvaneDlg> MakeMainWindow(MainWindowOptions options);

}  // namespace qx::mainwnd
