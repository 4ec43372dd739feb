#include <array>

#include "tools/qx480ctl/subcommand.h"

namespace qx::ctl {
namespace {

// One line per group of subcommands.
constexpr std::array kGroups{
    &ProfileFileCommands, &KeyboardCommands, &AssignmentCommands, &MacroCommands, &LightingCommands,
};

}  // namespace

std::span<const CommandGroup> CommandGroups() {
    return kGroups;
}

const Subcommand* FindSubcommand(std::string_view name) {
    for (const auto group : kGroups) {
        for (const Subcommand& command : group()) {
            if (command.name == name) {
                return &command;
            }
        }
    }
    return nullptr;
}

bool IsCommandGroupWord(std::string_view word) {
    for (const auto group : kGroups) {
        for (const Subcommand& command : group()) {
            const std::size_t space = command.name.find(' ');
            if (space != std::string_view::npos && command.name.substr(0, space) == word) {
                return true;
            }
        }
    }
    return false;
}

}  // namespace qx::ctl
