// A prompt for tests of every folder: answers come from a queue the test fills, and every
// message and question is recorded so the test can check what the user would have seen.
// Without a queued answer a question gets its safe answer (No, a cancelled dialog).
#pragma once

#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/prompt.h"

namespace qx::platform::testing {

class ScriptedPrompt : public Prompt {
  public:
    enum class Kind { Message, YesNo, OpenFile, SaveFile };

    struct Question {
        Kind kind;
        std::string text;
        std::string caption;
        bool topmost = false;
        FileDialogOptions options;  // for the file dialogs
        bool answered = false;      // a queued answer was used
    };

    // Queues the answer of the next Yes/No question.
    void QueueYesNo(bool yes);
    // Queues the answer of the next file dialog (open or save); nothing: cancelled.
    void QueueFile(std::optional<std::string> path);

    std::vector<Question> Questions() const;
    std::vector<std::string> MessageTexts() const;  // the texts of the message boxes, in order
    std::size_t UnusedAnswers() const;
    void Clear();

    void ShowMessage(const std::string& text, const std::string& caption = {},
                     bool topmost = false) override;
    bool AskYesNo(const std::string& text, const std::string& caption = {}) override;
    std::optional<std::string> OpenFile(const FileDialogOptions& options) override;
    std::optional<std::string> SaveFile(const FileDialogOptions& options) override;

  private:
    std::optional<std::string> AskFile(Kind kind, const FileDialogOptions& options);

    mutable std::mutex mutex_;
    std::deque<bool> yesNoAnswers_;
    std::deque<std::optional<std::string>> fileAnswers_;
    std::vector<Question> questions_;
};

// Makes a prompt the current one for the lifetime of this object and puts back the default.
class ScopedCurrentPrompt {
  public:
    explicit ScopedCurrentPrompt(Prompt& prompt) { SetCurrentPrompt(&prompt); }
    ~ScopedCurrentPrompt() { SetCurrentPrompt(nullptr); }
    ScopedCurrentPrompt(const ScopedCurrentPrompt&) = delete;
    ScopedCurrentPrompt& operator=(const ScopedCurrentPrompt&) = delete;
};

}  // namespace qx::platform::testing
