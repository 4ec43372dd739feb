// The main window's sub-windows that may be open when the window must close them: the about
// window, the profile manager and the key assignment window. Each registers how it is asked to
// close (it may refuse, for example while it waits for the keyboard), and what else the main
// window may ask of it: the language message, whether it is open, whether it holds edits that are
// not applied, and the news that the keyboard's active profile changed. Qt-free.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace qx::mainwnd {

// What the main window may ask of one sub-window; every part but `close` may be left empty.
struct SubWindowHooks {
    // True when the window closed or was not open; false when it refuses to close.
    std::function<bool()> close;
    std::function<void(int languageIndex)> language;
    // True while the window is shown.
    std::function<bool()> isOpen;
    // True while the window holds edits that are not applied (a profile switch asks first).
    std::function<bool()> hasChanges;
    // The active onboard profile became `profile` through a switch made elsewhere.
    std::function<void(int profile)> profileSwitched;
};

class SubWindowList {
  public:
    using CloseIfOpen = std::function<bool()>;
    using ApplyLanguage = std::function<void(int languageIndex)>;

    // Adds a sub-window (a name replaces the entry registered under it before).
    void Register(const std::string& name, SubWindowHooks hooks);
    void Register(const std::string& name, CloseIfOpen close, ApplyLanguage language = {});
    void Unregister(const std::string& name);

    // Asks every sub-window to close, in the order they were registered; true when all did.
    // A refusal does not keep the others from being asked.
    bool CloseAll() const;
    // Gives the language message to every sub-window that takes it, in registration order.
    void ForwardLanguage(int languageIndex) const;
    // Whether the window registered under `name` says it is open (false when it cannot tell).
    [[nodiscard]] bool IsOpen(const std::string& name) const;
    // Whether any sub-window holds edits that are not applied.
    [[nodiscard]] bool AnyHasChanges() const;
    // Tells every sub-window that takes it that the active profile changed.
    void NotifyProfileSwitched(int profile) const;

    [[nodiscard]] std::vector<std::string> Names() const;

  private:
    struct Entry {
        std::string name;
        SubWindowHooks hooks;
    };
    std::vector<Entry> entries_;
};

// The names the main window's own sub-windows register under.
inline constexpr const char* kAboutWindowName = "about";
inline constexpr const char* kProfileManagerName = "profile manager";
inline constexpr const char* kKeyAssignmentName = "key assignment";
inline constexpr const char* kFirmwareUpdateName = "firmware update";

}  // namespace qx::mainwnd
