#include "sim/trace.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "sim/keyboard.h"
#include "sim_test_support.h"

namespace qx::sim {
namespace {

using testing::TempFolder;

std::string ReadText(const std::filesystem::path& path) {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string Repeat(const std::string& piece, size_t n) {
    std::string s;
    for (size_t i = 0; i < n; ++i) {
        s += piece;
    }
    return s;
}

TEST(TraceTest, LineIsDirectionCollectionAndLowerCaseHexBytes) {
    const std::vector<uint8_t> event = {0x03, 0xFF, 0x02};
    EXPECT_EQ(FormatTraceLine(Direction::kFromKeyboard, Collection::kConsumer, event),
              "< cons 03 ff 02");
    const std::vector<uint8_t> led = {0x05, 0x01};
    EXPECT_EQ(FormatTraceLine(Direction::kToKeyboard, Collection::kLed, led), "> led 05 01");
    EXPECT_EQ(FormatTraceLine(Direction::kToKeyboard, Collection::kCommand,
                              testing::Request(0x03, 48, 0)),
              "> cmd 04 33 00 03 30 00 00 00" + Repeat(" 00", 56));
}

TEST(TraceTest, EveryReportCrossingTheLinkIsAppendedToTheFileAndKeptInMemory) {
    TempFolder dir;
    const auto path = dir / "trace.txt";
    { std::ofstream(path) << "earlier line\n"; }
    KeyboardOptions options;
    options.traceFile = path;
    auto keyboard = Keyboard::Create(options);

    const std::vector<uint8_t> ledReport = {0x05, 0x01};
    keyboard->ReceiveReport(Collection::kLed, ledReport);
    keyboard->ReceiveReport(Collection::kCommand, testing::Request(0x0D, 0, 0));
    ASSERT_TRUE(keyboard->WaitUntilQuiet());
    keyboard->SendEvent(0x0401);
    ASSERT_TRUE(keyboard->WaitUntilQuiet());

    const std::string request = "> cmd 04 0d 00 0d 00 00 00 00" + Repeat(" 00", 56);
    const std::string answer = "< cmd 04 0d 00 0d 00 00 00 00" + Repeat(" 00", 56);
    const std::vector<std::string> expected = {"> led 05 01", request, answer, "< cons 03 01 04"};
    EXPECT_EQ(keyboard->TraceLines(), expected);
    EXPECT_EQ(ReadText(path),
              "earlier line\n> led 05 01\n" + request + "\n" + answer + "\n< cons 03 01 04\n");

    keyboard->ClearTrace();
    EXPECT_TRUE(keyboard->TraceLines().empty());
}

TEST(TraceTest, ReportsThatNeverCrossAreNotTraced) {
    auto keyboard = Keyboard::Create();
    keyboard->DropRequests(1);
    keyboard->ReceiveReport(Collection::kCommand, testing::Request(0x03, 48, 0));
    ASSERT_TRUE(keyboard->WaitUntilQuiet());
    ASSERT_EQ(keyboard->TraceLines().size(), 1u) << "the request went in, no answer came out";

    keyboard->Unplug();
    EXPECT_EQ(keyboard->ReceiveReport(Collection::kCommand, testing::Request(0x03, 48, 0)), -1);
    EXPECT_FALSE(keyboard->SendEvent(0x02FF));
    ASSERT_TRUE(keyboard->WaitUntilQuiet());
    EXPECT_EQ(keyboard->TraceLines().size(), 1u);
}

TEST(TraceTest, TraceFileThatCannotBeOpenedIsReported) {
    TempFolder dir;
    KeyboardOptions options;
    options.traceFile = dir / "missing-folder" / "trace.txt";
    std::string error;
    EXPECT_EQ(Keyboard::Open(options, error), nullptr);
    EXPECT_NE(error.find("trace"), std::string::npos) << error;
}

}  // namespace
}  // namespace qx::sim
