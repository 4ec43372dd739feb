// The current-profile cache against the emulated keyboard: when it asks the keyboard, when it
// does not, and what a refused write leaves behind.
#include "device/connection/current_profile.h"

#include <gtest/gtest.h>

#include "tests/device_connection/emulated_link.h"

namespace qx::device {
namespace {

constexpr int kReadState = 3;
constexpr int kWriteState = 4;

class CurrentProfileTest : public ::testing::Test {
  protected:
    CurrentProfileTest() : cache(&link.commands) {}

    void SetKeyboardProfile(uint8_t profile) {
        link.keyboard->Write(sim::Area::kStateBlock, kStateProfileByte,
                             std::vector<uint8_t>{profile});
    }
    std::vector<int> Sent() {
        link.board.WaitUntilQuiet();
        return link.CommandsSent();
    }

    testing::EmulatedLink link{true, test_support::kTestTiming, testing::AnswerRead::kSupport};
    CurrentProfileCache cache;
};

TEST_F(CurrentProfileTest, ReadsTheKeyboardOnceAndThenAnswersFromTheCache) {
    SetKeyboardProfile(2);
    EXPECT_EQ(cache.Get(), 2);
    EXPECT_EQ(Sent(), (std::vector<int>{kReadState}));
    SetKeyboardProfile(0);  // the keyboard changes, the cache does not ask again
    EXPECT_EQ(cache.Get(), 2);
    EXPECT_EQ(Sent(), (std::vector<int>{kReadState}));
    cache.Forget();
    EXPECT_EQ(cache.Get(), 0);
    EXPECT_EQ(Sent(), (std::vector<int>{kReadState, kReadState}));
}

TEST_F(CurrentProfileTest, SetWritesTheStateBlockBackWithOnlyTheProfileChanged) {
    const auto before = link.keyboard->Read(sim::Area::kStateBlock, 0, 48);
    cache.Set(1);
    EXPECT_EQ(Sent(), (std::vector<int>{kReadState, kWriteState}));  // no transaction around it
    auto expected = before;
    expected[kStateProfileByte] = 1;
    EXPECT_EQ(link.keyboard->Read(sim::Area::kStateBlock, 0, 48), expected);
    EXPECT_EQ(cache.Cached(), 1);
    EXPECT_EQ(cache.Get(), 1);
    EXPECT_EQ(Sent().size(), 2u);
}

TEST_F(CurrentProfileTest, ARefusedWriteLeavesTheProfileUnknownSoTheNextReadAsks) {
    SetKeyboardProfile(2);
    ASSERT_EQ(cache.Get(), 2);
    link.FailNextCommand(kWriteState, 0xFF);
    cache.Set(1);
    EXPECT_EQ(cache.Cached(), kUnknownProfile);
    EXPECT_EQ(link.keyboard->Memory().ActiveProfile(), 2);
    EXPECT_EQ(cache.Get(), 2);
    EXPECT_EQ(Sent(), (std::vector<int>{kReadState, kReadState, kWriteState, kWriteState,
                                        kWriteState, kReadState}));
}

TEST_F(CurrentProfileTest, AFailedReadChangesNothingAndIsAskedAgain) {
    SetKeyboardProfile(1);
    ASSERT_EQ(cache.Get(), 1);
    link.FailNextCommand(kReadState, 0xFE);
    cache.Set(2);  // the read before the write fails: nothing is written, the cache stays
    EXPECT_EQ(cache.Cached(), 1);
    EXPECT_EQ(link.keyboard->Memory().ActiveProfile(), 1);

    cache.Forget();
    link.FailNextCommand(kReadState, 0xFF);
    EXPECT_EQ(cache.Get(), kUnknownProfile);
    EXPECT_EQ(cache.Get(), 1);  // asked again
}

TEST_F(CurrentProfileTest, IndexesOutsideTheProfilesSendNothing) {
    cache.Set(-1);
    cache.Set(3);
    EXPECT_TRUE(Sent().empty());
    EXPECT_EQ(cache.Cached(), kUnknownProfile);
}

TEST_F(CurrentProfileTest, WithoutAKeyboardTheProfileIsUnknown) {
    link.keyboard->Unplug();
    link.board.WaitUntilQuiet();
    EXPECT_EQ(cache.Get(), kUnknownProfile);
    cache.Set(1);
    EXPECT_EQ(cache.Cached(), kUnknownProfile);
    CurrentProfileCache unlinked;
    EXPECT_EQ(unlinked.Get(), kUnknownProfile);
    unlinked.Set(0);
    EXPECT_EQ(unlinked.Cached(), kUnknownProfile);
}

}  // namespace
}  // namespace qx::device
