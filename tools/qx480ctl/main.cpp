// qx480ctl: the driver's profile files and keyboard transfers from a terminal. Messages of the
// system appear in the current language on the error stream; results on standard output.
#include <unistd.h>

#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "platform/prompt.h"
#include "platform/qt_settings_store.h"
#include "platform/settings_store.h"
#include "tools/qx480ctl/command_line.h"
#include "tools/qx480ctl/console_prompt.h"
#include "tools/qx480ctl/keyboard_link.h"
#include "tools/qx480ctl/subcommand.h"

namespace {

using namespace qx::ctl;

int Run(const CommandLine& line) {
    qx::platform::QtSettingsStore settings;
    qx::platform::SetCurrentSettings(&settings);
    ConsolePrompt prompt(std::cerr, line.global.assumeYes);
    qx::platform::SetCurrentPrompt(&prompt);

    std::unique_ptr<KeyboardLink> keyboard;
    bool tried = false;
    auto openKeyboard = [&]() -> KeyboardLink* {
        if (!tried) {
            tried = true;
            std::string why;
            keyboard = KeyboardLink::Open(why);
            if (!keyboard) {
                std::cerr << "qx480ctl: " << why << '\n';
            }
        }
        return keyboard.get();
    };
    CommandContext context(line.args, std::cout, std::cerr, openKeyboard, line.options,
                           line.global);
    int result = kExitFailed;
    try {
        result = line.command->run(context);
    } catch (const UsageError& error) {
        std::cerr << "qx480ctl: " << error.message << '\n';
        result = kExitUsage;
    } catch (const Refusal& refusal) {
        if (!refusal.message.empty()) {
            std::cerr << "qx480ctl: " << refusal.message << '\n';
        }
        result = refusal.exitCode;
    }
    keyboard.reset();
    qx::platform::SetCurrentPrompt(nullptr);
    qx::platform::SetCurrentSettings(nullptr);
    std::cout.flush();
    return result;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> words(argv + 1, argv + argc);
    const ParsedCommandLine parsed = ParseCommandLine(words);
    if (!parsed.line) {
        std::cerr << "qx480ctl: " << parsed.error << "\nTry 'qx480ctl --help'.\n";
        return kExitUsage;
    }
    if (parsed.line->help) {
        WriteHelp(std::cout);
        return kExitOk;
    }
    if (parsed.line->version) {
        WriteVersion(std::cout);
        return kExitOk;
    }
    CommandLine line = *parsed.line;
    line.global.showProgress = ::isatty(STDERR_FILENO) == 1;
    return Run(line);
}
