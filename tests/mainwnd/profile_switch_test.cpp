// The profile switch without a window: what it leaves alone when it refuses, and that a program
// ending while it asks about pending changes neither applies nor discards them.
#include "mainwnd/profile_switch.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "lang/language.h"
#include "lang/language_keys.h"
#include "mainwnd/sub_windows.h"
#include "platform/testing/scripted_prompt.h"

namespace qx::mainwnd {
namespace {

// A prompt whose Yes/No question runs `whileOpen` before it is answered, as a nested event loop
// runs other handlers.
class AskingPrompt final : public platform::testing::ScriptedPrompt {
  public:
    bool AskYesNo(const std::string& text, const std::string& caption) override {
        if (whileOpen) {
            whileOpen();
        }
        return ScriptedPrompt::AskYesNo(text, caption);
    }
    std::function<void()> whileOpen;
};

// Counts what the switch asks of the window.
struct FakeWindow {
    ProfileSwitchHost Host() {
        ProfileSwitchHost host;
        host.showLightingOf = [this](int) { ++calls; };
        host.switchLightingOff = [this] { ++calls; };
        host.markProfileButton = [this](int) { ++calls; };
        host.refreshKeyButtons = [this](const keyassign::BlockSelection&) { ++calls; };
        host.rebuildProfileMenu = [this] { ++calls; };
        host.hasPendingChanges = [this] { return pending; };
        host.setPendingChanges = [this](bool) { ++calls; };
        host.applyPendingChanges = [this] { ++calls; };
        host.releaseHeldMessages = [this] { ++released; };
        host.isEnding = [this] { return ending; };
        host.runTransfer = [](const std::function<void()>& job) { job(); };
        host.session = [] { return nullptr; };
        return host;
    }
    int calls = 0;
    int released = 0;
    bool pending = false;
    bool ending = false;
};

TEST(ProfileSwitchTest, RefusalsAndAnEndDuringTheQuestionLeaveTheWindowAlone) {
    AskingPrompt prompt;
    const platform::testing::ScopedCurrentPrompt current(prompt);
    FakeWindow window;
    bool keyAssignmentOpen = true;
    SubWindowList subWindows;
    SubWindowHooks hooks;
    hooks.close = [] { return true; };
    hooks.isOpen = [&] { return keyAssignmentOpen; };
    subWindows.Register(kKeyAssignmentName, hooks);
    ProfileSwitch profileSwitch(window.Host(), subWindows);

    EXPECT_EQ(profileSwitch.SelectOnboardProfile(1), 0);
    EXPECT_EQ(prompt.MessageTexts(),
              std::vector<std::string>{lang::LangText(lang::kProfileSeelctPrompt2)});
    EXPECT_EQ(window.calls, 0);

    // While it asks, another switch is refused; the exit sequence runs before the answer.
    keyAssignmentOpen = false;
    window.pending = true;
    int nested = -1;
    bool askingMeanwhile = false;
    prompt.whileOpen = [&] {
        askingMeanwhile = profileSwitch.IsAsking();
        nested = profileSwitch.SelectOnboardProfile(2);
        window.ending = true;
    };
    prompt.QueueYesNo(true);
    EXPECT_EQ(profileSwitch.SelectOnboardProfile(1), 0);
    EXPECT_TRUE(askingMeanwhile);
    EXPECT_EQ(nested, 0);
    EXPECT_FALSE(profileSwitch.IsAsking());
    EXPECT_EQ(window.released, 1);
    EXPECT_EQ(window.calls, 0);
}

}  // namespace
}  // namespace qx::mainwnd
