// CQuilvaneApp: the driver's process from start to end. InitInstance computes the program paths,
// installs the per-user settings store, readies the configuration image's locks, applies the
// command line and the single-instance rule (app/single_instance.h), then creates the
// application's windows: the prompt, the local server other instances reach, and the main window
// (through the factory), which it runs modally. SIGTERM, SIGINT and SIGHUP then reach the window
// as 'KILL'. When the main window has ended it frees the image, lets go of everything it
// installed (the server's socket goes with the server) and returns false, and the process ends
// with exit code 0. A first instance first removes what killed or crashed instances of this user
// left behind (their sockets and named events).
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/main_window_port.h"

class QApplication;

namespace qx::platform {
class ExitSignals;
class QtPrompt;
class QtSettingsStore;
}  // namespace qx::platform

namespace qx::app {

class InstanceServer;

using MainWindowFactory = std::function<std::unique_ptr<MainWindowPort>(const MainWindowStart&)>;

inline constexpr int kExitCode = 0;

class CQuilvaneApp {
  public:
    // argc and argv must outlive the object (the QApplication keeps them).
    CQuilvaneApp(int& argc, char** argv);
    ~CQuilvaneApp();
    CQuilvaneApp(const CQuilvaneApp&) = delete;
    CQuilvaneApp& operator=(const CQuilvaneApp&) = delete;

    // Runs the program; returns false when it is over (always).
    bool InitInstance(const MainWindowFactory& createMainWindow);

    // The arguments after the program's name, as given.
    [[nodiscard]] const std::vector<std::string>& Arguments() const { return arguments_; }

  private:
    void EnsureApplication();
    void Release();

    int& argc_;
    char** argv_;
    std::vector<std::string> arguments_;
    std::unique_ptr<QApplication> application_;
    std::unique_ptr<platform::QtSettingsStore> settings_;
    std::unique_ptr<platform::QtPrompt> prompt_;
    std::unique_ptr<platform::ExitSignals> exitSignals_;
    std::unique_ptr<InstanceServer> server_;
};

// The companion program is started hidden, with no arguments, and not waited for.
void StartCompanionProgram();

}  // namespace qx::app
