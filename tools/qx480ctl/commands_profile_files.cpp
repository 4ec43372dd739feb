// Subcommands on profile files: new, validate, dump (of a file, or of the keyboard's content),
// build (the file a dump describes).
#include <ostream>

#include "device/transfer/read_back.h"
#include "profiles/profile_file.h"
#include "profiles/profile_format.h"
#include "tools/qx480ctl/json_document_file.h"
#include "tools/qx480ctl/json_writer.h"
#include "tools/qx480ctl/keyboard_link.h"
#include "tools/qx480ctl/profile_dump.h"
#include "tools/qx480ctl/subcommand.h"

namespace qx::ctl {
namespace {

int NewFile(CommandContext& context) {
    const std::string& path = context.Arg(0);
    if (profiles::WriteDefaultProfileFile(path, profiles::kWriterFlag, false) != 1) {
        context.Err() << "qx480ctl: cannot write " << path << '\n';
        return kExitFailed;
    }
    context.Out() << path << ": default profile file written\n";
    return kExitOk;
}

// Validates the file as an import would (a format error is shown as the driver shows it) and
// says why a refused file was refused.
bool CheckFile(CommandContext& context, const std::string& path) {
    const profiles::ProfileCheck why = profiles::CheckProfileFile(path);
    if (profiles::ValidateProfileFile(path) == profiles::kProfileValid) {
        return true;
    }
    context.Err() << path << ": refused: " << profiles::DescribeProfileCheck(why) << '\n';
    return false;
}

int Validate(CommandContext& context) {
    const std::string& path = context.Arg(0);
    if (!CheckFile(context, path)) {
        return kExitFailed;
    }
    context.Out() << path << ": valid\n";
    return kExitOk;
}

int DumpKeyboard(CommandContext& context) {
    KeyboardLink* keyboard = context.Keyboard();
    if (keyboard == nullptr) {
        return kExitNoKeyboard;
    }
    auto contents = device::ReadBackContents(keyboard->Transfer());
    if (!contents) {
        context.Err() << "qx480ctl: the keyboard's content could not be read back\n";
        return kExitFailed;
    }
    JsonWriter json(context.Out());
    DumpProfile(PartsOfContents(std::move(*contents)), json);
    return kExitOk;
}

int Dump(CommandContext& context) {
    const bool keyboard = context.HasOption("--keyboard");
    if (keyboard == !context.Args().empty()) {
        throw UsageError{"usage: qx480ctl dump FILE, or qx480ctl dump --keyboard"};
    }
    if (keyboard) {
        return DumpKeyboard(context);
    }
    const std::string& path = context.Arg(0);
    if (!CheckFile(context, path)) {
        return kExitFailed;
    }
    const ReadParts read = ReadProfileParts(path);
    if (!read.parts) {
        context.Err() << path << ": refused: " << profiles::DescribeProfileCheck(read.check)
                      << '\n';
        return kExitFailed;
    }
    JsonWriter json(context.Out());
    DumpProfile(*read.parts, json);
    return kExitOk;
}

int Build(CommandContext& context) {
    const ProfileParts parts = BuildFromJsonFile(context.Arg(0));
    const std::string& path = context.Arg(1);
    if (!WriteProfileParts(path, parts)) {
        context.Err() << "qx480ctl: cannot write " << path << '\n';
        return kExitFailed;
    }
    context.Out() << path << ": built, " << parts.macros.size() << " macros, "
                  << parts.stringArea.size() << " bytes of texts\n";
    return kExitOk;
}

constexpr CommandOption kDumpOptions[] = {{"--keyboard", ""}};

constexpr Subcommand kCommands[] = {
    {"new", "FILE", "write a default profile file (no keyboard needed)", "new empty.kpf", 1, 1,
     &NewFile},
    {"validate", "FILE", "check a profile file and say why it is refused", "validate backup.kpf", 1,
     1, &Validate},
    {"dump", "FILE | --keyboard",
     "print a profile file, or the keyboard's own content, as JSON (see the README)",
     "dump backup.kpf > backup.json", 0, 1, &Dump, kDumpOptions},
    {"build", "JSON FILE",
     "write the profile file a JSON document describes (the inverse of dump; JSON - reads "
     "standard input)",
     "build backup.json backup.kpf", 2, 2, &Build},
};

}  // namespace

std::span<const Subcommand> ProfileFileCommands() {
    return kCommands;
}

}  // namespace qx::ctl
