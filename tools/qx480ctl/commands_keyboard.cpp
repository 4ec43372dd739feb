// Subcommands that talk to the keyboard: status, read-back, import, apply, profile.
#include <stdlib.h>
#include <unistd.h>

#include <array>
#include <charconv>
#include <cstdlib>
#include <memory>
#include <ostream>

#include "device/connection/current_profile.h"
#include "device/connection/device_connection.h"
#include "device/link/result_codes.h"
#include "device/transfer/image_transfer_commands.h"
#include "device/transfer/read_back.h"
#include "lang/language.h"
#include "profiles/profile_file.h"
#include "tools/qx480ctl/json_document_file.h"
#include "tools/qx480ctl/keyboard_link.h"
#include "tools/qx480ctl/profile_session.h"
#include "tools/qx480ctl/subcommand.h"
#include "tools/qx480ctl/terminal_progress.h"

namespace qx::ctl {
namespace {

// State-block bytes 16..47: the numbers of the lighting modes the keyboard offers (0: none).
constexpr std::size_t kFirstModeByte = 16;

// The progress of a transfer on the error stream when it is a terminal; none otherwise.
std::unique_ptr<TerminalProgress> ShownProgress(const CommandContext& context, const char* label) {
    if (!context.Global().showProgress) {
        return nullptr;
    }
    return std::make_unique<TerminalProgress>(context.Err(), label);
}

int Status(CommandContext& context) {
    KeyboardLink* keyboard = context.Keyboard();
    if (keyboard == nullptr) {
        return kExitNoKeyboard;
    }
    std::array<uint8_t, device::kStateBlockSize> state{};
    const int read = keyboard->Commands().ReadStateBlock(state);
    std::ostream& out = context.Out();
    out << "keyboard: present\n";
    const int profile = device::GetCurrentProfile();
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
            out << "  " << int{state[i]} << ' ' << lang::ModeText(state[i]) << '\n';
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
    device::TransferLink link = keyboard->Transfer();
    auto progress = ShownProgress(context, "Reading the keyboard");
    link.progress = progress.get();
    const int read = device::ReadBackToFile(path, link);
    progress.reset();
    if (read != 1) {
        context.Err() << "qx480ctl: the keyboard could not be read back into " << path << '\n';
        return kExitFailed;
    }
    context.Out() << path << ": read back from the keyboard\n";
    return kExitOk;
}

// What the driver's restore does with the file at `path`; `name` is how the user named it.
int ImportFile(CommandContext& context, const std::string& path, const std::string& name) {
    KeyboardLink* keyboard = context.Keyboard();
    if (keyboard == nullptr) {
        return kExitNoKeyboard;
    }
    device::TransferLink link = keyboard->Transfer();
    auto progress = ShownProgress(context, "Writing to the keyboard");
    link.progress = progress.get();
    const device::ImportResult result = device::ImportProfileFile(path, link);
    progress.reset();
    WriteTransferNotices(context.Err(), result.notices);
    if (result.validation != profiles::kProfileValid || !result.loaded) {
        context.Err() << "qx480ctl: " << name << " was not imported\n";
        return kExitFailed;
    }
    std::ostream& out = context.Out();
    out << "profile store: " << (result.storeSaved == 1 ? "saved" : "not present, not written")
        << '\n';
    if (result.download != 1) {
        context.Err() << "qx480ctl: the download to the keyboard failed\n";
        return kExitFailed;
    }
    out << name << ": imported, all three profiles downloaded\n";
    return kExitOk;
}

int Import(CommandContext& context) {
    RefuseWhileDriverRuns(context);
    return ImportFile(context, context.Arg(0), context.Arg(0));
}

// A private folder for the profile file a JSON document describes, removed with its file.
class BuiltFile {
  public:
    explicit BuiltFile(const ProfileParts& parts) {
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern =
            std::string(tmp != nullptr && tmp[0] == '/' ? tmp : "/tmp") + "/qx480ctl-XXXXXX";
        if (::mkdtemp(pattern.data()) == nullptr) {
            throw Refusal{kExitFailed, "no temporary folder for the built profile file"};
        }
        folder_ = pattern;
        path_ = folder_ + "/built.kpf";
        if (!WriteProfileParts(path_, parts)) {
            throw Refusal{kExitFailed, "the built profile file cannot be written"};
        }
    }
    ~BuiltFile() {
        ::unlink(path_.c_str());
        ::rmdir(folder_.c_str());
    }
    BuiltFile(const BuiltFile&) = delete;
    BuiltFile& operator=(const BuiltFile&) = delete;
    const std::string& Path() const { return path_; }

  private:
    std::string folder_;
    std::string path_;
};

int Apply(CommandContext& context) {
    const std::string& path = context.Arg(0);
    if (path != "-" && !LooksLikeJson(path)) {
        RefuseWhileDriverRuns(context);
        return ImportFile(context, path, path);
    }
    const ProfileParts parts = BuildFromJsonFile(path);  // a bad document reaches nothing
    RefuseWhileDriverRuns(context);
    const BuiltFile built(parts);
    return ImportFile(context, built.Path(), path == "-" ? "standard input" : path);
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
        device::SetCurrentProfile(wanted);
        if (device::CurrentProfile().Cached() != wanted) {
            context.Err() << "qx480ctl: the keyboard did not switch to profile " << wanted << '\n';
            return kExitFailed;
        }
    }
    const int profile = device::GetCurrentProfile();
    if (profile < 0) {
        context.Err() << "qx480ctl: the current profile cannot be read\n";
        return kExitFailed;
    }
    context.Out() << profile << '\n';
    return kExitOk;
}

constexpr Subcommand kCommands[] = {
    {"status", "", "keyboard, current profile, macro capacity, lighting modes", "status", 0, 0,
     &Status},
    {"read-back", "FILE", "read the keyboard's profiles and macros into a profile file",
     "read-back backup.kpf", 1, 1, &ReadBack},
    {"import", "FILE",
     "validate and load a profile file, save it to the profile store, download all profiles",
     "import backup.kpf", 1, 1, &Import},
    {"apply", "FILE", "import a profile file or a JSON document of one (as dump writes it)",
     "apply backup.json", 1, 1, &Apply},
    {"profile", "[N]", "show the active onboard profile, or switch to profile N (0..2)",
     "profile 1", 0, 1, &Profile},
};

}  // namespace

std::span<const Subcommand> KeyboardCommands() {
    return kCommands;
}

}  // namespace qx::ctl
