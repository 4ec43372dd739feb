// The prompt of the program: QMessageBox and QFileDialog, owned by the given window.
#pragma once

#include <QPointer>
#include <QWidget>

#include "platform/prompt.h"

namespace qx::platform {

class QtPrompt : public Prompt {
  public:
    // `useNativeDialogs` false keeps the file dialogs Qt's own (tests drive them).
    explicit QtPrompt(QWidget* owner = nullptr, bool useNativeDialogs = true);

    // The window that owns the boxes and dialogs (the main window, once it exists).
    void SetOwner(QWidget* owner);

    void ShowMessage(const std::string& text, const std::string& caption = {},
                     bool topmost = false) override;
    bool AskYesNo(const std::string& text, const std::string& caption = {}) override;
    std::optional<std::string> OpenFile(const FileDialogOptions& options) override;
    std::optional<std::string> SaveFile(const FileDialogOptions& options) override;

  private:
    std::optional<std::string> RunFileDialog(const FileDialogOptions& options, bool save);

    QPointer<QWidget> owner_;
    bool useNativeDialogs_;
};

}  // namespace qx::platform
