// The main window's sub-windows that may be open when the window must close them: the about
// window, the profile manager and the key assignment window. Each registers how it is asked to
// close (it may refuse, for example while it waits for the keyboard) and, when it shows language
// texts, how it receives the language message. Qt-free.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace qx::mainwnd {

class SubWindowList {
  public:
    // True when the window closed or was not open; false when it refuses to close.
    using CloseIfOpen = std::function<bool()>;
    using ApplyLanguage = std::function<void(int languageIndex)>;

    // Adds a sub-window (a name replaces the entry registered under it before).
    void Register(const std::string& name, CloseIfOpen close, ApplyLanguage language = {});
    void Unregister(const std::string& name);

    // Asks every sub-window to close, in the order they were registered; true when all did.
    // A refusal does not keep the others from being asked.
    bool CloseAll() const;
    // Gives the language message to every sub-window that takes it, in registration order.
    void ForwardLanguage(int languageIndex) const;

    [[nodiscard]] std::vector<std::string> Names() const;

  private:
    struct Entry {
        std::string name;
        CloseIfOpen close;
        ApplyLanguage language;
    };
    std::vector<Entry> entries_;
};

// The names the main window's own sub-windows register under.
inline constexpr const char* kAboutWindowName = "about";
inline constexpr const char* kProfileManagerName = "profile manager";
inline constexpr const char* kKeyAssignmentName = "key assignment";

}  // namespace qx::mainwnd
