// A prompt that may be called from the transfer thread: message boxes and dialogs are widgets
// and live on the user-interface thread, so a call from any other thread runs there and the
// caller waits for the answer. The user-interface thread must keep handling events meanwhile
// (the busy state's event loop does). While one exists it is the current prompt; it puts the
// previous one back when it goes.
#pragma once

#include "mainwnd/thread_relay.h"
#include "platform/prompt.h"

namespace qx::mainwnd {

class WindowThreadPrompt final : public platform::Prompt {
  public:
    // Made on the user-interface thread; the prompt current until now answers there.
    WindowThreadPrompt();
    ~WindowThreadPrompt() override;
    WindowThreadPrompt(const WindowThreadPrompt&) = delete;
    WindowThreadPrompt& operator=(const WindowThreadPrompt&) = delete;

    void ShowMessage(const std::string& text, const std::string& caption = {},
                     bool topmost = false) override;
    bool AskYesNo(const std::string& text, const std::string& caption = {}) override;
    std::optional<std::string> OpenFile(const platform::FileDialogOptions& options) override;
    std::optional<std::string> SaveFile(const platform::FileDialogOptions& options) override;

  private:
    // Runs `call` on the window's thread and waits for it.
    template <typename Call>
    auto OnWindowThread(Call call);

    ThreadRelay relay_;
    platform::Prompt& inner_;
};

}  // namespace qx::mainwnd
