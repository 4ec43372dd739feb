// The Qt-free side of skins: the rectangle syntax, the skin INI reader's limits and the names of
// the keys the windows read.
#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <set>

#include "keyboard/key_buttons.h"
#include "skin/skin_ini.h"
#include "skin/skin_keys.h"
#include "skin/skin_rect.h"

namespace qx::skin {
namespace {

TEST(SkinRectTest, ReadsFourSignedNumbersAndIgnoresTheRest) {
    EXPECT_EQ(ParseSkinRect("10,20,80,24"), (SkinRect{10, 20, 80, 24, 4}));
    EXPECT_EQ(ParseSkinRect("-5,+7,300,-4"), (SkinRect{-5, 7, 300, -4, 4}));
    EXPECT_EQ(ParseSkinRect("10,20,80,24,99,trailing"), (SkinRect{10, 20, 80, 24, 4}));
    EXPECT_EQ(ParseSkinRect("10,20,80,24x"), (SkinRect{10, 20, 80, 24, 4}));
    // Blanks before a number are allowed: hand-edited skins have them.
    EXPECT_EQ(ParseSkinRect(" 10, 20,\t80, 24"), (SkinRect{10, 20, 80, 24, 4}));
}

TEST(SkinRectTest, DefaultTextIsAnUnusedOneByOneControl) {
    const SkinRect rect = ParseSkinRect(kDefaultRectText);
    EXPECT_EQ(rect, (SkinRect{1, 1, 1, 1, 4}));
    EXPECT_TRUE(rect.IsUnused());
    // A size does not make a control at 1,1 used.
    EXPECT_TRUE(ParseSkinRect("1,1,80,24").IsUnused());
    EXPECT_FALSE(ParseSkinRect("1,2,80,24").IsUnused());
}

TEST(SkinRectTest, MissingNumbersDefaultToOne) {
    EXPECT_EQ(ParseSkinRect("10,20"), (SkinRect{10, 20, 1, 1, 2}));
    EXPECT_EQ(ParseSkinRect(""), (SkinRect{1, 1, 1, 1, 0}));
    EXPECT_EQ(ParseSkinRect("x"), (SkinRect{1, 1, 1, 1, 0}));
    // Parsing stops at the first separator that is not a single comma.
    EXPECT_EQ(ParseSkinRect("10;20,30,40"), (SkinRect{10, 1, 1, 1, 1}));
    EXPECT_EQ(ParseSkinRect("10,,30,40"), (SkinRect{10, 1, 1, 1, 1}));
    EXPECT_EQ(ParseSkinRect("10 ,20,30,40"), (SkinRect{10, 1, 1, 1, 1}));
    EXPECT_EQ(ParseSkinRect("10,-,30,40"), (SkinRect{10, 1, 1, 1, 1}));
}

TEST(SkinRectTest, NumbersBeyondIntSaturate) {
    const SkinRect rect = ParseSkinRect("99999999999999999999,-99999999999999999999,0,0");
    EXPECT_EQ(rect.x, INT_MAX);
    EXPECT_EQ(rect.y, INT_MIN);
    EXPECT_EQ(rect.parsed, 4);
}

TEST(SkinRectTest, FormatRoundTrips) {
    EXPECT_EQ(FormatSkinRect(10, -20, 80, 24), "10,-20,80,24");
    EXPECT_EQ(ParseSkinRect(FormatSkinRect(-3, 4, 5, 6)), (SkinRect{-3, 4, 5, 6, 4}));
}

class SkinIniTest : public testing::Test {
  protected:
    void SetUp() override {
        folder_ =
            std::filesystem::temp_directory_path() /
            ("qx_skin_ini_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             "_" + testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(folder_);
        path_ = (folder_ / "Main.ini").string();
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    void Write(const std::string& text) const { std::ofstream(path_, std::ios::binary) << text; }

    std::filesystem::path folder_;
    std::string path_;
};

TEST_F(SkinIniTest, ReadsValuesDefaultsAndNothingForEmpty) {
    Write("[SCREEN]\nMain=bg.jpg\nMask=\n");
    const CIniFile ini(path_);
    EXPECT_EQ(ini.GetString("screen", "MAIN", "x"), "bg.jpg");
    // A key that exists with an empty value gives an empty text: nothing.
    EXPECT_EQ(ini.GetString("SCREEN", "Mask", "bg.jpg"), std::nullopt);
    EXPECT_EQ(ini.GetString("SCREEN", "Link", "https://x"), "https://x");
    EXPECT_EQ(ini.GetString("SCREEN", "Link", ""), std::nullopt);
    EXPECT_EQ(CIniFile(path_ + ".missing").GetString("SCREEN", "Main", "d"), "d");
}

TEST_F(SkinIniTest, CutsLongValuesTo2046Characters) {
    Write("[SCREEN]\nMain=" + std::string(3000, 'a') + "\n");
    const std::optional<std::string> value = CIniFile(path_).GetString("SCREEN", "Main", "");
    ASSERT_TRUE(value.has_value());
    EXPECT_EQ(value->size(), kIniStringMaxChars);
}

TEST_F(SkinIniTest, KeepsAtMost259CharactersOfThePath) {
    CIniFile ini;
    ini.SetPath(std::string(300, 'p'));
    EXPECT_EQ(ini.Path().size(), kIniPathMaxChars);
    // Characters, not bytes: a path of two-byte characters is cut between characters.
    ini.SetPath(std::string(300, 'p').replace(0, 0, "\xC3\xA9"));
    EXPECT_EQ(ini.Path().substr(0, 2), "\xC3\xA9");
    EXPECT_EQ(ini.Path().size(), kIniPathMaxChars + 1);
}

TEST_F(SkinIniTest, WritesAndReadsBack) {
    const CIniFile ini(path_);
    ASSERT_TRUE(ini.WriteString("BUTTONINFO", "CONTROL_OK", "10,20,80,24"));
    EXPECT_EQ(ini.GetString("BUTTONINFO", "CONTROL_OK", ""), "10,20,80,24");
}

TEST(CutUtf8Test, NeverSplitsACharacter) {
    EXPECT_EQ(CutUtf8("a\xE2\x82\xAC"
                      "b",
                      2),
              "a\xE2\x82\xAC");
    EXPECT_EQ(CutUtf8("a\xE2\x82\xAC"
                      "b",
                      1),
              "a");
    EXPECT_EQ(CutUtf8("abc", 10), "abc");
    EXPECT_EQ(CutUtf8("", 0), "");
}

TEST(SkinKeysTest, KeyButtonKeysUseTheTableIndexInThreeHexDigits) {
    EXPECT_EQ(KeyButtonSkinKey(0x1F), "KEY_01F");
    // Home (0x147) has table index 0xC7.
    EXPECT_EQ(KeyButtonSkinKey(keyboard::KeyIndexOfCode(0x147)), "KEY_0C7");
    EXPECT_EQ(GKeySkinKey(9), "FUNC_G9");
    EXPECT_EQ(ArrowSheetKey(kArrowDownRight, 2), "DOWN_ARROW_RIGHT2");
}

TEST(SkinKeysTest, MainWindowReadsEveryKeyButtonOnceAndNoKeyTwice) {
    const WindowSkinKeys& main = MainSkinKeys();
    std::set<std::string> names;
    int keyButtons = 0;
    for (const SkinKey& key : main.buttonInfo) {
        EXPECT_TRUE(names.insert(key.name).second) << key.name;
        keyButtons += key.name.rfind("KEY_", 0) == 0 && key.name != "KEY_FN" ? 1 : 0;
        if (key.role == ControlRole::AlternativePlace) {
            EXPECT_TRUE(names.count(key.primary) == 1) << key.name << " before " << key.primary;
        }
    }
    EXPECT_EQ(keyButtons, keyboard::kKeyButtonCount);
    for (const keyboard::KeyButton& button : keyboard::KeyButtons()) {
        EXPECT_EQ(names.count(KeyButtonSkinKey(keyboard::KeyIndexOfCode(button.keyCode))), 1U)
            << button.name;
    }
    EXPECT_EQ(main.sheetPoints.size(), 8U);
    EXPECT_EQ(main.screenKeys.size(), 5U);
}

}  // namespace
}  // namespace qx::skin
