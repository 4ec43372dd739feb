// The shipped language files must answer every key the program asks for, in both languages, and
// their format texts must take exactly the arguments the program passes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "lang/language_keys.h"
#include "lang/text_format.h"
#include "platform/ini_file.h"
#include "platform/unicode_text.h"
#include "tests/platform/temp_folder.h"

namespace qx::lang {
namespace {

// The source tree: from the environment when the test runner passes it, else as built.
std::string SourceFolder() {
    const char* source = std::getenv("QX_SOURCE_DIR");
    return source == nullptr ? std::string(QX_TEST_SOURCE_DIR) : std::string(source);
}

// The run-time folder, likewise.
std::string RuntimeFolder() {
    const char* runtime = std::getenv("QX_RUNTIME_DIR");
    return runtime == nullptr ? std::string(QX_TEST_RUNTIME_DIR) : std::string(runtime);
}

class ShippedLanguageFile : public ::testing::TestWithParam<const char*> {
  protected:
    void SetUp() override {
        bytes_ = qx::testing::ReadBytes(SourceFolder() + "/resources/lang/" + GetParam());
        ASSERT_FALSE(bytes_.empty()) << GetParam() << " is missing";
    }
    // The text as the program reads it, or nothing when the key is missing.
    std::optional<std::string> Text(std::string_view section, std::string_view key) const {
        // Read with room to spare, so that a text longer than the program's limit shows up.
        return platform::FindIniValue(bytes_, section, key, 4 * platform::kLanguageTextBuffer);
    }
    void ExpectText(std::string_view section, std::string_view key) const {
        const std::optional<std::string> text = Text(section, key);
        ASSERT_TRUE(text.has_value()) << "[" << section << "] " << key << " is missing";
        EXPECT_FALSE(text->empty()) << "[" << section << "] " << key << " is empty";
        EXPECT_LT(platform::Utf16Length(*text), platform::kLanguageTextBuffer)
            << "[" << section << "] " << key << " would be cut";
        EXPECT_EQ(text->find("#Error"), std::string::npos) << key;
    }
    template <class Keys>
    void ExpectTexts(std::string_view section, const Keys& keys) const {
        for (const std::string_view key : keys) {
            ExpectText(section, key);
        }
    }

    std::string bytes_;
};

TEST_P(ShippedLanguageFile, HasEveryTextKeyTheProgramAsksFor) {
    ExpectTexts(lang::kTextSection, lang::kNamedTextKeys);
    ExpectTexts(lang::kTextSection, lang::kPickerKeyNames);
    ExpectTexts(lang::kTextSection, lang::kOutsidePickerKeyNames);
    ExpectTexts(lang::kTextSection, lang::kMultimediaKeyNames);
    ExpectTexts(lang::kTextSection, lang::kFunctionKeyDescriptions);
    ExpectTexts(lang::kTextSection, lang::kUserModeNames);
}

TEST_P(ShippedLanguageFile, HasEveryLightingLabelAndModeName) {
    ExpectTexts(lang::kLightSection, lang::kLightKeys);
    for (const int type : lang::kModeTypes) {
        ExpectText(lang::kModeSection, lang::ModeKey(type));
    }
}

TEST_P(ShippedLanguageFile, FormatTextsTakeExactlyTheirArguments) {
    for (const FormatTextKey& format : lang::kFormatTexts) {
        const std::string text = Text(lang::kTextSection, format.key).value_or("");
        const FormatArgKind wanted =
            format.args == FormatArgs::Number ? FormatArgKind::Number : FormatArgKind::Text;
        EXPECT_EQ(FormatArgKinds(text), std::vector<FormatArgKind>{wanted})
            << format.key << " = " << text;
    }
}

TEST_P(ShippedLanguageFile, TextsUsedAsNamesAndPathsFitTheirUse) {
    // The record-delay flag is stored under this text; '/' and '\' would split the name.
    const std::string delayName = Text(lang::kTextSection, lang::kMacroActionRecordDelay).value();
    EXPECT_EQ(delayName.find_first_of("/\\"), std::string::npos) << delayName;
    // The new-profile name is appended directly to the data folder's path.
    const std::string newProfile = Text(lang::kTextSection, lang::kProfileNew).value();
    EXPECT_EQ(newProfile.front(), '/') << newProfile;
    EXPECT_EQ(newProfile.find('/', 1), std::string::npos) << newProfile;
}

INSTANTIATE_TEST_SUITE_P(LanguageFiles, ShippedLanguageFile,
                         ::testing::Values("Lang0409.ini", "Lang1046.ini"),
                         [](const auto& test) { return std::string(test.param).substr(0, 8); });

TEST(LanguageFiles, AreCopiedIntoTheRunTimeFolder) {
    for (const char* name : {"Lang0409.ini", "Lang1046.ini"}) {
        const bool same = qx::testing::ReadBytes(RuntimeFolder() + "/" + name) ==
                          qx::testing::ReadBytes(SourceFolder() + "/resources/lang/" + name);
        EXPECT_TRUE(same) << name << " in the run-time folder differs from the source";
    }
}

}  // namespace
}  // namespace qx::lang
