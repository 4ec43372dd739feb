// Subcommands that talk to the keyboard: status, read-back, import, profile.
#include <array>
#include <charconv>
#include <ostream>

#include "app/language.h"
#include "device/device_connection.h"
#include "device/image_transfer_commands.h"
#include "device/read_back.h"
#include "device/result_codes.h"
#include "keyboard/current_profile.h"
#include "profiles/profile_file.h"
#include "tools/qx480ctl/keyboard_link.h"
#include "tools/qx480ctl/subcommand.h"

namespace qx::ctl {
namespace {

// State-block bytes 16..47: the numbers of the lighting modes the keyboard offers (0: none).
constexpr std::size_t kFirstModeByte = 16;

int Status(CommandContext& context) {
    KeyboardLink* keyboard = context.Keyboard();
    if (keyboard == nullptr) {
        return kExitNoKeyboard;
    }
    std::array<uint8_t, device::kStateBlockSize> state{};
    const int read = keyboard->Commands().ReadStateBlock(state);
    std::ostream& out = context.Out();
    out << "keyboard: present\n";
    const int profile = keyboard::GetCurrentProfile();
    out << "current profile: ";
    if (profile < 0) {
        out << "unknown\n";
    } else {
        out << profile << '\n';
    }
    out << "macro capacity: " << keyboard->Session().Connection().GetMacroCapacity() << " bytes\n";
    if (read != device::kOk) {
        context.Err() << "qx480ctl: the keyboard's state block cannot be read (" << read << ")\n";
        return kExitFailed;
    }
    out << "lighting modes:\n";
    for (std::size_t i = kFirstModeByte; i < state.size(); ++i) {
        if (state[i] != 0) {
            out << "  " << int{state[i]} << ' ' << app::ModeText(state[i]) << '\n';
        }
    }
    return profile < 0 ? kExitFailed : kExitOk;
}

int ReadBack(CommandContext& context) {
    KeyboardLink* keyboard = context.Keyboard();
    if (keyboard == nullptr) {
        return kExitNoKeyboard;
    }
    const std::string& path = context.Arg(0);
    if (device::ReadBackToFile(path, keyboard->Transfer()) != 1) {
        context.Err() << "qx480ctl: the keyboard could not be read back into " << path << '\n';
        return kExitFailed;
    }
    context.Out() << path << ": read back from the keyboard\n";
    return kExitOk;
}

int Import(CommandContext& context) {
    KeyboardLink* keyboard = context.Keyboard();
    if (keyboard == nullptr) {
        return kExitNoKeyboard;
    }
    const std::string& path = context.Arg(0);
    const device::ImportResult result = device::ImportProfileFile(path, keyboard->Transfer());
    if (result.validation != profiles::kProfileValid || !result.loaded) {
        context.Err() << "qx480ctl: " << path << " was not imported\n";
        return kExitFailed;
    }
    std::ostream& out = context.Out();
    out << "profile store: " << (result.storeSaved == 1 ? "saved" : "not present, not written")
        << '\n';
    if (result.download != 1) {
        context.Err() << "qx480ctl: the download to the keyboard failed\n";
        return kExitFailed;
    }
    out << path << ": imported, all three profiles downloaded\n";
    return kExitOk;
}

int ParseProfile(const std::string& text) {
    int profile = -1;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), profile);
    if (error != std::errc() || end != text.data() + text.size() || profile < 0 ||
        profile > device::kHighestProfile) {
        throw UsageError{"the profile is a number from 0 to 2, not '" + text + "'"};
    }
    return profile;
}

int Profile(CommandContext& context) {
    const bool switching = !context.Args().empty();
    const int wanted = switching ? ParseProfile(context.Arg(0)) : -1;
    KeyboardLink* keyboard = context.Keyboard();
    if (keyboard == nullptr) {
        return kExitNoKeyboard;
    }
    if (switching) {
        keyboard::SetCurrentProfile(wanted);
        if (keyboard::CurrentProfile().Cached() != wanted) {
            context.Err() << "qx480ctl: the keyboard did not switch to profile " << wanted << '\n';
            return kExitFailed;
        }
    }
    const int profile = keyboard::GetCurrentProfile();
    if (profile < 0) {
        context.Err() << "qx480ctl: the current profile cannot be read\n";
        return kExitFailed;
    }
    context.Out() << profile << '\n';
    return kExitOk;
}

constexpr Subcommand kCommands[] = {
    {"status", "", "keyboard, current profile, macro capacity, lighting modes", 0, 0, &Status},
    {"read-back", "FILE", "read the keyboard's profiles and macros into a profile file", 1, 1,
     &ReadBack},
    {"import", "FILE",
     "validate and load a profile file, save it to the profile store, download all profiles", 1, 1,
     &Import},
    {"profile", "[N]", "show the active onboard profile, or switch to profile N (0..2)", 0, 1,
     &Profile},
};

}  // namespace

std::span<const Subcommand> KeyboardCommands() {
    return kCommands;
}

}  // namespace qx::ctl
