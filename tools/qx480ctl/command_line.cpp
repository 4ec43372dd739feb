#include "tools/qx480ctl/command_line.h"

#include <algorithm>

#include "qx480_version.h"

namespace qx::ctl {
namespace {

constexpr std::size_t kHelpColumn = 22;

std::string CountError(const Subcommand& command) {
    std::string usage = std::string(command.name);
    if (!command.arguments.empty()) {
        usage += ' ';
        usage += command.arguments;
    }
    return "usage: qx480ctl " + usage;
}

}  // namespace

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& words) {
    CommandLine line;
    std::vector<std::string> positional;
    bool optionsEnded = false;
    for (const std::string& word : words) {
        if (optionsEnded || word == "-" || word.empty() || word.front() != '-') {
            positional.push_back(word);
        } else if (word == "--") {
            optionsEnded = true;
        } else if (word == "-h" || word == "--help") {
            line.help = true;
        } else if (word == "--version") {
            line.version = true;
        } else if (word == "-y" || word == "--yes") {
            line.assumeYes = true;
        } else {
            return {std::nullopt, "unknown option '" + word + "'"};
        }
    }
    if (line.help || line.version) {
        return {line, {}};
    }
    if (positional.empty()) {
        return {std::nullopt, "no command given"};
    }
    line.command = FindSubcommand(positional.front());
    if (line.command == nullptr) {
        return {std::nullopt, "unknown command '" + positional.front() + "'"};
    }
    line.args.assign(positional.begin() + 1, positional.end());
    if (line.args.size() < line.command->minArgs || line.args.size() > line.command->maxArgs) {
        return {std::nullopt, CountError(*line.command)};
    }
    return {line, {}};
}

void WriteHelp(std::ostream& out) {
    out << "Usage: qx480ctl [--yes] COMMAND [ARGUMENTS]\n"
           "Configures the QX480 keyboard and its profile files from a terminal.\n\n"
           "Commands:\n";
    for (const auto group : CommandGroups()) {
        for (const Subcommand& command : group()) {
            std::string head = "  " + std::string(command.name);
            if (!command.arguments.empty()) {
                head += ' ';
                head += command.arguments;
            }
            head.resize(std::max(head.size() + 2, kHelpColumn), ' ');
            out << head << command.summary << '\n';
        }
    }
    out << "\nOptions:\n"
           "  -y, --yes           answer Yes to the questions of the system's messages\n"
           "  -h, --help          show this help\n"
           "      --version       show the version\n"
           "\nExit codes: 0 success, 1 the operation failed or was refused, 2 bad arguments,\n"
           "3 no keyboard attached.\n";
}

void WriteVersion(std::ostream& out) {
    out << "qx480ctl " << kProgramVersion << '\n';
}

}  // namespace qx::ctl
