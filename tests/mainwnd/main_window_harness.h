// A main window against the emulated keyboard in this process: a program folder of its own
// (the generated skin, optionally with keys taken out of Main.ini, and the language files), a
// data folder of its own, in-memory settings, a scripted prompt, and the browser, help page and
// profile menu replaced by recorders. One harness at a time per process.
#pragma once

#include <QString>
#include <QTemporaryDir>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "mainwnd/quilvane_dlg.h"
#include "platform/memory_settings_store.h"
#include "platform/testing/scripted_prompt.h"
#include "tests/support/emulated_keyboard.h"

namespace qx::mainwnd::test {

struct HarnessOptions {
    bool keyboardPresent = true;
    // Started with "/Start": the first attach does not open the window.
    bool startedWithStart = true;
    std::string flip = "0";
    bool lightingSwitchOn = false;
    bool trayAvailable = false;
    // Keys of section "BUTTONINFO" / "SCREEN" left out of the skin's Main.ini.
    std::vector<std::string> missingSkinKeys;
};

class MainWindowHarness {
  public:
    explicit MainWindowHarness(HarnessOptions options = {});
    ~MainWindowHarness();
    MainWindowHarness(const MainWindowHarness&) = delete;
    MainWindowHarness& operator=(const MainWindowHarness&) = delete;

    // Runs the window's start-up (hidden) and waits until 'INIT' was handled and, with a
    // keyboard, until the connection has read it and told the window.
    bool Start();
    // Start-up without handling any message yet ('INIT' and 'PROF' wait).
    void InitialiseOnly();
    // Handles events until `done` holds (false after 5 s).
    static bool WaitFor(const std::function<bool()>& done, int timeoutMs = 5000);
    // Waits until the keyboard and the connection have nothing left to do.
    bool Settle();

    CQuilvaneDlg& Window() { return *window_; }
    test_support::EmulatedKeyboard& Keyboard() { return *keyboard_; }
    platform::testing::ScriptedPrompt& Prompt() { return prompt_; }
    platform::MemorySettingsStore& Settings() { return settings_; }
    std::string ProgramFolder() const;
    std::string DataFolder() const;

    // What the window asked of the desktop.
    std::vector<QString> openedUrls;
    int helpOpened = 0;
    int profileMenuTracked = 0;
    // The menu button's menu: the texts of its items each time it popped up, and the command the
    // user chooses from it (0: none).
    std::vector<std::vector<QString>> buttonMenuTexts;
    uint32_t buttonMenuChoice = 0;

    // Command packets sent since the harness started (or the last ForgetTraffic), and those of
    // one command number.
    std::vector<device::Packet> CommandsSent() const;
    std::vector<device::Packet> CommandsNumbered(uint8_t command) const;
    void ForgetTraffic();

    // Sends a private message to the window as another thread would, and handles it.
    platform::MessageResult Send(uint32_t message, platform::MessageWParam wParam,
                                 platform::MessageLParam lParam = 0);

  private:
    void MakeProgramFolder(const HarnessOptions& options);

    QTemporaryDir root_;
    platform::MemorySettingsStore settings_;
    platform::testing::ScriptedPrompt prompt_;
    std::unique_ptr<test_support::EmulatedKeyboard> keyboard_;
    std::unique_ptr<CQuilvaneDlg> window_;
    HarnessOptions options_;
    std::size_t trafficStart_ = 0;
};

// The rectangle a skin key gives, from the run-time folder's default skin.
QRect DefaultSkinRect(const std::string& key, const std::string& section = "BUTTONINFO");

}  // namespace qx::mainwnd::test
