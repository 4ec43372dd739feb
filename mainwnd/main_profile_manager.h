// The profile manager wired to the main window: the side of the window the manager reaches
// (ProfileManagerHost) and the dialog itself, made the first time the user asks for it and kept
// for the program's life.
#pragma once

#include <functional>
#include <memory>

#include "mainwnd/sub_windows.h"
#include "profiles/manager/profile_manager_host.h"

namespace qx::profiles::manager {
class CQuilvane_DlgProfile;
}

namespace qx::mainwnd {

class CQuilvaneDlg;

class ProfileManagerLink final : private profiles::manager::ProfileManagerHost {
  public:
    ProfileManagerLink(CQuilvaneDlg& window, std::function<void()> openHelp);
    ~ProfileManagerLink() override;
    ProfileManagerLink(const ProfileManagerLink&) = delete;
    ProfileManagerLink& operator=(const ProfileManagerLink&) = delete;

    // Shows the manager modally; returns when it closed. A manager already open comes to the
    // front instead.
    void Show();
    // What the main window asks of the manager: close, language, open, changes, a switch made
    // elsewhere.
    [[nodiscard]] SubWindowHooks Hooks();
    [[nodiscard]] profiles::manager::CQuilvane_DlgProfile& Dialog() { return *dialog_; }

  private:
    // ProfileManagerHost
    void ReloadImageFromKeyboard(bool keepPending) override;
    void RefreshAfterProfileSwitch(int profile) override;
    void SetApplyEnabled(bool enabled) override;
    void OpenHelp() override;

    CQuilvaneDlg& window_;
    std::function<void()> openHelp_;
    std::unique_ptr<profiles::manager::CQuilvane_DlgProfile> dialog_;
};

}  // namespace qx::mainwnd
