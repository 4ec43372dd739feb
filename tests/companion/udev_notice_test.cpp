// The companion's notice: told once while the keyboard cannot be opened, told again only after
// it could be opened in between; the remembered flag survives in its file.
#include "tools/rovezevi/udev_notice.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

namespace qx::companion {
namespace {

using transport::hidraw::KeyboardAccess;

KeyboardAccess Absent() {
    return {};
}
KeyboardAccess Denied() {
    return {2, {"/dev/hidraw3", "/dev/hidraw4"}};
}
KeyboardAccess Openable() {
    return {2, {}};
}

// Runs the companion's decision against a remembered flag, as the program does.
NoticeAction Start(const KeyboardAccess& access, bool& told) {
    const NoticeAction action = DecideNotice(access, told);
    if (action == NoticeAction::Tell) {
        told = true;
    } else if (action == NoticeAction::Forget) {
        told = false;
    }
    return action;
}

TEST(UdevNotice, IsGivenOnceUntilTheKeyboardOpensAndAgainWhenItStopsOpening) {
    bool told = false;
    EXPECT_EQ(Start(Absent(), told), NoticeAction::None);
    EXPECT_EQ(Start(Openable(), told), NoticeAction::None);
    EXPECT_EQ(Start(Denied(), told), NoticeAction::Tell);
    EXPECT_EQ(Start(Denied(), told), NoticeAction::None);
    EXPECT_EQ(Start(Absent(), told), NoticeAction::None);  // unplugged: still remembered
    EXPECT_EQ(Start(Denied(), told), NoticeAction::None);
    EXPECT_EQ(Start(Openable(), told), NoticeAction::Forget);  // the rule works now
    EXPECT_EQ(Start(Openable(), told), NoticeAction::None);
    EXPECT_EQ(Start(Denied(), told), NoticeAction::Tell);
}

TEST(UdevNotice, TextsNameTheRuleInTheUsersLanguage) {
    const NoticeText english = UdevNoticeText(0, "/opt/qx/udev/");
    EXPECT_NE(english.body.find("/opt/qx/udev/70-qx480.rules"), std::string::npos);
    EXPECT_NE(english.body.find("udevadm control --reload"), std::string::npos);
    const NoticeText portuguese = UdevNoticeText(1, "/opt/qx/udev/");
    EXPECT_NE(portuguese.summary, english.summary);
    EXPECT_NE(portuguese.body.find("/opt/qx/udev/70-qx480.rules"), std::string::npos);
    EXPECT_EQ(UdevNoticeText(3, "").summary, english.summary);
}

TEST(UdevNotice, TheFlagIsKeptInItsFile) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("qx-notice-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const std::string path = (folder / kNoticeFileName).string();
    EXPECT_FALSE(ReadNoticeTold(path));  // no file yet
    EXPECT_TRUE(WriteNoticeTold(path, true));
    EXPECT_TRUE(ReadNoticeTold(path));
    EXPECT_TRUE(WriteNoticeTold(path, false));
    EXPECT_FALSE(ReadNoticeTold(path));
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace qx::companion
