#include <array>

#include "tools/qx480ctl/subcommand.h"

namespace qx::ctl {
namespace {

// One line per group of subcommands.
constexpr std::array kGroups{
    &ProfileFileCommands,
    &KeyboardCommands,
    &LightingCommands,
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

}  // namespace qx::ctl
