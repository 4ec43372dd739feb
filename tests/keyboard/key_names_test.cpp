// Key names in the user's language, the "UNKNOWN_KEY" fall-back and the safe expansion of that
// format, which comes from a language file and so cannot be trusted.
#include "keyboard/key_names.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "keyboard/key_table.h"
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
    // Directives without a matching argument are never filled from elsewhere: they stay text.
    WriteLanguage("UNKNOWN_KEY=%s%n%p %d %d %*d %99999999d%\n");
    const std::string name = KeyNameOfCode(0x064);
    EXPECT_EQ(name.substr(0, 6), "%s%n%p");
    EXPECT_LE(name.size(), kKeyNameCapacity - 1);
    WriteLanguage("UNKNOWN_KEY=Key %s\n");
    EXPECT_EQ(KeyNameOfCode(0x064), "Key %s");
}

}  // namespace
}  // namespace qx::keyboard
