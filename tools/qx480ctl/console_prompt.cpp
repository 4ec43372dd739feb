#include "tools/qx480ctl/console_prompt.h"

#include <ostream>

namespace qx::ctl {
namespace {

void WriteText(std::ostream& err, const std::string& text, const std::string& caption) {
    if (!caption.empty()) {
        err << caption << ": ";
    }
    err << text;
}

}  // namespace

void ConsolePrompt::ShowMessage(const std::string& text, const std::string& caption,
                                bool /*topmost*/) {
    WriteText(err_, text, caption);
    err_ << '\n' << std::flush;
}

bool ConsolePrompt::AskYesNo(const std::string& text, const std::string& caption) {
    WriteText(err_, text, caption);
    err_ << (assumeYes_ ? " [yes]" : " [no; --yes answers yes]") << '\n' << std::flush;
    return assumeYes_;
}

std::optional<std::string> ConsolePrompt::OpenFile(const platform::FileDialogOptions&) {
    return std::nullopt;
}

std::optional<std::string> ConsolePrompt::SaveFile(const platform::FileDialogOptions&) {
    return std::nullopt;
}

}  // namespace qx::ctl
