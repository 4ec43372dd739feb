// The commands that steer a running emulated keyboard: `qx480-sim <command> [arguments]`,
// carried to the keyboard's server and run there. The same table checks a command line
// before it is sent, so bad input is refused at the terminal.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "sim/keyboard.h"

namespace qx::sim {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

struct ControlReply {
    int exitCode = kExitOk;
    std::string text;         // for standard output (or standard error when exitCode != 0)
    bool stopServer = false;  // the "stop" command
};

// Nothing when the words (command first) form a valid command, else what is wrong with them.
std::optional<std::string> CheckControlWords(const std::vector<std::string>& words);

// Runs a valid command on the keyboard; an invalid one gets exit code 2 and the reason.
ControlReply RunControl(Keyboard& keyboard, const std::vector<std::string>& words);

// One line per command: "  name ARGS   what it does".
std::string ControlCommandsHelp();

std::string FormatStatus(const KeyboardStatus& status);

}  // namespace qx::sim
