// qx480ctl's subcommands: each is one row of a group's table, and each group lives in a file of
// its own (commands_*.cpp). A new group is a new file with its table and one line in
// subcommand_table.cpp.
#pragma once

#include <functional>
#include <iosfwd>
#include <span>
#include <string>
#include <string_view>

namespace qx::ctl {

// Exit codes.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;  // the operation failed or was refused
inline constexpr int kExitUsage = 2;
inline constexpr int kExitNoKeyboard = 3;

class KeyboardLink;

// What a subcommand gets to work with.
class CommandContext {
  public:
    CommandContext(std::span<const std::string> args, std::ostream& out, std::ostream& err,
                   std::function<KeyboardLink*()> openKeyboard)
        : args_(args), out_(out), err_(err), openKeyboard_(std::move(openKeyboard)) {}

    // The subcommand's own arguments (its name and the global options removed).
    std::span<const std::string> Args() const { return args_; }
    const std::string& Arg(std::size_t i) const { return args_[i]; }
    std::ostream& Out() const { return out_; }
    std::ostream& Err() const { return err_; }

    // The attached keyboard, found and read on first use; null when none is attached (the
    // reason has then been written to the error stream and the subcommand returns
    // kExitNoKeyboard).
    KeyboardLink* Keyboard() { return openKeyboard_(); }

  private:
    std::span<const std::string> args_;
    std::ostream& out_;
    std::ostream& err_;
    std::function<KeyboardLink*()> openKeyboard_;
};

// A usage error found by a subcommand: the message, and the caller exits with kExitUsage.
struct UsageError {
    std::string message;
};

struct Subcommand {
    std::string_view name;       // "read-back"
    std::string_view arguments;  // "FILE", "[N]"
    std::string_view summary;    // one line for --help
    std::size_t minArgs;
    std::size_t maxArgs;
    int (*run)(CommandContext& context);  // may throw UsageError
};

// The tables of the groups.
std::span<const Subcommand> ProfileFileCommands();
std::span<const Subcommand> KeyboardCommands();
std::span<const Subcommand> LightingCommands();

// A group: the function that gives its table.
using CommandGroup = std::span<const Subcommand> (*)();

// Every group, in the order --help lists them.
std::span<const CommandGroup> CommandGroups();

// The subcommand of that name; null when there is none.
const Subcommand* FindSubcommand(std::string_view name);

}  // namespace qx::ctl
