// The tray icon: its creation rule, the menu it opens on a right click (texts localised at that
// moment, Open as the bold default), the commands clicks send to the owner window, the return of
// the notification area, and the picture chosen by the tray states.
#include "widgets/tray_icon.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <vector>

#include "app/main_window_port.h"
#include "platform/system_messages.h"
#include "widgets/menu_resources.h"
#include "widgets/tray_state.h"
#include "widgets_fixture.h"

namespace qx::widgets {
namespace {

using platform::MessageLParam;
using platform::MessageResult;
using platform::MessageWParam;

struct MenuSeen {
    QStringList texts;
    QString boldText;
    QString defaultText;
};

class TrayIconTest : public testing::WidgetTest {
  protected:
    void SetUp() override {
        owner_.AddHandler(platform::kCommandMessage, [this](MessageWParam command, MessageLParam) {
            commands_.push_back(static_cast<uint32_t>(command));
            return MessageResult{0};
        });
        owner_.AddHandler(app::kTrayCallbackMessage, [this](MessageWParam, MessageLParam) {
            ++callbacksReachingTheWindow_;
            return MessageResult{0};
        });
    }

    CTrayIcon::Environment Desktop(bool trayAvailable = true) {
        CTrayIcon::Environment environment;
        environment.trayAvailable = [this, trayAvailable] { return trayAvailable && areaUp_; };
        environment.trackMenu = [this](QMenu& menu, QPoint) {
            MenuSeen seen;
            for (QAction* action : menu.actions()) {
                seen.texts << action->text();
                if (action->font().bold()) {
                    seen.boldText = action->text();
                }
            }
            seen.defaultText = menu.defaultAction() != nullptr ? menu.defaultAction()->text() : "";
            menus_.push_back(seen);
            return choice_;
        };
        environment.cursorPosition = [] { return QPoint(10, 10); };
        environment.areaWatchPeriodMs = 10;
        return environment;
    }

    bool CreateOn(CTrayIcon& icon) {
        return icon.Create(&owner_, app::kTrayCallbackMessage, "Varkon QX480 Driver",
                           widgets::kIconNoKeyboard, app::kTrayIconId);
    }

    void Click(uint32_t mouseMessage, uint32_t iconId = app::kTrayIconId) {
        owner_.SendWindowMessage(app::kTrayCallbackMessage, iconId, mouseMessage);
    }

    platform::MessageWindow owner_;
    std::vector<uint32_t> commands_;
    std::vector<MenuSeen> menus_;
    uint32_t choice_ = 0;
    bool areaUp_ = true;
    int callbacksReachingTheWindow_ = 0;
};

// A driver started at login before the panel: the icon waits, keeps what it is told meanwhile,
// and appears with the first notification area.
TEST_F(TrayIconTest, WithoutANotificationAreaTheIconWaitsAndAppearsWithTheFirstOne) {
    areaUp_ = false;
    CTrayIcon icon(Desktop());
    ASSERT_TRUE(CreateOn(icon));
    EXPECT_FALSE(icon.IsInArea());
    EXPECT_TRUE(icon.SetIcon(widgets::kIconKeyboard));
    EXPECT_TRUE(icon.SetTip("later tip"));
    areaUp_ = true;
    ASSERT_TRUE(ProcessUntil([&] { return icon.IsInArea(); }));
    EXPECT_EQ(icon.SystemIcon()->toolTip(), "later tip");
    EXPECT_EQ(icon.IconId(), widgets::kIconKeyboard);
}

TEST_F(TrayIconTest, WithoutAnOwnerOrAfterRemoveTheIconIsInvalidAndEveryOperationFails) {
    CTrayIcon icon(Desktop());
    ASSERT_TRUE(CreateOn(icon));
    ASSERT_TRUE(icon.Remove());
    EXPECT_FALSE(icon.IsValid());
    EXPECT_FALSE(icon.SetIcon(widgets::kIconKeyboard));
    EXPECT_FALSE(icon.SetTip("tip"));
    EXPECT_FALSE(icon.SetStandardIcon(QStyle::SP_ComputerIcon));
    EXPECT_FALSE(icon.ShowBalloon("text", nullptr, 1000));
    EXPECT_FALSE(icon.Hide());
    EXPECT_FALSE(icon.Show());
    EXPECT_FALSE(icon.Remove());
    Click(platform::kRightButtonUp);
    EXPECT_TRUE(menus_.empty());

    CTrayIcon ownerless(Desktop());
    EXPECT_FALSE(ownerless.Create(nullptr, app::kTrayCallbackMessage, "", 128, app::kTrayIconId));
}

TEST_F(TrayIconTest, CreateAddsTheIconWithItsTipAndPicture) {
    CTrayIcon icon(Desktop());
    ASSERT_TRUE(CreateOn(icon));
    EXPECT_TRUE(icon.IsInArea());
    EXPECT_EQ(icon.Tip(), "Varkon QX480 Driver");
    EXPECT_FALSE(icon.SystemIcon()->icon().isNull());
    EXPECT_TRUE(icon.SetIcon(widgets::kIconKeyboard));
    EXPECT_EQ(icon.IconId(), widgets::kIconKeyboard);
    EXPECT_FALSE(icon.SetIcon(999));  // no such icon
    EXPECT_EQ(icon.IconId(), widgets::kIconKeyboard);
    EXPECT_TRUE(icon.SetTip("other"));
    EXPECT_EQ(icon.Tip(), "other");
    EXPECT_TRUE(icon.ShowBalloon(nullptr, nullptr, 500));
    EXPECT_TRUE(icon.Remove());
    EXPECT_FALSE(icon.IsValid());
    EXPECT_FALSE(icon.IsInArea());
}

TEST_F(TrayIconTest, ARightClickOpensTheLocalisedMenuWithOpenAsTheBoldDefault) {
    CTrayIcon icon(Desktop());
    ASSERT_TRUE(CreateOn(icon));
    icon.SetMenuCallback([](QMenu& menu) { LocaliseTrayMenu(menu); });
    choice_ = app::kCommandAbout;
    Click(platform::kRightButtonUp);
    ASSERT_EQ(menus_.size(), 1u);
    EXPECT_EQ(menus_[0].texts, (QStringList{"Open", "About", "Exit"}));  // MENU_11, 22, 33
    EXPECT_EQ(menus_[0].boldText, "Open");
    EXPECT_EQ(menus_[0].defaultText, "Open");
    // The chosen command reaches the owner as a command (posted, as a menu does).
    ASSERT_TRUE(ProcessUntil([&] { return !commands_.empty(); }));
    EXPECT_EQ(commands_, (std::vector<uint32_t>{app::kCommandAbout}));
    // The hook passed the callback on to the window.
    EXPECT_EQ(callbacksReachingTheWindow_, 1);

    icon.SetDefaultMenuItem(app::kCommandExit);
    choice_ = 0;  // dismissed
    Click(platform::kRightButtonUp);
    ASSERT_EQ(menus_.size(), 2u);
    EXPECT_EQ(menus_[1].boldText, "Exit");
    QCoreApplication::processEvents();
    EXPECT_EQ(commands_.size(), 1u);
}

// Desktops that speak StatusNotifierItem report a click, never a double click.
TEST_F(TrayIconTest, AClickOrADoubleClickSendsTheDefaultCommand) {
    CTrayIcon icon(Desktop());
    ASSERT_TRUE(CreateOn(icon));
    Click(platform::kLeftButtonUp);
    EXPECT_EQ(commands_, (std::vector<uint32_t>{app::kCommandOpen}));  // the first item
    icon.SetDefaultMenuItem(app::kCommandAbout);
    Click(platform::kLeftButtonDoubleClick);
    Click(platform::kMiddleButtonUp);
    Click(platform::kRightButtonUp, app::kTrayIconId + 1);  // another icon's callback
    QCoreApplication::processEvents();
    EXPECT_EQ(commands_, (std::vector<uint32_t>{app::kCommandOpen, app::kCommandAbout}));
    EXPECT_TRUE(menus_.empty());
}

TEST_F(TrayIconTest, TheIconComesBackWithTheNotificationAreaUnlessHidden) {
    CTrayIcon icon(Desktop());
    ASSERT_TRUE(CreateOn(icon));
    // The desktop lost its icons when its notification area ended.
    const_cast<QSystemTrayIcon*>(icon.SystemIcon())->hide();
    BroadcastTaskbarCreated();
    EXPECT_TRUE(icon.IsInArea());

    EXPECT_TRUE(icon.Hide());
    EXPECT_TRUE(icon.IsHidden());
    BroadcastTaskbarCreated();
    EXPECT_FALSE(icon.IsInArea());
    EXPECT_TRUE(icon.Show());
    EXPECT_TRUE(icon.IsInArea());
    EXPECT_FALSE(icon.IsHidden());

    icon.Remove();
    BroadcastTaskbarCreated();
    EXPECT_FALSE(icon.IsInArea());
}

TEST_F(TrayIconTest, TheHooksLetGoWhenTheIconEnds) {
    {
        CTrayIcon icon(Desktop());
        ASSERT_TRUE(CreateOn(icon));
        EXPECT_NE(platform::HeadHookOf(&owner_), nullptr);
    }
    EXPECT_EQ(platform::HeadHookOf(&owner_), nullptr);
    Click(platform::kRightButtonUp);
    EXPECT_TRUE(menus_.empty());
    EXPECT_EQ(callbacksReachingTheWindow_, 1);
}

TEST_F(TrayIconTest, MenuTextsAreSetByCommandAndMissingCommandsAreSkipped) {
    const std::unique_ptr<QMenu> menu = LoadMenuResource(kButtonMenuId);
    ASSERT_TRUE(menu);
    LocaliseButtonMenu(*menu);  // its rows for 32773 and 32779 find no item
    QStringList texts;
    for (QAction* action : menu->actions()) {
        texts << action->text();
    }
    EXPECT_EQ(texts.size(), 3);
    EXPECT_NE(texts[0], "&Restore");
    EXPECT_NE(texts[1], "&Backup");
    EXPECT_NE(texts[2], "&Firmware update...");
    EXPECT_NE(FindCommand(*menu, app::kCommandFirmwareUpdate), nullptr);
    EXPECT_EQ(LoadMenuResource(141), nullptr);
    EXPECT_EQ(FindCommand(*menu, 0), nullptr);
}

TEST(TrayIconStateTest, ModeZeroSetsAndRemembersTheBaseModeOneShowsTheIndicator) {
    std::vector<int> shown;
    TrayIconState state([&](int icon) { shown.push_back(icon); });
    EXPECT_EQ(state.CurrentIcon(), widgets::kIconNoKeyboard);

    state.SetTrayState(widgets::kTrayModeBase, widgets::kIconNoKeyboard);  // already shown
    EXPECT_TRUE(shown.empty());
    state.SetTrayState(widgets::kTrayModeBase, widgets::kIconKeyboard);
    state.SetTrayState(widgets::kTrayModeIndicator, widgets::kIconRestoreBase);
    state.SetTrayState(widgets::kTrayModeIndicator, widgets::kIconKeyboard);  // id unused
    state.SetTrayState(widgets::kTrayModeBase, widgets::kIconRestoreBase);
    EXPECT_EQ(shown, (std::vector<int>{141, 142, 141}));
    EXPECT_EQ(state.BaseIcon(), widgets::kIconKeyboard);

    state.SetTrayState(widgets::kTrayModeIndicator, 0);
    state.SetTrayState(widgets::kTrayModeBase, widgets::kIconNoKeyboard);  // keyboard gone
    state.SetTrayState(widgets::kTrayModeBase, widgets::kIconRestoreBase);
    state.SetTrayState(7, widgets::kIconKeyboard);  // unknown mode
    EXPECT_EQ(shown, (std::vector<int>{141, 142, 141, 142, 128}));
    EXPECT_EQ(state.BaseIcon(), widgets::kIconNoKeyboard);

    state.ForgetCurrentIcon();
    state.SetTrayIcon(widgets::kIconNoKeyboard);
    EXPECT_EQ(shown.back(), widgets::kIconNoKeyboard);
    EXPECT_EQ(shown.size(), 6u);
}

}  // namespace
}  // namespace qx::widgets
