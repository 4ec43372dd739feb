#include "sim/wire.h"

#include <gtest/gtest.h>

namespace qx::sim::wire {
namespace {

TEST(WireTest, FramesSurviveAnySplitOfTheStream) {
    std::vector<uint8_t> stream;
    const auto a = EncodeByte(FrameType::kReport, 2, std::vector<uint8_t>{0x03, 0xFF, 0x02});
    const auto b = EncodeInt(FrameType::kControlReply, -7, "text");
    const auto c = EncodeWords(FrameType::kControl, {"fail", "0xff", ""});
    for (const auto* f : {&a, &b, &c}) {
        stream.insert(stream.end(), f->begin(), f->end());
    }
    for (size_t step : {size_t{1}, size_t{3}, stream.size()}) {
        SCOPED_TRACE(step);
        FrameReader reader;
        std::vector<Frame> frames;
        for (size_t i = 0; i < stream.size(); i += step) {
            reader.Feed(std::span(stream).subspan(i, std::min(step, stream.size() - i)));
            while (auto f = reader.Next()) {
                frames.push_back(*f);
            }
        }
        ASSERT_EQ(frames.size(), 3u);
        EXPECT_EQ(frames[0].type, FrameType::kReport);
        EXPECT_EQ(frames[0].body, (std::vector<uint8_t>{2, 0x03, 0xFF, 0x02}));
        EXPECT_EQ(IntOf(frames[1]), -7);
        EXPECT_EQ(TextAfterInt(frames[1]), "text");
        EXPECT_EQ(WordsOf(frames[2]), (std::vector<std::string>{"fail", "0xff", ""}));
        EXPECT_FALSE(reader.Failed());
    }
}

TEST(WireTest, MalformedStreamStopsTheReaderForGood) {
    FrameReader empty;
    empty.Feed(std::vector<uint8_t>{0, 0, 0, 0, 1});
    EXPECT_FALSE(empty.Next());
    EXPECT_TRUE(empty.Failed());

    FrameReader huge;
    huge.Feed(std::vector<uint8_t>{0xFF, 0xFF, 0xFF, 0x7F});
    EXPECT_FALSE(huge.Next());
    EXPECT_TRUE(huge.Failed());
    huge.Feed(EncodeText(FrameType::kLog, "late"));
    EXPECT_FALSE(huge.Next());

    Frame unterminated{FrameType::kControl, {'a', 0, 'b'}};
    EXPECT_FALSE(WordsOf(unterminated));
    EXPECT_FALSE(IntOf(Frame{FrameType::kWriteResult, {1, 2}}));
}

}  // namespace
}  // namespace qx::sim::wire
