// Which language the program speaks and where its texts come from.
#include "lang/language.h"

#include <gtest/gtest.h>

#include <vector>

#include "lang/language_keys.h"
#include "tests/lang/language_fixture.h"

namespace qx::lang {
namespace {

using LanguageChoice = qx::testing::LanguageTest;
using LanguageTexts = qx::testing::LanguageTest;

constexpr const char* kIdValue = "dwLanguageId";

TEST_F(LanguageChoice, FirstRunOnBritishEnglishStoresUsEnglish) {
    SetSystemLocale("en_GB.UTF-8");  // 0x0809
    EXPECT_EQ(GetLanguageId(), 0x0409u);
    EXPECT_EQ(settings_.ReadUserDword(kIdValue), 0x0409u);
    EXPECT_EQ(GetLanguageIndex(), 0);
    EXPECT_EQ(LangText("MAIN_CAPTION"), "Keyboard driver");
}

TEST_F(LanguageChoice, FirstRunMapsEveryOtherLanguageToEnglish) {
    // zh_HK maps to 0x0804, which has no language file; pt_BR is 0x0416, not 0x1046.
    for (const char* locale : {"zh_HK.UTF-8", "pt_BR.UTF-8", "de_DE.UTF-8", "C", "en_TT"}) {
        settings_.Clear();
        SetSystemLocale(locale);
        EXPECT_EQ(GetLanguageId(), 0x0409u) << locale;
        EXPECT_EQ(settings_.ReadUserDword(kIdValue), 0x0409u) << locale;
    }
}

TEST_F(LanguageChoice, StoredChoiceIsKeptAndChosenOnlyOnce) {
    settings_.WriteUserDword(kIdValue, 0x1046);
    SetSystemLocale("en_GB.UTF-8");
    EXPECT_EQ(GetLanguageId(), 0x1046u);
    EXPECT_EQ(GetLanguageIndex(), 1);
    EXPECT_EQ(LanguageFilePath(1), folder_.File("Lang1046.ini"));
    EXPECT_EQ(LangText("MAIN_CAPTION"), "Driver do teclado");

    settings_.WriteUserDword(kIdValue, 0);  // 0: nothing chosen yet
    EXPECT_EQ(GetLanguageId(), 0x0409u);
    EXPECT_EQ(settings_.ReadUserDword(kIdValue), 0x0409u);
}

TEST_F(LanguageChoice, UnsupportedStoredLanguageIsReturnedButTextsAreEnglish) {
    settings_.WriteUserDword(kIdValue, 0x0804);
    EXPECT_EQ(GetLanguageId(), 0x0804u);
    EXPECT_EQ(GetLanguageIndex(), 0);
    EXPECT_EQ(LangText("MAIN_CAPTION"), "Keyboard driver");
    EXPECT_EQ(settings_.ReadUserDword(kIdValue), 0x0804u) << "not rewritten";
}

TEST_F(LanguageChoice, DamagedOrUnwritableValueStillGivesALanguage) {
    settings_.PutUserText(kIdValue, "not a number");
    EXPECT_EQ(GetLanguageId(), 0x0409u);
    EXPECT_EQ(settings_.ReadUserDword(kIdValue), 0x0409u);

    settings_.Clear();
    settings_.FailWrites(true);
    EXPECT_EQ(GetLanguageId(), 0x0409u);
    EXPECT_EQ(settings_.ReadUserDword(kIdValue), std::nullopt);
}

TEST_F(LanguageTexts, MissingFileSectionOrKeyReadsErrorAndEmptyStaysEmpty) {
    EXPECT_EQ(LoadLangText("MAIN_CAPTION", 0), "Keyboard driver");
    EXPECT_EQ(LoadLangText("EMPTY", 0), "");
    EXPECT_EQ(LoadLangText("NO_SUCH_KEY", 0), "#Error");
    EXPECT_EQ(LoadLangText("EMPTY", 1), "#Error");
    EXPECT_EQ(LoadLightText("MAIN_CAPTION", 0), "#Error") << "the key is in another section";
    EXPECT_EQ(LoadLangText("MAIN_CAPTION", 2), "#Error") << "index 2 names Lang0000.ini";
    EXPECT_EQ(LanguageFilePath(2), folder_.File("Lang0000.ini"));
}

TEST_F(LanguageTexts, IndexOutsideTheTableIsTakenAsZero) {
    for (const int index : {4, 100, -1}) {
        EXPECT_EQ(LanguageFilePath(index), folder_.File("Lang0409.ini")) << index;
        EXPECT_EQ(LoadLangText("MAIN_CAPTION", index), "Keyboard driver") << index;
    }
}

TEST_F(LanguageTexts, SectionsLightAndModeHoldTheirOwnTexts) {
    EXPECT_EQ(LoadLightText(lang::kLightSpeed, 1), "Velocidade");
    EXPECT_EQ(LoadModeText("254", 0), "Custom");
    settings_.WriteUserDword(kIdValue, 0x1046);
    EXPECT_EQ(LightText("Speed"), "Velocidade");
    EXPECT_EQ(ModeText(1), "Onda");
    EXPECT_EQ(ModeText(254), "#Error");
}

TEST_F(LanguageTexts, TextsAreCutAt259CharactersAndReadAfreshEachTime) {
    qx::testing::WriteBytes(folder_.File("Lang0409.ini"),
                            "[TEXT]\nLONG=" + std::string(400, 'x') + "\n");
    EXPECT_EQ(LoadLangText("LONG", 0), std::string(259, 'x'));
    qx::testing::WriteBytes(folder_.File("Lang0409.ini"), "[TEXT]\nLONG=changed\n");
    EXPECT_EQ(LoadLangText("LONG", 0), "changed");
}

// A target that records what is sent to it, standing in for the main window.
class RecordingTarget : public platform::MessageTarget {
  public:
    struct Message {
        uint32_t message;
        platform::MessageWParam wParam;
        platform::MessageLParam lParam;
    };
    bool PostWindowMessage(uint32_t, platform::MessageWParam, platform::MessageLParam) override {
        return false;
    }
    platform::MessageResult SendWindowMessage(uint32_t message, platform::MessageWParam wParam,
                                              platform::MessageLParam lParam) override {
        sent.push_back({message, wParam, lParam});
        return handler ? handler(wParam, lParam) : 0;
    }
    bool SetWindowTimer(uint32_t, uint32_t) override { return false; }
    bool KillWindowTimer(uint32_t) override { return false; }

    std::vector<Message> sent;
    platform::MessageHandler handler;
};

TEST(LanguageMessage, BroadcastSendsLangWithTheIndexToTheMainWindow) {
    EXPECT_EQ(BroadcastLanguage(1), 0) << "no main window yet";
    auto target = std::make_shared<RecordingTarget>();
    std::vector<int> applied;
    target->handler = MakeLanguageHandler([&](int index) { applied.push_back(index); });
    platform::SetMainWindowTarget(target);
    BroadcastLanguage(1);
    BroadcastLanguage(7);
    platform::SetMainWindowTarget(nullptr);
    ASSERT_EQ(target->sent.size(), 2u);
    EXPECT_EQ(target->sent[0].message, 0x5041u);
    EXPECT_EQ(target->sent[0].wParam, 0x4C414E47u);
    EXPECT_EQ(target->sent[0].lParam, 1);
    EXPECT_EQ(target->sent[1].lParam, 0) << "an index above 3 becomes 0";
    EXPECT_EQ(applied, (std::vector<int>{1, 0}));
}

TEST(LanguageMessage, AnotherCodeIsIgnored) {
    int calls = 0;
    const platform::MessageHandler handler = MakeLanguageHandler([&](int) { ++calls; });
    EXPECT_EQ(handler(platform::FourCharCode("LAN"), 1), 0);
    EXPECT_EQ(handler(0x474E414C, 1), 0);  // 'LANG' in the wrong byte order
    EXPECT_EQ(handler(0, 0), 0);
    EXPECT_EQ(calls, 0);
    handler(kLanguageMessageCode, 1);
    EXPECT_EQ(calls, 1);
}

}  // namespace
}  // namespace qx::lang
