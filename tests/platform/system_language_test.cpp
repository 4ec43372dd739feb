// The system locale becomes the Windows language identifier the first-run choice expects.
#include "platform/system_language.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace qx::platform {
namespace {

// Sets the three locale variables for one test and restores them afterwards.
class LocaleEnvironment : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* name : kNames) {
            const char* value = std::getenv(name);
            saved_.emplace_back(name, value == nullptr ? std::optional<std::string>()
                                                       : std::optional<std::string>(value));
            ::unsetenv(name);
        }
    }
    void TearDown() override {
        for (const auto& [name, value] : saved_) {
            if (value) {
                ::setenv(name, value->c_str(), 1);
            } else {
                ::unsetenv(name);
            }
        }
    }
    static constexpr const char* kNames[] = {"LC_ALL", "LC_MESSAGES", "LANG"};

  private:
    std::vector<std::pair<const char*, std::optional<std::string>>> saved_;
};

TEST(SystemLanguage, LocalesOfTheFirstRunTableMapToTheirIdentifiers) {
    EXPECT_EQ(LanguageIdOfLocale("zh_HK.UTF-8"), 0x0C04);
    EXPECT_EQ(LanguageIdOfLocale("en_GB.UTF-8"), 0x0809);
    EXPECT_EQ(LanguageIdOfLocale("en_AU.UTF-8"), 0x0C09);
    EXPECT_EQ(LanguageIdOfLocale("en_CA.UTF-8"), 0x1009);
    EXPECT_EQ(LanguageIdOfLocale("en_NZ.UTF-8"), 0x1409);
    EXPECT_EQ(LanguageIdOfLocale("en_IE.UTF-8@euro"), 0x1809);
    EXPECT_EQ(LanguageIdOfLocale("en_ZA.UTF-8"), 0x1C09);
    EXPECT_EQ(LanguageIdOfLocale("en_JM"), 0x2009);
    EXPECT_EQ(LanguageIdOfLocale("en_AG.UTF-8"), 0x2409);
    EXPECT_EQ(LanguageIdOfLocale("en_BZ"), 0x2809);
    EXPECT_EQ(LanguageIdOfLocale("en_TT"), 0x2C09);
    EXPECT_EQ(LanguageIdOfLocale("en_US.UTF-8"), 0x0409);
    EXPECT_EQ(LanguageIdOfLocale("zh_CN.GB18030"), 0x0804);
}

TEST(SystemLanguage, UnknownTerritoriesFallBackOnTheLanguageThenOnEnglish) {
    EXPECT_EQ(LanguageIdOfLocale("pt_BR.UTF-8"), 0x0416);
    EXPECT_EQ(LanguageIdOfLocale("de_BE.UTF-8"), 0x0407);
    EXPECT_EQ(LanguageIdOfLocale("xx_YY.UTF-8"), kDefaultLanguageId);
    EXPECT_EQ(LanguageIdOfLocale("C"), kDefaultLanguageId);
    EXPECT_EQ(LanguageIdOfLocale("C.UTF-8"), kDefaultLanguageId);
    EXPECT_EQ(LanguageIdOfLocale("POSIX"), kDefaultLanguageId);
    EXPECT_EQ(LanguageIdOfLocale(""), kDefaultLanguageId);
}

TEST(SystemLanguage, TheLocaleTableHasOneWellFormedLinePerLocale) {
    struct Line {
        std::string_view locale;
        uint16_t languageId;
    };
    constexpr Line kLines[] = {
#include "platform/locale_language_ids.inc"
    };
    std::set<std::string_view> seen;
    for (const Line& line : kLines) {
        EXPECT_TRUE(seen.insert(line.locale).second) << line.locale << " twice";
        const auto underscore = line.locale.find('_');
        ASSERT_NE(underscore, std::string_view::npos) << line.locale;
        for (std::size_t i = 0; i < line.locale.size(); ++i) {
            const auto c = static_cast<unsigned char>(line.locale[i]);
            const bool ok =
                i < underscore ? std::islower(c) != 0 : (i == underscore || std::isupper(c) != 0);
            EXPECT_TRUE(ok) << line.locale;
        }
        EXPECT_NE(line.languageId, 0) << line.locale;
        EXPECT_EQ(LanguageIdOfLocale(line.locale), line.languageId) << line.locale;
    }
}

TEST_F(LocaleEnvironment, TheMessageLocaleIsResolvedAsTheCLibraryDoes) {
    EXPECT_EQ(SystemDefaultLanguageId(), kDefaultLanguageId);
    ::setenv("LANG", "fr_FR.UTF-8", 1);
    EXPECT_EQ(SystemDefaultLanguageId(), 0x040C);
    ::setenv("LC_MESSAGES", "de_DE.UTF-8", 1);
    EXPECT_EQ(SystemDefaultLanguageId(), 0x0407);
    ::setenv("LC_ALL", "", 1);
    EXPECT_EQ(SystemDefaultLanguageId(), 0x0407) << "an empty LC_ALL does not count";
    ::setenv("LC_ALL", "en_GB.UTF-8", 1);
    EXPECT_EQ(SystemDefaultLanguageId(), 0x0809);
}

}  // namespace
}  // namespace qx::platform
