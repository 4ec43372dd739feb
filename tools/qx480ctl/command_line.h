// qx480ctl's command line: the global options, the subcommand and its arguments, the help.
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "tools/qx480ctl/subcommand.h"

namespace qx::ctl {

struct CommandLine {
    bool help = false;
    bool version = false;
    bool assumeYes = false;
    const Subcommand* command = nullptr;
    std::vector<std::string> args;
};

// The parsed command line, or a usage error. "--" ends the options; an argument "-" or one
// that does not start with '-' is an ordinary argument.
struct ParsedCommandLine {
    std::optional<CommandLine> line;
    std::string error;
};
ParsedCommandLine ParseCommandLine(const std::vector<std::string>& words);

// The help: usage, every subcommand of every group, the options and the exit codes.
void WriteHelp(std::ostream& out);
// The program's name and version, one line.
void WriteVersion(std::ostream& out);

}  // namespace qx::ctl
