// How the device connection reaches the main window. The connection runs on the transport's
// delivery threads and on workers of its own; the main window implements this interface on top
// of the window-message layer, tests with a recording host.
//
// Calls may block until the user-interface thread has handled them (sends, the message box).
// A host that is closing must stop blocking: once the main window's message target is closed,
// every call returns at once. The main window closes it before it stops the connection.
#pragma once

#include <cstdint>
#include <string>

#include "device/link/interfaces.h"

namespace qx::device {

// Private messages to the main window; wParam is a four-character code, lParam 0.
inline constexpr uint32_t kKeyboardReadMessage = 0x5452;  // sent after a keyboard was read
inline constexpr uint32_t kKeyboardReadCode = FourCharCode('P', 'R', 'O', 'F');
inline constexpr uint32_t kKeyboardLeftMessage = 0x4753;  // sent after the last keyboard left
inline constexpr uint32_t kKeyboardLeftCode = 0;
inline constexpr uint32_t kOpenMessage = 0x5350;  // posted once, at the first attach
inline constexpr uint32_t kOpenCode = FourCharCode('O', 'P', 'E', 'N');
inline constexpr uint32_t kBankSwitchedMessage = 0x5045;      // sent after a G-key bank switch
inline constexpr uint32_t kBankSwitchedCode = kLedStatusTag;  // 'LED'

// Timer 1051 re-reads the lighting after the keyboard changed it with its own keys.
inline constexpr uint32_t kLightingRefreshTimer = 1051;
inline constexpr uint32_t kLightingRefreshPeriod = 0;

// Tray states: mode 0 with an icon sets it as the base icon, mode 0 with icon 0 restores the
// base icon, mode 1 shows the indicator icon.
inline constexpr int kTrayModeBase = 0;
inline constexpr int kTrayModeIndicator = 1;
inline constexpr int kIconRestoreBase = 0;
inline constexpr int kIconNoKeyboard = 128;
inline constexpr int kIconKeyboard = 141;
inline constexpr int kIconIndicator = 142;

// The "LOCK_AB" indicator that shows the G-key bank.
inline constexpr int kBankIndicatorControl = 1128;

class ConnectionHost {
  public:
    virtual ~ConnectionHost() = default;

    // Delivers the message to the main window and waits until it was handled.
    virtual void SendWindowMessage(uint32_t message, uint32_t wParam) = 0;
    // Queues the message for the main window and returns at once.
    virtual void PostWindowMessage(uint32_t message, uint32_t wParam) = 0;
    virtual void HideMainWindow() = 0;
    // True once the main window has finished its initialisation ('INIT' handled).
    virtual bool IsInitDone() = 0;
    // The tray icon: see the tray states above.
    virtual void SetTrayState(int mode, int iconId) = 0;
    virtual void SetControlCaption(int controlId, const std::string& caption) = 0;
    // Shows the picture of G-key bank 0 or 1 on the bank indicator (kBankIndicatorControl).
    virtual void SetBankPicture(int bank) = 0;
    // Starts (or restarts) a timer of the main window.
    virtual void StartTimer(uint32_t timerId, uint32_t periodMs) = 0;
    // A message box with the text, an OK button and no title, through the prompt interface.
    virtual void ShowMessage(const std::string& text) = 0;
};

}  // namespace qx::device
