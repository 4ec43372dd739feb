// The system messages and notification codes the program's windows exchange besides their
// private messages: the same numbers a Windows build would see, so handlers, hooks and tests
// speak one language on every platform.
#pragma once

#include <cstdint>
#include <string_view>

namespace qx::platform {

inline constexpr uint32_t kCloseMessage = 0x0010;       // asks a window to close
inline constexpr uint32_t kNcDestroyMessage = 0x0082;   // the last message a window receives
inline constexpr uint32_t kCommandMessage = 0x0111;     // wParam = command id, lParam = 0
inline constexpr uint32_t kSysCommandMessage = 0x0112;  // wParam = system-menu command

// Mouse notifications of the tray callback (its lParam).
inline constexpr uint32_t kLeftButtonUp = 0x0202;
inline constexpr uint32_t kLeftButtonDoubleClick = 0x0203;
inline constexpr uint32_t kRightButtonUp = 0x0205;
inline constexpr uint32_t kMiddleButtonUp = 0x0208;

// Registered messages take numbers from this range, one per name for the process's life.
inline constexpr uint32_t kFirstRegisteredMessage = 0xC000;
inline constexpr uint32_t kLastRegisteredMessage = 0xFFFF;

// The number of the message registered under `name` (names compared without regard to case);
// the same name always gives the same number. 0 when the range is used up or the name is empty.
// Thread-safe.
uint32_t RegisterWindowMessage(std::string_view name);

// The registered message the desktop sends when its notification area starts (again).
inline constexpr std::string_view kTaskbarCreatedName = "TaskbarCreated";

}  // namespace qx::platform
