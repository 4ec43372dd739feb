#include "tools/qx480ctl/command_line.h"

#include <algorithm>

#include "qx480_version.h"

namespace qx::ctl {
namespace {

constexpr std::size_t kHelpColumn = 22;
constexpr std::size_t kHelpWidth = 79;

// The options every subcommand takes, and what --help says of them.
struct GlobalOption {
    std::string_view shortName;
    std::string_view name;
    std::string_view help;
};
constexpr GlobalOption kGlobalOptions[] = {
    {"-y", "--yes", "answer Yes to the questions of the system's messages"},
    {"", "--force", "edit the keyboard even while the driver runs for this user"},
    {"-h", "--help", "show this help"},
    {"", "--version", "show the version"},
};

// The subcommands' own options, each once, with the commands that take it.
struct OptionHelp {
    std::string_view head;
    std::string_view help;
};
constexpr OptionHelp kCommandOptions[] = {
    {"--file F", "(assign, macro) work on profile file F in place, not on the keyboard"},
    {"--profile N", "(assign) the onboard profile 0..2 (default: the active one; with --file 0)"},
    {"--bank B", "(assign) the G-key bank of G1..G9: 0 (default) or 1"},
    {"--repeat N", "(assign ... macro, macro add) the macro's repeat count, 1..255"},
    {"--keyboard", "(dump) print the keyboard's own content instead of a file"},
};

std::string Usage(const Subcommand& command) {
    std::string usage(command.name);
    if (!command.arguments.empty()) {
        usage += ' ';
        usage += command.arguments;
    }
    return usage;
}

bool IsOptionWord(const std::string& word) {
    return word.size() > 1 && word.front() == '-';
}

// Collects the words of one command line, keeping the first error.
class Parser {
  public:
    ParsedCommandLine Parse(const std::vector<std::string>& words) {
        for (next_ = 0; next_ < words.size(); ++next_) {
            Word(words, words[next_]);
        }
        if (line_.help || line_.version) {
            return {line_, {}};
        }
        if (error_.empty()) {
            Finish();
        }
        if (!error_.empty()) {
            return {std::nullopt, error_};
        }
        return {line_, {}};
    }

  private:
    void Fail(std::string message) {
        if (error_.empty()) {
            error_ = std::move(message);
        }
    }

    bool InRest() const {
        const Subcommand* command = line_.command;
        return command != nullptr && command->optionsEndAfter > 0 &&
               line_.args.size() >= command->optionsEndAfter;
    }

    void Word(const std::vector<std::string>& words, const std::string& word) {
        if (optionsEnded_ || InRest() || !IsOptionWord(word)) {
            Positional(word);
        } else if (word == "--") {
            optionsEnded_ = true;
        } else if (!GlobalOptionWord(word)) {
            CommandOptionWord(words, word);
        }
    }

    void Positional(const std::string& word) {
        if (line_.command != nullptr) {
            line_.args.push_back(word);
        } else if (groupWord_.empty()) {
            line_.command = FindSubcommand(word);
            if (line_.command == nullptr) {
                if (IsCommandGroupWord(word)) {
                    groupWord_ = word;
                } else {
                    Fail("unknown command '" + word + "'");
                }
            }
        } else {
            line_.command = FindSubcommand(groupWord_ + ' ' + word);
            if (line_.command == nullptr) {
                Fail("unknown command '" + groupWord_ + ' ' + word + "'");
            }
        }
    }

    bool GlobalOptionWord(const std::string& word) {
        if (word == "-h" || word == "--help") {
            line_.help = true;
        } else if (word == "--version") {
            line_.version = true;
        } else if (word == "-y" || word == "--yes") {
            line_.global.assumeYes = true;
        } else if (word == "--force") {
            line_.global.force = true;
        } else {
            return false;
        }
        return true;
    }

    void CommandOptionWord(const std::vector<std::string>& words, const std::string& word) {
        const std::size_t equals = word.find('=');
        const std::string name = word.substr(0, equals);
        const CommandOption* option = nullptr;
        if (line_.command != nullptr) {
            const auto options = line_.command->options;
            const auto found = std::ranges::find(options, name, &CommandOption::name);
            option = found == options.end() ? nullptr : &*found;
        }
        if (option == nullptr) {
            Fail("unknown option '" + word + "'" +
                 (line_.command != nullptr ? " for " + std::string(line_.command->name) : ""));
            return;
        }
        std::string value;
        if (option->value.empty()) {
            if (equals != std::string::npos) {
                Fail(name + " takes no value");
                return;
            }
        } else if (equals != std::string::npos) {
            value = word.substr(equals + 1);
        } else if (next_ + 1 < words.size()) {
            value = words[++next_];
        } else {
            Fail(name + " needs a value (" + name + ' ' + std::string(option->value) + ")");
            return;
        }
        const bool repeated = std::ranges::any_of(
            line_.options, [&](const auto& given) { return given.first == name; });
        if (repeated) {
            Fail(name + " is given twice");
            return;
        }
        line_.options.emplace_back(name, std::move(value));
    }

    void Finish() {
        const Subcommand* command = line_.command;
        if (command == nullptr) {
            Fail(groupWord_.empty() ? "no command given"
                                    : "'" + groupWord_ + "' needs one of its commands: see " +
                                          "'qx480ctl --help'");
            return;
        }
        if (line_.args.size() < command->minArgs || line_.args.size() > command->maxArgs) {
            Fail("usage: qx480ctl " + Usage(*command));
        }
    }

    CommandLine line_;
    std::string groupWord_;
    std::string error_;
    bool optionsEnded_ = false;
    std::size_t next_ = 0;
};

// The head, then the text from the help column on, wrapped at spaces to the help's width.
void WriteColumns(std::ostream& out, std::string head, std::string_view text) {
    if (head.size() + 2 > kHelpColumn) {
        out << head << '\n';
        head.clear();
    }
    head.resize(kHelpColumn, ' ');
    std::string line = head;
    while (!text.empty()) {
        const std::size_t room = kHelpWidth - kHelpColumn;
        std::size_t cut = text.size();
        if (cut > room) {
            cut = text.rfind(' ', room);
            cut = cut == std::string_view::npos ? text.find(' ') : cut;
            cut = cut == std::string_view::npos ? text.size() : cut;
        }
        out << line << text.substr(0, cut) << '\n';
        text.remove_prefix(std::min(text.size(), cut + 1));
        line.assign(kHelpColumn, ' ');
    }
}

}  // namespace

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& words) {
    return Parser().Parse(words);
}

void WriteHelp(std::ostream& out) {
    out << "Usage: qx480ctl [--yes] [--force] COMMAND [ARGUMENTS]\n"
           "Configures the QX480 keyboard and its profile files from a terminal.\n\n"
           "Commands:\n";
    for (const auto group : CommandGroups()) {
        for (const Subcommand& command : group()) {
            WriteColumns(out, "  " + Usage(command), command.summary);
        }
    }
    out << "\nOptions:\n";
    for (const GlobalOption& option : kGlobalOptions) {
        const std::string names = option.shortName.empty() ? "      " + std::string(option.name)
                                                           : "  " + std::string(option.shortName) +
                                                                 ", " + std::string(option.name);
        WriteColumns(out, names, option.help);
    }
    for (const OptionHelp& option : kCommandOptions) {
        WriteColumns(out, "  " + std::string(option.head), option.help);
    }
    out << "\nExamples:\n";
    for (const auto group : CommandGroups()) {
        for (const Subcommand& command : group()) {
            out << "  qx480ctl " << command.example << '\n';
        }
    }
    out << "\nExit codes: 0 success, 1 the operation failed or was refused, 2 bad arguments,\n"
           "3 no keyboard attached.\n";
}

void WriteVersion(std::ostream& out) {
    out << "qx480ctl " << kProgramVersion << '\n';
}

}  // namespace qx::ctl
