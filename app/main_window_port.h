// What the driver's shell and its main window expect of each other.
//
// The shell (app/, target qx_app) runs the process: InitInstance computes the paths, installs the
// settings store and the prompt, applies the command line and the single-instance rule, starts
// the companion program, then asks the main window (mainwnd/, target qx_mainwnd) for itself
// through CreateMainWindow and runs it modally. The main window implements MainWindowPort and
// CreateMainWindow, and calls back into the shell through the functions at the end of this file.
//
// Inter-instance messages: the running instance listens on a local server; a second start sends
// it 0x5350 'OPEN' (show the window) or, with "/Kill", 0x4D4B 'KILL' (run the exit sequence).
// The shell posts such a message to the target published with PublishInstanceWindow once it has
// answered the other instance, so the window handles it from its event loop (a modal box it shows
// never runs inside the server's socket handling); any code is delivered and the window ignores a
// code it does not expect. SIGTERM, SIGINT and SIGHUP reach the window as a posted 'KILL' too.
//
// Commands: menus and the tray reach the window as platform::kCommandMessage (wParam = command
// id, lParam = 0) through its message target; the system menu's About as
// platform::kSysCommandMessage with wParam kSysCommandAbout.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/system_messages.h"
#include "platform/window_message.h"

namespace qx::platform {
class QtPrompt;
}

namespace qx::app {

// The main window's user data by which another instance finds it.
inline constexpr uint32_t kMainWindowTag = 0x4D41494E;  // 'MAIN'
static_assert(kMainWindowTag == platform::FourCharCode("MAIN"));

// Private messages of the main window (wParam = the code, lParam = 0).
inline constexpr uint32_t kOpenMessage = 0x5350;
inline constexpr uint32_t kOpenCode = 0x4F50454E;  // 'OPEN'
inline constexpr uint32_t kKillMessage = 0x4D4B;
// 'KILL' with its letters stored last-first: the value every instance of the program has sent.
inline constexpr uint32_t kKillCode = 0x4C4C494B;
inline constexpr uint32_t kInitMessage = 0x4D4E;
inline constexpr uint32_t kInitCode = 0x494E4954;  // 'INIT'
static_assert(kOpenCode == platform::FourCharCode("OPEN"));
static_assert(kKillCode == platform::FourCharCode("LLIK"));
static_assert(kInitCode == platform::FourCharCode("INIT"));

// Commands of the tray menu (menu 140) and the system menu.
inline constexpr uint32_t kCommandOpen = 32771;
inline constexpr uint32_t kCommandAbout = 32773;
inline constexpr uint32_t kCommandExit = 32774;
inline constexpr uint32_t kSysCommandAbout = 16;
// Commands of the menu button's menu (menu 144); its About item is kCommandAbout.
inline constexpr uint32_t kCommandRestore = 32776;
inline constexpr uint32_t kCommandBackup = 32777;
inline constexpr uint32_t kCommandMenuExit = 32779;
inline constexpr uint32_t kCommandFirmwareUpdate = 32780;

// The tray icon as the main window creates it at 'INIT' (widgets/tray_icon.h).
inline constexpr uint32_t kTrayCallbackMessage = 1725;
inline constexpr uint32_t kTrayIconId = 140;        // also the id of the tray menu
inline constexpr uint32_t kTrayDefaultCommand = 0;  // 0: the menu's first item (Open)

// How the main window is started.
struct MainWindowStart {
    // "/Start" was given: the window does not open by itself at the first keyboard attach
    // (pass it to device::StartDeviceConnection).
    bool startedWithStart = false;
    // The prompt the shell installed as the current prompt; the window makes itself its owner
    // (QtPrompt::SetOwner) so message boxes and file dialogs sit on it. Never null.
    platform::QtPrompt* prompt = nullptr;
};

class MainWindowPort {
  public:
    virtual ~MainWindowPort() = default;
    // Initialises the window (hidden) and runs it modally until its exit sequence ends it.
    // The shell calls it once; its result is ignored (the process ends with exit code 0).
    virtual int RunModal() = 0;
};

// Implemented by the main window (mainwnd/). Called once by InitInstance after the
// single-instance steps decided that this process runs; the QApplication exists.
std::unique_ptr<MainWindowPort> CreateMainWindow(const MainWindowStart& start);

// --- What the shell offers the main window (qx_app) ---

// Stores `userData` as the window's user data and `target` as the window that inter-instance
// messages reach (start-up step: the tag 'MAIN'). Until then, and after a null target, other
// instances find no window of this process and send nothing. User-interface thread only.
void PublishInstanceWindow(std::shared_ptr<platform::MessageTarget> target, uint32_t userData);

// Closes the single-instance mutex (exit sequence): another start then runs as a first instance.
// Safe to call more than once, and when this process never owned the mutex.
void CloseInstanceMutex();

// Opens the help page (Help/index.html of the run-time folder) in the desktop's browser.
void OpenHelp();

}  // namespace qx::app
