// The prompt of the program: QMessageBox and QFileDialog, owned by the given window. Each runs
// modally (its own event loop) until answered, or until the program ends: CloseAllForExit closes
// every one still open, innermost first, and its caller sees No or Cancel.
#pragma once

#include <QPointer>
#include <QWidget>
#include <chrono>
#include <vector>

#include "platform/prompt.h"

namespace qx::platform {

class QtPrompt : public Prompt {
  public:
    // `useNativeDialogs` false keeps the file dialogs Qt's own (tests drive them).
    explicit QtPrompt(QWidget* owner = nullptr, bool useNativeDialogs = true);

    // The window that owns the boxes and dialogs (the main window, once it exists).
    void SetOwner(QWidget* owner);
    // A box or dialog left open this long gets the key that answers it with its default (Return
    // for OK and No, Escape for a file dialog); tests of whole processes stand in for the user
    // with it.
    // 0 (the program's own setting): never.
    void SetAnswerAfter(std::chrono::milliseconds wait) { answerAfter_ = wait; }

    void ShowMessage(const std::string& text, const std::string& caption = {},
                     bool topmost = false) override;
    bool AskYesNo(const std::string& text, const std::string& caption = {}) override;
    std::optional<std::string> OpenFile(const FileDialogOptions& options) override;
    std::optional<std::string> SaveFile(const FileDialogOptions& options) override;
    void CloseAllForExit() override;

  private:
    std::optional<std::string> RunFileDialog(const FileDialogOptions& options, bool save);
    // Runs `dialog` modally; its result, or nothing when it was closed for the exit (or the
    // exit had begun). `answerKey` answers it as the user would (Return: the default button;
    // Escape: cancel) when it is left open past the answer time.
    std::optional<int> Run(QDialog& dialog, int answerKey);

    QPointer<QWidget> owner_;
    bool useNativeDialogs_;
    std::vector<QPointer<QDialog>> open_;  // outermost first
    bool closedForExit_ = false;
    std::chrono::milliseconds answerAfter_{0};
};

}  // namespace qx::platform
