// qx480ctl's command line: the global options, the subcommand with its own options and its
// arguments, the help.
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
    GlobalOptions global;
    const Subcommand* command = nullptr;
    GivenOptions options;  // the subcommand's own
    std::vector<std::string> args;
};

// The parsed command line, or a usage error. Global options may stand anywhere; a subcommand's
// options ("--file F" or "--file=F") after its name. "--" ends the options; an argument "-" or
// one that does not start with '-' is an ordinary argument, and so is every word after the
// arguments a subcommand takes before its free-form rest (Subcommand::optionsEndAfter).
struct ParsedCommandLine {
    std::optional<CommandLine> line;
    std::string error;
};
ParsedCommandLine ParseCommandLine(const std::vector<std::string>& words);

// The help: usage, every form of every subcommand, the options, examples and the exit codes.
void WriteHelp(std::ostream& out);
// The program's name and version, one line.
void WriteVersion(std::ostream& out);

}  // namespace qx::ctl
