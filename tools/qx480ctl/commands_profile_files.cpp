// Subcommands on profile files alone (no keyboard needed): new, validate, dump.
#include <ostream>

#include "profiles/profile_file.h"
#include "profiles/profile_format.h"
#include "tools/qx480ctl/json_writer.h"
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

int Dump(CommandContext& context) {
    const std::string& path = context.Arg(0);
    if (!CheckFile(context, path)) {
        return kExitFailed;
    }
    profiles::ProfileContents contents;
    const profiles::ProfileCheck read = profiles::ReadProfileContents(path, contents);
    if (read != profiles::ProfileCheck::Valid) {
        context.Err() << path << ": refused: " << profiles::DescribeProfileCheck(read) << '\n';
        return kExitFailed;
    }
    JsonWriter json(context.Out());
    DumpProfile(contents, json);
    return kExitOk;
}

constexpr Subcommand kCommands[] = {
    {"new", "FILE", "write a default profile file (no keyboard needed)", 1, 1, &NewFile},
    {"validate", "FILE", "check a profile file and say why it is refused", 1, 1, &Validate},
    {"dump", "FILE", "print a profile file as JSON", 1, 1, &Dump},
};

}  // namespace

std::span<const Subcommand> ProfileFileCommands() {
    return kCommands;
}

}  // namespace qx::ctl
