// The about window (texts, the language message, one window at a time, closing on request) and
// the owner-drawn profile menu as the profile manager fills and reads it.
#include <gtest/gtest.h>

#include <QAction>
#include <QKeyEvent>
#include <QPushButton>
#include <QTimer>
#include <vector>

#include "lang/language.h"
#include "lang/language_keys.h"
#include "platform/system_messages.h"
#include "skin/skin_palette.h"
#include "widgets/about_dlg.h"
#include "widgets/profile_menu.h"
#include "widgets/program_icons.h"
#include "widgets_fixture.h"

namespace qx::widgets {
namespace {

using platform::MessageLParam;
using platform::MessageResult;
using platform::MessageWParam;

constexpr int kEnglish = 0;
constexpr int kPortuguese = 1;

QString Lang(std::string_view key, int index) {
    return QString::fromStdString(lang::LoadLangText(key, index));
}

class AboutWindowTest : public testing::WidgetTest {
  protected:
    void TearDown() override { CloseAboutWindow(); }
};

TEST_F(AboutWindowTest, ShowsTheLanguageTextsAndReReadsThemOnTheLanguageMessage) {
    CAboutDlg* about = ShowAboutWindow();
    ASSERT_NE(about, nullptr);
    EXPECT_TRUE(about->isVisible());
    about->ApplyLanguage(kEnglish);
    EXPECT_EQ(about->Caption(), Lang(lang::kLangAboutTitle, kEnglish));
    EXPECT_EQ(about->Description(), Lang(lang::kGuanyuJieshao, kEnglish));
    EXPECT_EQ(about->Copyright(), Lang(lang::kGuanyuBanquan, kEnglish));
    EXPECT_EQ(about->OkButton()->text(), Lang(lang::kLangAboutOk, kEnglish));
    EXPECT_FALSE(about->Description().startsWith(lang::kMissingText));

    const auto target = about->Target();
    // A wrong code changes nothing; 'LANG' with the Portuguese index re-reads every text.
    target->SendWindowMessage(lang::kLanguageMessage, 0, kPortuguese);
    EXPECT_EQ(about->Caption(), Lang(lang::kLangAboutTitle, kEnglish));
    target->SendWindowMessage(lang::kLanguageMessage, lang::kLanguageMessageCode, kPortuguese);
    EXPECT_EQ(about->Caption(), Lang(lang::kLangAboutTitle, kPortuguese));
    EXPECT_EQ(about->Description(), Lang(lang::kGuanyuJieshao, kPortuguese));
    EXPECT_EQ(about->OkButton()->text(), Lang(lang::kLangAboutOk, kPortuguese));
    EXPECT_NE(about->Description(), Lang(lang::kGuanyuJieshao, kEnglish));
}

TEST_F(AboutWindowTest, EachRequestMakesANewWindowAndTheOldOneGoes) {
    QPointer<CAboutDlg> first = ShowAboutWindow();
    QPointer<CAboutDlg> second = ShowAboutWindow();
    ASSERT_TRUE(ProcessUntil([&] { return first.isNull(); }));
    EXPECT_EQ(AboutWindow(), second.data());

    // The main window's exit sequence asks it to close; it never refuses.
    second->Target()->SendWindowMessage(platform::kCloseMessage, 0, 0);
    ASSERT_TRUE(ProcessUntil([&] { return second.isNull(); }));
    EXPECT_EQ(AboutWindow(), nullptr);
    EXPECT_TRUE(CloseAboutWindow());

    QPointer<CAboutDlg> third = ShowAboutWindow();
    third->OkButton()->click();
    ASSERT_TRUE(ProcessUntil([&] { return third.isNull(); }));
}

class ProfileMenuTest : public testing::WidgetTest {
  protected:
    // RebuildProfileMenu's items: the default profile, a separator, three onboard profiles.
    void Fill() {
        menu_.AppendItem(9000, "Default profile");
        menu_.AppendSeparator();
        for (uint32_t i = 0; i < 3; ++i) {
            menu_.AppendItem(9001 + i, "$Profile0");
        }
    }
    void Press(Qt::Key key) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(&menu_, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
        QApplication::sendEvent(&menu_, &release);
    }
    // Runs `keys` once the menu is open.
    template <class Keys>
    void Later(Keys keys) {
        timer_.disconnect();
        timer_.setSingleShot(true);
        QObject::connect(&timer_, &QTimer::timeout, &menu_, keys);
        timer_.start(50);
    }
    CProfileMenu menu_;
    QTimer timer_;
};

TEST_F(ProfileMenuTest, ItemsAreCheckedByPositionAndReadBack) {
    Fill();
    EXPECT_EQ(menu_.ItemCount(), 5);
    EXPECT_EQ(menu_.ItemCommand(0), 9000u);
    EXPECT_EQ(menu_.ItemCommand(1), 0u);
    EXPECT_EQ(menu_.ItemCommand(4), 9003u);
    EXPECT_EQ(menu_.CheckedPosition(), -1);

    EXPECT_TRUE(menu_.CheckItemByPosition(3));
    EXPECT_EQ(menu_.CheckedPosition(), 3);
    EXPECT_EQ(menu_.ItemText(3), "$Profile0");
    EXPECT_TRUE(menu_.CheckItemByPosition(0));
    EXPECT_EQ(menu_.CheckedPosition(), 0);  // only one item is checked
    EXPECT_EQ(menu_.ItemText(0), "Default profile");

    EXPECT_FALSE(menu_.CheckItemByPosition(1));  // the separator
    EXPECT_FALSE(menu_.CheckItemByPosition(9));
    EXPECT_EQ(menu_.CheckedPosition(), -1);
    EXPECT_EQ(menu_.ItemText(1), "");
    EXPECT_EQ(menu_.ItemText(-1), "");

    EXPECT_TRUE(menu_.RemoveItemAt(4));
    EXPECT_FALSE(menu_.RemoveItemAt(4));
    menu_.RemoveAll();
    EXPECT_EQ(menu_.ItemCount(), 0);
    Fill();
    EXPECT_EQ(menu_.ItemCount(), 5);
}

TEST_F(ProfileMenuTest, AChosenItemSendsItsCommandToTheMainWindow) {
    Fill();
    menu_.CheckItemByPosition(2);
    platform::MessageWindow mainWindow;
    std::vector<uint32_t> commands;
    mainWindow.AddHandler(platform::kCommandMessage, [&](MessageWParam command, MessageLParam) {
        commands.push_back(static_cast<uint32_t>(command));
        return MessageResult{0};
    });
    menu_.SetCommandTarget(mainWindow.Target());
    Later([this] {
        Press(Qt::Key_Down);  // the default profile
        Press(Qt::Key_Down);  // the separator is skipped
        Press(Qt::Key_Return);
    });
    EXPECT_EQ(menu_.Track(QPoint(20, 20)), 9001u);
    EXPECT_EQ(commands, (std::vector<uint32_t>{9001}));

    Later([this] { Press(Qt::Key_Escape); });
    EXPECT_EQ(menu_.Track(QPoint(20, 20)), 0u);
    EXPECT_EQ(commands.size(), 1u);
}

TEST_F(ProfileMenuTest, DrawsItsOwnDarkRowsWithTheAccentOnTheCheckedItem) {
    Fill();
    menu_.CheckItemByPosition(2);
    menu_.adjustSize();
    const QImage picture = menu_.grab().toImage();
    ASSERT_FALSE(picture.isNull());
    int accent = 0;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            accent += picture.pixel(x, y) == skin::palette::kAccent ? 1 : 0;
        }
    }
    EXPECT_GT(accent, 20);
    EXPECT_EQ(picture.pixel(picture.width() / 2, 2), skin::palette::kPanel);
}

using ProgramIcons = testing::WidgetTest;

TEST_F(ProgramIcons, TheThreeTrayPicturesExistAndDiffer) {
    EXPECT_TRUE(HasIconResource(128));
    EXPECT_TRUE(HasIconResource(141));
    EXPECT_TRUE(HasIconResource(142));
    EXPECT_FALSE(HasIconResource(140));
    EXPECT_TRUE(ProgramIcon(140).isNull());
    const QImage none = PaintProgramIcon(128, 32).toImage();
    const QImage attached = PaintProgramIcon(141, 32).toImage();
    const QImage indicator = PaintProgramIcon(142, 32).toImage();
    EXPECT_EQ(none.size(), QSize(32, 32));
    EXPECT_NE(none, attached);
    EXPECT_NE(attached, indicator);
}

}  // namespace
}  // namespace qx::widgets
