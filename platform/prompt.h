// Message boxes and file dialogs as the program's logic asks for them. The widgets implement
// this with QMessageBox / QFileDialog; tests implement it with scripted answers, so every
// question and message the logic produces can be checked without a screen.
#pragma once

#include <optional>
#include <string>

namespace qx::platform {

enum class PromptAnswer { Ok, Yes, No };

// Options of a file dialog, as the program's windows fill them in.
struct FileDialogOptions {
    std::string defaultExtension;  // without the dot, e.g. "kpf"
    std::string initialName;       // e.g. "*.kpf", or a full suggested path
    std::string initialFolder;     // empty: the dialog's own choice
    // Filter in the "(*.kpf)|*.kpf|(*.*)|*.*||" form: pairs of label and pattern separated by '|'.
    std::string filter;
    bool hideReadOnly = false;
    bool promptBeforeOverwrite = false;
};

class Prompt {
  public:
    virtual ~Prompt() = default;
    // A message box with only an OK button. An empty caption shows no title text.
    virtual void ShowMessage(const std::string& text, const std::string& caption = {},
                             bool topmost = false) = 0;
    // A Yes/No question whose default button is No. True only for Yes.
    virtual bool AskYesNo(const std::string& text, const std::string& caption = {}) = 0;
    // The chosen file's full path, or nothing when the user cancelled.
    virtual std::optional<std::string> OpenFile(const FileDialogOptions& options) = 0;
    virtual std::optional<std::string> SaveFile(const FileDialogOptions& options) = 0;

    // The program is ending: every box and dialog open now closes as if answered No / Cancel,
    // and every later one gets that answer at once without being shown. A prompt whose
    // questions never stay open has nothing to close.
    virtual void CloseAllForExit() {}
};

// The prompt the program uses; set once at start (the Qt one) or by a test (a scripted one).
// Until set (or after setting nullptr) messages go to the error stream and every question gets
// its safe answer: No, or a cancelled dialog. The caller keeps ownership of the prompt set.
Prompt& CurrentPrompt();
void SetCurrentPrompt(Prompt* prompt);

}  // namespace qx::platform
