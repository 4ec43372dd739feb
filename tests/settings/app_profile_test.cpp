// The application-profile values keep the names and string forms stored settings rely on.
#include "settings/app_profile.h"

#include <gtest/gtest.h>

#include <climits>

#include "tests/lang/language_fixture.h"

namespace qx::settings {
namespace {

using AppProfile = qx::testing::LanguageTest;

std::optional<std::string> Stored(platform::SettingsStore& store, std::string_view name) {
    return store.ReadProfileString("PROFILES", name);
}

TEST_F(AppProfile, FlipIsStoredAsZeroOrOne) {
    EXPECT_EQ(ReadFlipSetting(), "0");
    EXPECT_EQ(WriteFlipSetting(1), "1");
    EXPECT_EQ(Stored(settings_, "Flip"), "1");
    EXPECT_EQ(ReadFlipSetting(), "1");
    EXPECT_EQ(WriteFlipSetting(2), "0");
    EXPECT_EQ(Stored(settings_, "Flip"), "0");
    EXPECT_EQ(WriteFlipSetting(-1), "0");
    settings_.WriteProfileString("PROFILES", "Flip", "7");
    EXPECT_EQ(ReadFlipSetting(), "7") << "read back as stored";
}

TEST_F(AppProfile, RecordDelayIsStoredUnderTheCurrentLanguagesName) {
    EXPECT_EQ(RecordDelayValueName(), "Record delays");
    EXPECT_EQ(ReadRecordDelay(), 0);
    EXPECT_EQ(StoreRecordDelay(1), 1);
    EXPECT_EQ(Stored(settings_, "Record delays"), "1");
    EXPECT_EQ(ReadRecordDelay(), 1);
    EXPECT_EQ(StoreRecordDelay(5), 0);
    EXPECT_EQ(Stored(settings_, "Record delays"), "0");
    StoreRecordDelay(1);

    settings_.WriteUserDword("dwLanguageId", 0x1046);
    EXPECT_EQ(RecordDelayValueName(), "Gravar atrasos");
    EXPECT_EQ(ReadRecordDelay(), 0) << "the other language's value is not found";

    qx::testing::WriteBytes(folder_.File("Lang1046.ini"), "[TEXT]\n");
    EXPECT_EQ(RecordDelayValueName(), "#Error");
    StoreRecordDelay(1);
    EXPECT_EQ(Stored(settings_, "#Error"), "1");
}

TEST_F(AppProfile, ProfileListValuesAreNamedWithTwoDigits) {
    EXPECT_EQ(ProfileListValueName(0), "PROFILE00");
    EXPECT_EQ(ProfileListValueName(3), "PROFILE03");
    EXPECT_EQ(ProfileListValueName(12), "PROFILE12");
    EXPECT_EQ(ProfileListValueName(100), "PROFILE100");
    EXPECT_TRUE(WriteProfileListValue(1, "/home/ana/a.kpf"));
    EXPECT_EQ(Stored(settings_, "PROFILE01"), "/home/ana/a.kpf");
}

TEST(DecimalValue, ReadsLikeAtoi) {
    EXPECT_EQ(DecimalValue("1"), 1);
    EXPECT_EQ(DecimalValue("  42abc"), 42);
    EXPECT_EQ(DecimalValue("-3"), -3);
    EXPECT_EQ(DecimalValue("+7"), 7);
    EXPECT_EQ(DecimalValue(""), 0);
    EXPECT_EQ(DecimalValue("x1"), 0);
    EXPECT_EQ(DecimalValue("99999999999999999999"), INT_MAX);
    EXPECT_EQ(DecimalValue("-99999999999999999999"), INT_MIN);
}

}  // namespace
}  // namespace qx::settings
