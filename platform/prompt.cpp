#include "platform/prompt.h"

#include <atomic>
#include <cstdio>

namespace qx::platform {
namespace {

// Until the program installs its prompt: messages go to the error stream, every question is
// answered with its safe choice (No, cancel).
class StderrPrompt : public Prompt {
  public:
    void ShowMessage(const std::string& text, const std::string& caption, bool) override {
        std::fprintf(stderr, "%s%s%s\n", caption.c_str(), caption.empty() ? "" : ": ",
                     text.c_str());
    }
    bool AskYesNo(const std::string& text, const std::string& caption) override {
        ShowMessage(text, caption, false);
        return false;
    }
    std::optional<std::string> OpenFile(const FileDialogOptions&) override { return std::nullopt; }
    std::optional<std::string> SaveFile(const FileDialogOptions&) override { return std::nullopt; }
};

std::atomic<Prompt*> currentPrompt{nullptr};

}  // namespace

Prompt& CurrentPrompt() {
    static StderrPrompt fallback;
    Prompt* prompt = currentPrompt.load(std::memory_order_acquire);
    return prompt != nullptr ? *prompt : fallback;
}

void SetCurrentPrompt(Prompt* prompt) {
    currentPrompt.store(prompt, std::memory_order_release);
}

}  // namespace qx::platform
