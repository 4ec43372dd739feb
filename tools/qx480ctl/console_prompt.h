// The prompt of a terminal program: messages go to the error stream; a Yes/No question is
// written there too and answered No, unless the user gave --yes; file dialogs are cancelled.
#pragma once

#include <iosfwd>

#include "platform/prompt.h"

namespace qx::ctl {

class ConsolePrompt : public platform::Prompt {
  public:
    ConsolePrompt(std::ostream& err, bool assumeYes) : err_(err), assumeYes_(assumeYes) {}

    void ShowMessage(const std::string& text, const std::string& caption = {},
                     bool topmost = false) override;
    bool AskYesNo(const std::string& text, const std::string& caption = {}) override;
    std::optional<std::string> OpenFile(const platform::FileDialogOptions& options) override;
    std::optional<std::string> SaveFile(const platform::FileDialogOptions& options) override;

  private:
    std::ostream& err_;
    bool assumeYes_;
};

}  // namespace qx::ctl
