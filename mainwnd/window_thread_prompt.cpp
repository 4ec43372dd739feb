#include "mainwnd/window_thread_prompt.h"

#include <type_traits>

namespace qx::mainwnd {

WindowThreadPrompt::WindowThreadPrompt() : inner_(platform::CurrentPrompt()) {
    platform::SetCurrentPrompt(this);
}

WindowThreadPrompt::~WindowThreadPrompt() {
    platform::SetCurrentPrompt(&inner_);
}

template <typename Call>
auto WindowThreadPrompt::OnWindowThread(Call call) {
    std::invoke_result_t<Call> result{};
    relay_.RunOnOwnThread([&] { result = call(); });
    return result;
}

void WindowThreadPrompt::ShowMessage(const std::string& text, const std::string& caption,
                                     bool topmost) {
    OnWindowThread([&] {
        inner_.ShowMessage(text, caption, topmost);
        return true;
    });
}

bool WindowThreadPrompt::AskYesNo(const std::string& text, const std::string& caption) {
    return OnWindowThread([&] { return inner_.AskYesNo(text, caption); });
}

std::optional<std::string> WindowThreadPrompt::OpenFile(
    const platform::FileDialogOptions& options) {
    return OnWindowThread([&] { return inner_.OpenFile(options); });
}

std::optional<std::string> WindowThreadPrompt::SaveFile(
    const platform::FileDialogOptions& options) {
    return OnWindowThread([&] { return inner_.SaveFile(options); });
}

}  // namespace qx::mainwnd
