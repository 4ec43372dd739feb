#include "app/quilvane_app.h"

#include <unistd.h>

#include <QApplication>
#include <QProcess>

#include "app/instance_server.h"
#include "app/instance_window.h"
#include "app/process_search.h"
#include "app/single_instance.h"
#include "keyboard/image_holders.h"
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
    void StartCompanion() override { StartCompanionProgram(); }
};

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
        platform::SetCurrentPrompt(prompt_.get());
        server_ = std::make_unique<InstanceServer>();
        server_->Listen(InstanceServerPath(::getpid()));

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
    PublishInstanceWindow(nullptr, 0);
    server_.reset();
    CloseInstanceMutex();
    platform::SetCurrentPrompt(nullptr);
    prompt_.reset();
    platform::SetCurrentSettings(nullptr);
    settings_.reset();
}

}  // namespace qx::app
