// Window-procedure hooks: chains of several hooks, removal in any order, the window's own
// procedure restored only after the last, and the end of the window.
#include "platform/subclass_wnd.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/system_messages.h"
#include "widgets_fixture.h"

namespace qx::platform {
namespace {

constexpr uint32_t kProbeMessage = 0x0401;

// Notes each message it sees, then passes it on (or swallows it).
class RecordingHook : public CSubclassWnd {
  public:
    RecordingHook(std::string name, std::vector<std::string>& log)
        : name_(std::move(name)), log_(log) {}
    bool swallow = false;
    uint32_t lastSeen = 0;

  protected:
    MessageResult WindowProc(uint32_t message, MessageWParam wParam,
                             MessageLParam lParam) override {
        lastSeen = CurrentHookedMessage().message;
        log_.push_back(name_ + ":" + std::to_string(message));
        return swallow ? MessageResult{-1} : Default(message, wParam, lParam);
    }

  private:
    std::string name_;
    std::vector<std::string>& log_;
};

class HookChain : public widgets::testing::WidgetTest {
  protected:
    void SetUp() override {
        window_ = std::make_unique<MessageWindow>();
        window_->AddHandler(kProbeMessage, [this](MessageWParam, MessageLParam) {
            log_.emplace_back("window");
            return MessageResult{7};
        });
    }
    MessageResult Send() { return window_->SendWindowMessage(kProbeMessage, 0, 0); }
    std::vector<std::string> Take() { return std::exchange(log_, {}); }

    std::vector<std::string> log_;
    std::unique_ptr<MessageWindow> window_;
    const std::string probe_ = ":" + std::to_string(kProbeMessage);
};

TEST_F(HookChain, TheMostRecentHookSeesAMessageFirstAndEveryHookPassesItOn) {
    RecordingHook first("first", log_);
    RecordingHook second("second", log_);
    EXPECT_TRUE(first.HookWindow(window_.get()));
    EXPECT_TRUE(second.HookWindow(window_.get()));
    EXPECT_FALSE(second.HookWindow(window_.get()));
    EXPECT_EQ(HeadHookOf(window_.get()), &second);
    EXPECT_EQ(Send(), 7);
    EXPECT_EQ(Take(), (std::vector<std::string>{"second" + probe_, "first" + probe_, "window"}));
    EXPECT_EQ(second.lastSeen, kProbeMessage);

    // Posted messages pass through the chain too.
    window_->PostWindowMessage(kProbeMessage, 0, 0);
    ASSERT_TRUE(ProcessUntil([&] { return log_.size() == 3; }));
    EXPECT_EQ(Take().back(), "window");

    second.swallow = true;
    EXPECT_EQ(Send(), -1);
    EXPECT_EQ(Take(), (std::vector<std::string>{"second" + probe_}));
}

TEST_F(HookChain, UnhookingTheFirstKeepsTheSecondWorkingAndTheLastUnhookRestoresTheWindow) {
    RecordingHook first("first", log_);
    RecordingHook second("second", log_);
    first.HookWindow(window_.get());
    second.HookWindow(window_.get());

    EXPECT_TRUE(first.Unhook());  // further down the chain
    EXPECT_FALSE(first.Unhook());
    EXPECT_EQ(Send(), 7);
    EXPECT_EQ(Take(), (std::vector<std::string>{"second" + probe_, "window"}));
    EXPECT_EQ(HeadHookOf(window_.get()), &second);

    EXPECT_TRUE(second.Unhook());
    EXPECT_EQ(HeadHookOf(window_.get()), nullptr);
    EXPECT_EQ(Send(), 7);
    EXPECT_EQ(Take(), (std::vector<std::string>{"window"}));
    // The window's own procedure is back: a procedure set now is the only one.
    EXPECT_FALSE(window_->SetWindowProcedure(nullptr));
}

TEST_F(HookChain, UnhookingTheHeadFirstAndHookingAgainKeepTheOrder) {
    RecordingHook first("first", log_);
    RecordingHook second("second", log_);
    RecordingHook third("third", log_);
    first.HookWindow(window_.get());
    second.HookWindow(window_.get());
    third.HookWindow(window_.get());
    second.Unhook();
    third.Unhook();
    second.HookWindow(window_.get());
    Send();
    EXPECT_EQ(Take(), (std::vector<std::string>{"second" + probe_, "first" + probe_, "window"}));
    {
        RecordingHook passing("passing", log_);
        passing.HookWindow(window_.get());
    }  // a hook that ends takes itself off
    Send();
    EXPECT_EQ(Take().size(), 3u);
}

TEST_F(HookChain, AWindowThatEndsTakesEveryHookOffBeforeItsOwnProcedureRuns) {
    RecordingHook first("first", log_);
    RecordingHook second("second", log_);
    first.HookWindow(window_.get());
    second.HookWindow(window_.get());
    MessageWindow* const ending = window_.get();
    window_->AddHandler(kNcDestroyMessage, [this, ending](MessageWParam, MessageLParam) {
        log_.emplace_back("window:ncdestroy");
        EXPECT_EQ(HeadHookOf(ending), nullptr);
        return MessageResult{0};
    });
    window_.reset();
    EXPECT_EQ(Take(), (std::vector<std::string>{"window:ncdestroy"}));
    EXPECT_FALSE(first.IsHooked());
    EXPECT_FALSE(second.IsHooked());
    EXPECT_FALSE(first.Unhook());
}

TEST_F(HookChain, AHookMovedToAnotherWindowLeavesTheFirst) {
    MessageWindow other;
    RecordingHook hook("hook", log_);
    hook.HookWindow(window_.get());
    hook.HookWindow(&other);
    EXPECT_EQ(HeadHookOf(window_.get()), nullptr);
    EXPECT_EQ(HeadHookOf(&other), &hook);
    Send();
    EXPECT_EQ(Take(), (std::vector<std::string>{"window"}));
    EXPECT_TRUE(hook.HookWindow(nullptr));
    EXPECT_EQ(HeadHookOf(&other), nullptr);
}

TEST(RegisteredMessages, OneNumberPerNameWithoutRegardToCase) {
    const uint32_t taskbar = RegisterWindowMessage(kTaskbarCreatedName);
    EXPECT_GE(taskbar, kFirstRegisteredMessage);
    EXPECT_EQ(RegisterWindowMessage("taskbarcreated"), taskbar);
    EXPECT_NE(RegisterWindowMessage("SomethingElse"), taskbar);
    EXPECT_EQ(RegisterWindowMessage(""), 0u);
}

}  // namespace
}  // namespace qx::platform
