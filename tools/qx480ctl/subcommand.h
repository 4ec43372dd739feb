// qx480ctl's subcommands: each is one row of a group's table, and each group lives in a file of
// its own (commands_*.cpp). A new group is a new file with its table and one line in
// subcommand_table.cpp.
#pragma once

#include <functional>
#include <iosfwd>
#include <limits>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qx::ctl {

// Exit codes.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;  // the operation failed or was refused
inline constexpr int kExitUsage = 2;
inline constexpr int kExitNoKeyboard = 3;

class KeyboardLink;

// An option of one subcommand: "--file F" (a value) or "--keyboard" (a flag).
struct CommandOption {
    std::string_view name;   // "--file"
    std::string_view value;  // "F"; empty for a flag
    friend bool operator==(const CommandOption&, const CommandOption&) = default;
};

// The options given to a subcommand, each with its value (empty for a flag).
using GivenOptions = std::vector<std::pair<std::string, std::string>>;

// What the whole command line says beside the subcommand and its arguments.
struct GlobalOptions {
    bool assumeYes = false;  // --yes: questions are answered Yes
    bool force = false;      // --force: edit the keyboard even while the driver runs
    // Not an option: the error stream is a terminal, so transfers show their progress there.
    bool showProgress = false;
};

// What a subcommand gets to work with.
class CommandContext {
  public:
    CommandContext(std::span<const std::string> args, std::ostream& out, std::ostream& err,
                   std::function<KeyboardLink*()> openKeyboard, GivenOptions options = {},
                   GlobalOptions global = {})
        : args_(args),
          out_(out),
          err_(err),
          openKeyboard_(std::move(openKeyboard)),
          options_(std::move(options)),
          global_(global) {}

    // The subcommand's own arguments (its name and every option removed).
    std::span<const std::string> Args() const { return args_; }
    const std::string& Arg(std::size_t i) const { return args_[i]; }
    std::ostream& Out() const { return out_; }
    std::ostream& Err() const { return err_; }

    // The value of one of the subcommand's options ("" for a flag); null when not given.
    const std::string* Option(std::string_view name) const {
        for (const auto& [given, value] : options_) {
            if (given == name) {
                return &value;
            }
        }
        return nullptr;
    }
    bool HasOption(std::string_view name) const { return Option(name) != nullptr; }
    const GlobalOptions& Global() const { return global_; }

    // The attached keyboard, found and read on first use; null when none is attached (the
    // reason has then been written to the error stream and the subcommand returns
    // kExitNoKeyboard).
    KeyboardLink* Keyboard() { return openKeyboard_(); }

  private:
    std::span<const std::string> args_;
    std::ostream& out_;
    std::ostream& err_;
    std::function<KeyboardLink*()> openKeyboard_;
    GivenOptions options_;
    GlobalOptions global_;
};

// A usage error found by a subcommand: the message, and the caller exits with kExitUsage.
struct UsageError {
    std::string message;
};

// A subcommand that cannot go on: the caller writes the message (when there is one) and exits
// with the code.
struct Refusal {
    int exitCode = kExitFailed;
    std::string message;
};

inline constexpr std::size_t kAnyNumber = std::numeric_limits<std::size_t>::max();

struct Subcommand {
    std::string_view name;       // "read-back", or two words: "macro add"
    std::string_view arguments;  // "FILE", "[--repeat N] NAME STEP..."
    std::string_view summary;    // one line for --help
    std::string_view example;    // its arguments in an example: "read-back backup.kpf"
    std::size_t minArgs;
    std::size_t maxArgs;                  // kAnyNumber: no limit
    int (*run)(CommandContext& context);  // may throw UsageError
    std::span<const CommandOption> options = {};
    // After this many arguments every further word is an argument, even one that starts with '-'
    // (the steps of "macro add", where "-A" releases A). 0: options may stand anywhere.
    std::size_t optionsEndAfter = 0;
};

// The tables of the groups.
std::span<const Subcommand> ProfileFileCommands();
std::span<const Subcommand> KeyboardCommands();
std::span<const Subcommand> AssignmentCommands();
std::span<const Subcommand> MacroCommands();
std::span<const Subcommand> LightingCommands();

// A group: the function that gives its table.
using CommandGroup = std::span<const Subcommand> (*)();

// Every group, in the order --help lists them.
std::span<const CommandGroup> CommandGroups();

// The subcommand of that name ("status", "macro add"); null when there is none.
const Subcommand* FindSubcommand(std::string_view name);

// True when some subcommand's name is `word` followed by a second word ("macro").
bool IsCommandGroupWord(std::string_view word);

}  // namespace qx::ctl
