#include "platform/testing/scripted_prompt.h"

#include <utility>

namespace qx::platform::testing {

void ScriptedPrompt::QueueYesNo(bool yes) {
    const std::lock_guard lock(mutex_);
    yesNoAnswers_.push_back(yes);
}

void ScriptedPrompt::QueueFile(std::optional<std::string> path) {
    const std::lock_guard lock(mutex_);
    fileAnswers_.push_back(std::move(path));
}

std::vector<ScriptedPrompt::Question> ScriptedPrompt::Questions() const {
    const std::lock_guard lock(mutex_);
    return questions_;
}

std::vector<std::string> ScriptedPrompt::MessageTexts() const {
    const std::lock_guard lock(mutex_);
    std::vector<std::string> texts;
    for (const Question& question : questions_) {
        if (question.kind == Kind::Message) {
            texts.push_back(question.text);
        }
    }
    return texts;
}

std::size_t ScriptedPrompt::UnusedAnswers() const {
    const std::lock_guard lock(mutex_);
    return yesNoAnswers_.size() + fileAnswers_.size();
}

void ScriptedPrompt::Clear() {
    const std::lock_guard lock(mutex_);
    yesNoAnswers_.clear();
    fileAnswers_.clear();
    questions_.clear();
}

void ScriptedPrompt::ShowMessage(const std::string& text, const std::string& caption,
                                 bool topmost) {
    const std::lock_guard lock(mutex_);
    questions_.push_back({Kind::Message, text, caption, topmost, {}, true});
}

bool ScriptedPrompt::AskYesNo(const std::string& text, const std::string& caption) {
    const std::lock_guard lock(mutex_);
    Question question{Kind::YesNo, text, caption, false, {}, !yesNoAnswers_.empty()};
    bool yes = false;
    if (question.answered) {
        yes = yesNoAnswers_.front();
        yesNoAnswers_.pop_front();
    }
    questions_.push_back(std::move(question));
    return yes;
}

std::optional<std::string> ScriptedPrompt::OpenFile(const FileDialogOptions& options) {
    return AskFile(Kind::OpenFile, options);
}

std::optional<std::string> ScriptedPrompt::SaveFile(const FileDialogOptions& options) {
    return AskFile(Kind::SaveFile, options);
}

std::optional<std::string> ScriptedPrompt::AskFile(Kind kind, const FileDialogOptions& options) {
    const std::lock_guard lock(mutex_);
    Question question{kind, {}, {}, false, options, !fileAnswers_.empty()};
    std::optional<std::string> path;
    if (question.answered) {
        path = std::move(fileAnswers_.front());
        fileAnswers_.pop_front();
    }
    questions_.push_back(std::move(question));
    return path;
}

}  // namespace qx::platform::testing
