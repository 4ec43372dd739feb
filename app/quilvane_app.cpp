#include "app/quilvane_app.h"

#include <unistd.h>

#include <QApplication>
#include <QProcess>
#include <array>
#include <cstdlib>
#include <cstring>

#include "app/instance_server.h"
#include "app/instance_window.h"
#include "app/process_search.h"
#include "app/single_instance.h"
#include "device/connection/named_events.h"
#include "keyboard/image_holders.h"
#include "platform/exit_signals.h"
#include "platform/program_paths.h"
#include "platform/prompt.h"
#include "platform/qt_prompt.h"
#include "platform/qt_settings_store.h"
#include "platform/settings_store.h"

namespace qx::app {
namespace {

// The single-instance rule over the real system: /proc, the lock file, the local servers.
class ProcessInstanceSystem : public InstanceSystem {
  public:
    pid_t FindInstanceProcess() override {
        return app::FindInstanceProcess(platform::GetProgramPaths().programFile);
    }
    bool SignalInstance(pid_t pid, InstanceSignalKind kind) override {
        return app::SignalInstance(pid, kind);
    }
    InstanceMutex::OpenResult OpenMutex() override {
        return ProcessInstanceMutex().Open(InstanceLockPath());
    }
    void RemoveLeftovers() override {
        RemoveOtherInstanceServers();
        device::RemoveNamedEvents();
    }
    void StartCompanion() override { StartCompanionProgram(); }
};

constexpr const char* kPromptAnswerAfterVariable = "QX480_PROMPT_ANSWER_AFTER_MS";

// The local server's socket, for a quick exit (the process ends where it cannot go on, without
// unwinding): a fixed buffer, as nothing may be allocated then.
std::array<char, 256> quickExitSocket{};

void RemoveSocketAtQuickExit() {
    if (quickExitSocket[0] != '\0') {
        ::unlink(quickExitSocket.data());
    }
}

void RemoveSocketAtQuickExit(const std::string& path) {
    static const bool registered = std::at_quick_exit(&RemoveSocketAtQuickExit) == 0;
    if (registered && path.size() < quickExitSocket.size()) {
        std::memcpy(quickExitSocket.data(), path.c_str(), path.size() + 1);
    }
}

// Tests of whole processes stand in for the user: a box left open this long answers itself with
// its default button. Unset (the program's own case): never.
std::chrono::milliseconds PromptAnswerAfter() {
    const char* value = std::getenv(kPromptAnswerAfterVariable);  // NOLINT(concurrency-mt-unsafe)
    if (value == nullptr) {
        return std::chrono::milliseconds(0);
    }
    char* end = nullptr;
    const long milliseconds = std::strtol(value, &end, 10);
    return std::chrono::milliseconds(end != value && *end == '\0' && milliseconds > 0 ? milliseconds
                                                                                      : 0);
}

// SIGTERM, SIGINT and SIGHUP end the program as 'KILL' does, from the window's event loop.
void PostKillToWindow(int /*signal*/) {
    if (const std::shared_ptr<platform::MessageTarget> window = PublishedInstanceWindow().target) {
        window->PostWindowMessage(kKillMessage, kKillCode, 0);
    }
}

}  // namespace

void StartCompanionProgram() {
    // The result is not looked at: a missing companion is not reported.
    QProcess::startDetached(QString::fromStdString(platform::GetProgramPaths().companionProgram),
                            {});
}

CQuilvaneApp::CQuilvaneApp(int& argc, char** argv) : argc_(argc), argv_(argv) {
    for (int i = 1; i < argc; ++i) {
        arguments_.emplace_back(argv[i]);
    }
}

CQuilvaneApp::~CQuilvaneApp() {
    Release();
}

bool CQuilvaneApp::InitInstance(const MainWindowFactory& createMainWindow) {
    QCoreApplication::setOrganizationName(QString::fromUtf8(platform::kSettingsOrganization));
    QCoreApplication::setApplicationName(QString::fromUtf8(platform::kSettingsApplication));
    platform::GetProgramPaths();
    settings_ = std::make_unique<platform::QtSettingsStore>();
    platform::SetCurrentSettings(settings_.get());
    keyboard::Images();  // the image lock and the snapshot lock

    ProcessInstanceSystem system;
    const SingleInstanceDecision decision = RunSingleInstanceSteps(arguments_, system);
    if (!decision.endProcess) {
        EnsureApplication();
        prompt_ = std::make_unique<platform::QtPrompt>();
        prompt_->SetAnswerAfter(PromptAnswerAfter());
        platform::SetCurrentPrompt(prompt_.get());
        exitSignals_ = std::make_unique<platform::ExitSignals>(&PostKillToWindow);
        server_ = std::make_unique<InstanceServer>();
        const std::string socket = InstanceServerPath(::getpid());
        if (server_->Listen(socket)) {
            RemoveSocketAtQuickExit(socket);
        }

        std::unique_ptr<MainWindowPort> mainWindow =
            createMainWindow ? createMainWindow({decision.startedWithStart, prompt_.get()})
                             : nullptr;
        if (mainWindow) {
            mainWindow->RunModal();
        }
        keyboard::Images().Reset();
        mainWindow.reset();
    }
    Release();
    return false;
}

void CQuilvaneApp::EnsureApplication() {
    if (QCoreApplication::instance() == nullptr) {
        application_ = std::make_unique<QApplication>(argc_, argv_);
    }
    // The main window lives hidden in the notification area: closing the last visible window
    // (the about window, a message box) must not end the program.
    QApplication::setQuitOnLastWindowClosed(false);
}

void CQuilvaneApp::Release() {
    exitSignals_.reset();
    PublishInstanceWindow(nullptr, 0);
    server_.reset();
    quickExitSocket[0] = '\0';
    CloseInstanceMutex();
    platform::SetCurrentPrompt(nullptr);
    prompt_.reset();
    platform::SetCurrentSettings(nullptr);
    settings_.reset();
}

}  // namespace qx::app
