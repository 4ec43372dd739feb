// Key names in the user's language, the "UNKNOWN_KEY" fall-back and the safe expansion of that
// format, which comes from a language file and so cannot be trusted.
#include "keyboard/key_names.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "keyboard/key_table.h"
#include "keyboard/text_format.h"
#include "platform/program_paths.h"
#include "platform/settings_store.h"

namespace qx::keyboard {
namespace {

class KeyNames : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ =
            std::filesystem::temp_directory_path() /
            ("qx-keynames-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(folder_);
        platform::CurrentSettings().WriteUserDword("dwLanguageId", 0x0409);
        platform::SetProgramFolder(folder_.string() + "/");
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    void WriteLanguage(const std::string& textSection) {
        std::ofstream(folder_ / "Lang0409.ini") << "[TEXT]\n" << textSection;
    }

    std::filesystem::path folder_;
};

TEST_F(KeyNames, ComeFromTheLanguageFileByTheRowsKey) {
    WriteLanguage(
        "IDS_KEYBOARD_A=Key A\nIDS_KEYBOARD_RSHIFT=Right Shift\nMEDIA_V_ADD_7=Volume +\n"
        "UNKNOWN_KEY=Unknown %04X\n");
    EXPECT_EQ(KeyNameOfCode(0x01E), "Key A");
    EXPECT_EQ(KeyNameOfCode(0x136), "Right Shift");
    EXPECT_EQ(KeyNameOfCode(0x130), "Volume +");
    EXPECT_EQ(KeyNameOfPicker(0), "Key A");
    EXPECT_EQ(KeyNameOfPicker(103), "Right Shift");
    EXPECT_EQ(KeyNameOfPicker(kOutsidePicker + 35), "Volume +");
}

TEST_F(KeyNames, FallBackToTheUnknownKeyFormatWithTheKeyCode) {
    WriteLanguage("IDS_KEYBOARD_B=\nUNKNOWN_KEY=Key 0x%04X\n");
    EXPECT_EQ(KeyNameOfCode(0x064), "Key 0x0064");  // F13 has no language key
    EXPECT_EQ(KeyNameOfCode(0x030), "Key 0x0030");  // B's text is empty
    EXPECT_EQ(KeyNameOfCode(0x1A0), "Key 0x01A0");  // no row at all
    EXPECT_EQ(KeyNameOfCode(0x204), "Key 0x0204");
    EXPECT_EQ(KeyNameOfCode(0x01E), "#Error");            // a key missing from the file
    EXPECT_EQ(KeyNameOfPicker(kOutsidePicker + 45), "");  // F13: no language key
    EXPECT_EQ(KeyNameOfPicker(111), "");
    EXPECT_EQ(KeyNameOfPicker(kNoPicker), "");
}

TEST_F(KeyNames, AreCutToTheCapacityLessTheTerminator) {
    WriteLanguage("IDS_KEYBOARD_A=Key A\nIDS_KEYBOARD_UP=Arrow \xE2\x86\x91 up\nUNKNOWN_KEY=%u\n");
    EXPECT_EQ(KeyNameOfCode(0x01E, 6), "Key A");
    EXPECT_EQ(KeyNameOfCode(0x01E, 5), "Key ");
    EXPECT_EQ(KeyNameOfCode(0x01E, 2), "K");
    EXPECT_EQ(KeyNameOfCode(0x01E, 1), "");
    EXPECT_EQ(KeyNameOfCode(0x01E, 0), "");
    EXPECT_EQ(KeyNameOfCode(0x148, 8), "Arrow \xE2\x86\x91");  // the arrow is one character
    EXPECT_EQ(KeyNameOfCode(0x064, 3), "10");                  // 100 cut to two characters
}

TEST_F(KeyNames, SurviveAHostileUnknownKeyFormat) {
    WriteLanguage("UNKNOWN_KEY=%s%n%p %d %d %*d %99999999d%\n");
    const std::string name = KeyNameOfCode(0x064);
    EXPECT_EQ(name.substr(0, 12), "%s%n%p 100 %");
    EXPECT_LE(name.size(), kKeyNameCapacity - 1);
}

TEST(FormatWithNumber, ExpandsOnlyTheFirstIntegerConversion) {
    EXPECT_EQ(FormatWithNumber("Key %d", 100), "Key 100");
    EXPECT_EQ(FormatWithNumber("0x%04X", 0x1AB), "0x01AB");
    EXPECT_EQ(FormatWithNumber("%#x", 255), "0xff");
    EXPECT_EQ(FormatWithNumber("%-5u|", 7), "7    |");
    EXPECT_EQ(FormatWithNumber("%hu %lu", 9), "9 %lu");
    EXPECT_EQ(FormatWithNumber("%.3o", 8), "010");
    EXPECT_EQ(FormatWithNumber("100%% of %d", 3), "100% of 3");
    EXPECT_EQ(FormatWithNumber("%s and %d", 5), "%s and 5");
    EXPECT_EQ(FormatWithNumber("%n%d", 5), "%n5");
    EXPECT_EQ(FormatWithNumber("trailing %", 5), "trailing %");
    EXPECT_EQ(FormatWithNumber("%#d", 5), "5");
    EXPECT_EQ(FormatWithNumber("", 5), "");
    // Widths are capped so that a format cannot ask for megabytes.
    EXPECT_EQ(FormatWithNumber("%999999999d", 1).size(), 64u);
}

TEST(CutToUnits, NeverSplitsACharacter) {
    EXPECT_EQ(CutToUnits("abc", 2), "ab");
    EXPECT_EQ(CutToUnits("\xC3\xA9t\xC3\xA9", 2), "\xC3\xA9t");
    EXPECT_EQ(CutToUnits("\xF0\x9F\x98\x80x", 1), "");  // outside the BMP: two UTF-16 units
    EXPECT_EQ(CutToUnits("\xF0\x9F\x98\x80x", 2), "\xF0\x9F\x98\x80");
    EXPECT_EQ(CutToUnits("ab\xE2\x86", 10), "ab");  // a truncated sequence is dropped
}

}  // namespace
}  // namespace qx::keyboard
