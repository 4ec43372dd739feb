// The main window's Qt-free rules: the flip setting, the link targets, the profile menu's items,
// and the sub-window list.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "mainwnd/flip_state.h"
#include "mainwnd/link_targets.h"
#include "mainwnd/main_ids.h"
#include "mainwnd/profile_menu_model.h"
#include "mainwnd/sub_windows.h"
#include "platform/memory_settings_store.h"
#include "platform/settings_store.h"

namespace qx::mainwnd {
namespace {

class FlipSettingTest : public ::testing::Test {
  protected:
    void SetUp() override { platform::SetCurrentSettings(&settings_); }
    void TearDown() override { platform::SetCurrentSettings(nullptr); }
    void Store(const std::string& text) { settings_.WriteProfileString("PROFILES", "Flip", text); }
    std::string Stored() { return settings_.ReadProfileString("PROFILES", "Flip").value_or("-"); }

    platform::MemorySettingsStore settings_;
};

TEST_F(FlipSettingTest, AnyNonzeroNumberCountsAsOn) {
    EXPECT_FALSE(ReadFlip());  // missing: "0"
    for (const char* on : {"1", "7", "-1", " 2", "3abc"}) {
        Store(on);
        EXPECT_TRUE(ReadFlip()) << on;
    }
    for (const char* off : {"0", "", "abc", "00", "+0"}) {
        Store(off);
        EXPECT_FALSE(ReadFlip()) << off;
    }
}

TEST_F(FlipSettingTest, ToggleStoresOneOnlyWhenTheStoredValueWasZero) {
    Store("5");
    EXPECT_FALSE(ToggleFlip());
    EXPECT_EQ(Stored(), "0");
    EXPECT_TRUE(ToggleFlip());
    EXPECT_EQ(Stored(), "1");
}

class LinkTargetsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        path_ = std::filesystem::temp_directory_path() /
                ("qx-links-" + std::to_string(::getpid()) + ".ini");
    }
    void TearDown() override { std::filesystem::remove(path_); }
    void Write(const std::string& text) { std::ofstream(path_) << text; }

    std::filesystem::path path_;
};

TEST_F(LinkTargetsTest, MissingKeysFallBackToTheProjectPage) {
    Write("[SCREEN]\nMain=main_bg.jpg\nFacebook_Link=https://example.org/f\n");
    const LinkTargets links = ReadLinkTargets(path_.string());
    EXPECT_EQ(links.web, kFallbackLink);
    EXPECT_EQ(links.facebook, "https://example.org/f");
    EXPECT_EQ(links.twitter, kFallbackLink);
    EXPECT_EQ(LinkTargetOf(links, kIdWebLink), kFallbackLink);
    EXPECT_EQ(LinkTargetOf(links, kIdFacebookLink), "https://example.org/f");
    EXPECT_EQ(LinkTargetOf(links, kIdHelp), "");
    EXPECT_EQ(ReadLinkTargets("/no/such/Main.ini").twitter, kFallbackLink);
}

TEST_F(LinkTargetsTest, TargetsAreCutAt259Characters) {
    const std::string longTarget = "https://example.org/" + std::string(400, 'a');
    Write("[SCREEN]\nLink=" + longTarget + "\n");
    EXPECT_EQ(ReadLinkTargets(path_.string()).web, longTarget.substr(0, kLinkBuffer - 1));
}

std::string StoreName(int profile) {
    return "store" + std::to_string(profile);
}

TEST(ProfileMenuModelTest, ItemsAreDefaultSeparatorAndOnePerOnboardProfile) {
    const ProfileMenuModel model = BuildProfileMenuModel(1, "Default", StoreName);
    const std::vector<ProfileMenuItem> expected{{9000, "Default", false},
                                                {0, "", true},
                                                {9001, "store0", false},
                                                {9002, "store1", false},
                                                {9003, "store2", false}};
    EXPECT_EQ(model.items, expected);
    EXPECT_EQ(model.checkedPosition, 3);
    EXPECT_EQ(model.checkedText, "store1");
}

TEST(ProfileMenuModelTest, UnknownOrOutOfRangeProfileChecksTheDefaultItem) {
    for (const int profile : {-1, 3, 7, -5}) {
        const ProfileMenuModel model = BuildProfileMenuModel(profile, "Default", StoreName);
        EXPECT_EQ(model.checkedPosition, 0) << profile;
        EXPECT_EQ(model.checkedText, "Default");
    }
    EXPECT_EQ(ProfileButtonTooltip("Profile: ", "Default"), "Profile: Default");
}

TEST(ProfileMenuModelTest, ItemTextIsTheStoreFileName) {
    // The store's folder is made on the way; keep it out of the user's data folder.
    const auto data =
        std::filesystem::temp_directory_path() / ("qx-menu-data-" + std::to_string(::getpid()));
    ::setenv("XDG_DATA_HOME", data.c_str(), 1);  // NOLINT(concurrency-mt-unsafe)
    EXPECT_EQ(ProfileStoreItemText(0), "$Profile0");
    EXPECT_EQ(ProfileStoreItemText(2), "$Profile0");
    std::filesystem::remove_all(data);
}

TEST(SubWindowListTest, ExitAsksEveryWindowAndFailsWhenOneRefuses) {
    SubWindowList list;
    std::vector<std::string> asked;
    list.Register("a", [&] {
        asked.emplace_back("a");
        return true;
    });
    list.Register("b", [&] {
        asked.emplace_back("b");
        return false;
    });
    list.Register("c", [&] {
        asked.emplace_back("c");
        return true;
    });
    EXPECT_FALSE(list.CloseAll());
    EXPECT_EQ(asked, (std::vector<std::string>{"a", "b", "c"}));
    list.Unregister("b");
    EXPECT_TRUE(list.CloseAll());
    EXPECT_TRUE(SubWindowList().CloseAll());
}

TEST(SubWindowListTest, LanguageGoesOnlyToWindowsThatTakeItInOrder) {
    SubWindowList list;
    std::vector<std::pair<std::string, int>> received;
    list.Register(
        "about", [] { return true; }, [&](int index) { received.emplace_back("about", index); });
    list.Register("profiles", [] { return true; });
    list.Register(
        "keys", [] { return true; }, [&](int index) { received.emplace_back("keys", index); });
    // Registering a name again replaces its entry in place.
    list.Register(
        "about", [] { return true; }, [&](int index) { received.emplace_back("about2", index); });
    list.ForwardLanguage(1);
    EXPECT_EQ(received, (std::vector<std::pair<std::string, int>>{{"about2", 1}, {"keys", 1}}));
    EXPECT_EQ(list.Names(), (std::vector<std::string>{"about", "profiles", "keys"}));
}

TEST(SubWindowListTest, AnswersForTheWindowsThatCanTell) {
    SubWindowList list;
    bool keysOpen = false;
    bool managerChanged = false;
    std::vector<int> switched;
    list.Register("about", [] { return true; });
    list.Register(kKeyAssignmentName,
                  SubWindowHooks{.close = [] { return true; }, .isOpen = [&] { return keysOpen; }});
    list.Register(
        kProfileManagerName,
        SubWindowHooks{.close = [] { return true; },
                       .hasChanges = [&] { return managerChanged; },
                       .profileSwitched = [&](int profile) { switched.push_back(profile); }});
    EXPECT_FALSE(list.IsOpen(kKeyAssignmentName));
    EXPECT_FALSE(list.IsOpen("about"));    // cannot tell: not open
    EXPECT_FALSE(list.IsOpen("missing"));  // not registered
    keysOpen = true;
    EXPECT_TRUE(list.IsOpen(kKeyAssignmentName));
    EXPECT_FALSE(list.AnyHasChanges());
    managerChanged = true;
    EXPECT_TRUE(list.AnyHasChanges());
    list.NotifyProfileSwitched(2);
    EXPECT_EQ(switched, std::vector<int>{2});
}

}  // namespace
}  // namespace qx::mainwnd
