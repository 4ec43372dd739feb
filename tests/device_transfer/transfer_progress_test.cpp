// The progress a download and a read-back report: one step per data packet that went through,
// ending at the total it announced, or short of it when the keyboard stops answering.
#include "device/transfer/transfer_progress.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "device/transfer/read_back.h"
#include "tests/device_transfer/transfer_fixture.h"

namespace qx::testing {
namespace {

constexpr uint8_t kLayoutRead = 0x07, kLayoutWrite = 0x08, kTableRead = 0x09, kTableWrite = 0x0A;

struct Step {
    std::size_t done, total;
};

class RecordedProgress final : public device::TransferProgress {
  public:
    void Advanced(std::size_t done, std::size_t total) override {
        steps.push_back({done, total});
        if (onStep) {
            onStep(done);
        }
    }
    std::vector<Step> steps;
    std::function<void(std::size_t)> onStep;
};

class TransferProgressTest : public TransferTest {
  protected:
    void SetUp() override {
        TransferTest::SetUp();
        keyboard::ImageGuard guard = InstallDefaultImage();
        guard->macros = {MakeMacro(1, u"first", 40, 3), MakeMacro(2, u"second", 90)};
    }

    device::TransferLink LinkWithProgress() {
        device::TransferLink link = Link();
        link.progress = &progress_;
        return link;
    }

    std::size_t PacketsOf(std::initializer_list<uint8_t> commands) const {
        const std::vector<uint8_t> sent = CommandsSent();
        std::size_t count = 0;
        for (const uint8_t command : commands) {
            count += static_cast<std::size_t>(std::count(sent.begin(), sent.end(), command));
        }
        return count;
    }

    // Every step counts one packet more, or tells a new total with the same count.
    void ExpectSteadySteps() const {
        for (std::size_t i = 1; i < progress_.steps.size(); ++i) {
            const Step& before = progress_.steps[i - 1];
            const Step& step = progress_.steps[i];
            EXPECT_TRUE(step.done == before.done + 1 ||
                        (step.done == before.done && step.total != before.total))
                << i;
            EXPECT_LE(step.done, step.total) << i;
        }
    }

    RecordedProgress progress_;
};

TEST_F(TransferProgressTest, ADownloadCountsEveryPacketUpToItsTotal) {
    kb_.ClearTrace();
    {
        const keyboard::ImageGuard guard = keyboard::Images().LockImage();
        ASSERT_EQ(device::SnapshotAndDownload(guard, true, LinkWithProgress()).result, 1);
    }
    const std::size_t packets = PacketsOf({kTableWrite, kLayoutWrite});
    ASSERT_GT(packets, 18u);  // three layouts of six packets and a table
    ASSERT_EQ(progress_.steps.size(), packets);
    ExpectSteadySteps();
    EXPECT_EQ(progress_.steps.front().total, packets);
    EXPECT_EQ(progress_.steps.back().done, packets);
}

TEST_F(TransferProgressTest, AReadBackEndsAtTheTotalTheTableTurnedOutToTake) {
    {
        const keyboard::ImageGuard guard = keyboard::Images().LockImage();
        ASSERT_EQ(device::SnapshotAndDownload(guard, true, Link()).result, 1);
    }
    kb_.ClearTrace();
    ASSERT_TRUE(device::ReadBackContents(LinkWithProgress()).has_value());
    ExpectSteadySteps();
    const std::size_t packets = PacketsOf({kLayoutRead, kTableRead});
    EXPECT_EQ(progress_.steps.back().done, packets);
    EXPECT_EQ(progress_.steps.back().total, packets);
}

// The keyboard refuses everything from the given packet on.
constexpr int kEveryRequest = 1000;

TEST_F(TransferProgressTest, AFailedTransferStopsShortOfItsTotal) {
    progress_.onStep = [this](std::size_t done) {
        if (done == 4) {
            kb_.Model().FailRequests(0xFF, kEveryRequest);
        }
    };
    {
        const keyboard::ImageGuard guard = keyboard::Images().LockImage();
        EXPECT_EQ(device::SnapshotAndDownload(guard, true, LinkWithProgress()).result, 0);
    }
    ASSERT_FALSE(progress_.steps.empty());
    EXPECT_EQ(progress_.steps.back().done, 4u);
    EXPECT_LT(progress_.steps.back().done, progress_.steps.back().total);

    progress_.steps.clear();
    progress_.onStep = [this](std::size_t done) {
        if (done == 7) {
            kb_.Model().FailRequests(0xFF, kEveryRequest);
        }
    };
    kb_.Model().ClearMisbehaviour();
    EXPECT_FALSE(device::ReadBackContents(LinkWithProgress()).has_value());
    EXPECT_EQ(progress_.steps.back().done, 7u);
    EXPECT_LT(progress_.steps.back().done, progress_.steps.back().total);
}

}  // namespace
}  // namespace qx::testing
