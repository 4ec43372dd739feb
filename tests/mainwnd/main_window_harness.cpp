#include "tests/mainwnd/main_window_harness.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QThread>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "device/connection/device_connection.h"
#include "device/connection/device_session.h"
#include "platform/data_folder.h"
#include "platform/ini_file.h"
#include "platform/program_paths.h"
#include "platform/settings_store.h"
#include "platform/window_message.h"
#include "skin/skin_rect.h"

namespace qx::mainwnd::test {
namespace {

namespace fs = std::filesystem;

constexpr uint32_t kEnglish = 0x0409;

fs::path RuntimeFolder() {
    const char* folder = std::getenv("QX_RUNTIME_DIR");  // NOLINT(concurrency-mt-unsafe)
    return folder != nullptr ? fs::path(folder) : fs::path(QX_TEST_RUNTIME_DIR);
}

// Main.ini without the lines of the given keys.
void CopyIniWithout(const fs::path& from, const fs::path& to,
                    const std::vector<std::string>& missing) {
    std::ifstream in(from);
    std::ofstream out(to);
    std::string line;
    while (std::getline(in, line)) {
        bool drop = false;
        for (const std::string& key : missing) {
            drop = drop || line.rfind(key + "=", 0) == 0;
        }
        if (!drop) {
            out << line << '\n';
        }
    }
}

}  // namespace

MainWindowHarness::MainWindowHarness(HarnessOptions options) : options_(std::move(options)) {
    platform::SetCurrentSettings(&settings_);
    settings_.WriteUserDword("dwLanguageId", kEnglish);
    settings_.WriteProfileString("PROFILES", "Flip", options_.flip);
    platform::SetCurrentPrompt(&prompt_);
    MakeProgramFolder(options_);
    ::setenv("XDG_DATA_HOME", DataFolder().c_str(), 1);  // NOLINT(concurrency-mt-unsafe)
    platform::EnsureDataFolder();
    if (options_.lightingSwitchOn) {
        platform::WriteLightingPanelSwitch(true);
    }

    test_support::EmulatedKeyboardOptions keyboardOptions;
    keyboardOptions.commandRead = false;  // the window's connection reads the answers
    keyboardOptions.keyboard.present = options_.keyboardPresent;
    keyboard_ = std::make_unique<test_support::EmulatedKeyboard>(keyboardOptions);

    MainWindowOptions windowOptions;
    windowOptions.startedWithStart = options_.startedWithStart;
    // Made while Start settles, so that no test step races its making.
    windowOptions.keyAssignmentDelay = std::chrono::milliseconds(0);
    windowOptions.startDevice = [this](device::ConnectionHost& host,
                                       bool startedWithStart) -> device::DeviceSession& {
        return device::StartDeviceConnection(host, startedWithStart, keyboard_->Api(),
                                             test_support::kTestTiming);
    };
    windowOptions.openUrl = [this](const QString& url) { openedUrls.push_back(url); };
    windowOptions.openHelp = [this] { ++helpOpened; };
    windowOptions.trackProfileMenu = [this](widgets::CProfileMenu&) { ++profileMenuTracked; };
    windowOptions.trackButtonMenu = [this](QMenu& menu) {
        std::vector<QString> texts;
        for (const QAction* action : menu.actions()) {
            texts.push_back(action->text());
        }
        buttonMenuTexts.push_back(std::move(texts));
        return buttonMenuChoice;
    };
    const bool trayAvailable = options_.trayAvailable;
    windowOptions.trayEnvironment.trayAvailable = [trayAvailable] { return trayAvailable; };
    window_ = std::make_unique<CQuilvaneDlg>(std::move(windowOptions));
}

MainWindowHarness::~MainWindowHarness() {
    window_.reset();
    keyboard_.reset();
    platform::SetCurrentPrompt(nullptr);
    platform::SetCurrentSettings(nullptr);
}

std::string MainWindowHarness::ProgramFolder() const {
    return root_.path().toStdString() + "/program/";
}

std::string MainWindowHarness::DataFolder() const {
    return root_.path().toStdString() + "/data";
}

void MainWindowHarness::MakeProgramFolder(const HarnessOptions& options) {
    const fs::path program = ProgramFolder();
    const fs::path skins = program / "Skins";
    fs::create_directories(skins);
    const fs::path runtime = RuntimeFolder();
    for (const char* language : {"Lang0409.ini", "Lang1046.ini"}) {
        fs::create_symlink(runtime / language, program / language);
    }
    for (const fs::directory_entry& entry : fs::directory_iterator(runtime / "Skins")) {
        const fs::path name = entry.path().filename();
        if (name == "Main.ini") {
            CopyIniWithout(entry.path(), skins / name, options.missingSkinKeys);
        } else {
            fs::create_symlink(entry.path(), skins / name);
        }
    }
    platform::SetProgramFolder(program.string() + "/");
}

void MainWindowHarness::InitialiseOnly() {
    window_->EnsureInitialised();
}

bool MainWindowHarness::WaitFor(const std::function<bool()>& done, int timeoutMs) {
    QDeadlineTimer deadline(timeoutMs);
    while (!done()) {
        if (deadline.hasExpired()) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(1);
    }
    return true;
}

// Quiet twice in a row, with a pass of the event loop between: a message the quiet connection
// left behind (a profile read held until 'INIT' is delivered by a timer, and its read-back runs
// on the transfer thread) is handled before a test goes on, not in the middle of its steps.
bool MainWindowHarness::Settle() {
    bool quietBefore = false;
    return WaitFor([this, &quietBefore] {
        QCoreApplication::processEvents();
        device::DeviceSession* session = device::CurrentDeviceSession();
        const bool quiet = keyboard_->WaitUntilQuiet(std::chrono::milliseconds(0)) &&
                           (session == nullptr || session->Connection().IsIdle()) &&
                           (window_ == nullptr || !window_->Busy().IsBusy());
        const bool settled = quiet && quietBefore;
        quietBefore = quiet;
        return settled;
    });
}

bool MainWindowHarness::Start() {
    InitialiseOnly();
    if (!WaitFor([this] { return window_->IsInitDone(); })) {
        return false;
    }
    if (options_.keyboardPresent && !WaitFor([] { return device::IsKeyboardAttached(); })) {
        return false;
    }
    return Settle();
}

std::vector<device::Packet> MainWindowHarness::CommandsSent() const {
    std::vector<device::Packet> sent = keyboard_->CommandsSent();
    sent.erase(sent.begin(),
               sent.begin() + static_cast<std::ptrdiff_t>(std::min(trafficStart_, sent.size())));
    return sent;
}

std::vector<device::Packet> MainWindowHarness::CommandsNumbered(uint8_t command) const {
    std::vector<device::Packet> numbered;
    for (const device::Packet& packet : CommandsSent()) {
        if (packet[device::kCommandOffset] == command) {
            numbered.push_back(packet);
        }
    }
    return numbered;
}

void MainWindowHarness::ForgetTraffic() {
    keyboard_->WaitUntilQuiet();
    trafficStart_ = keyboard_->CommandsSent().size();
}

platform::MessageResult MainWindowHarness::Send(uint32_t message, platform::MessageWParam wParam,
                                                platform::MessageLParam lParam) {
    return window_->Messages().SendWindowMessage(message, wParam, lParam);
}

QRect DefaultSkinRect(const std::string& key, const std::string& section) {
    const std::string ini = (RuntimeFolder() / "Skins" / "Main.ini").string();
    const skin::SkinRect rect = skin::ParseSkinRect(
        platform::ReadIniString(ini, section, key, skin::kDefaultRectText, skin::kRectBuffer));
    return {rect.x, rect.y, rect.w, rect.h};
}

}  // namespace qx::mainwnd::test
