#include "sim/control.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "sim_test_support.h"

namespace qx::sim {
namespace {

using namespace std::chrono_literals;

TEST(ControlTest, BadCommandLinesAreRefusedWithAReason) {
    const std::vector<std::vector<std::string>> bad = {
        {},
        {"frobnicate"},
        {"status", "extra"},
        {"event"},
        {"event", "0x10000"},
        {"event", "loud"},
        {"fail", "0x12"},
        {"fail", "0xff", "-3"},
        {"fail", "0xff", "3", "4"},
        {"silent", "x"},
        {"delay", "-5"},
        {"latency", "never"},
        {"boot-return", "soon"},
        {"replug", "1.5"},
        {"read", "nowhere"},
        {"read", "lighting", "126"},
        {"read", "lighting", "100", "27"},
    };
    for (const auto& words : bad) {
        SCOPED_TRACE(::testing::PrintToString(words));
        const auto problem = CheckControlWords(words);
        ASSERT_TRUE(problem);
        EXPECT_FALSE(problem->empty());
        auto keyboard = Keyboard::Create();
        EXPECT_EQ(RunControl(*keyboard, words).exitCode, kExitUsage);
    }
    for (const auto& words :
         std::vector<std::vector<std::string>>{{"status"},
                                               {"event", "0x02ff"},
                                               {"event", "1025"},
                                               {"fail", "0xFE", "always"},
                                               {"fail", "255"},
                                               {"silent"},
                                               {"latency", "1"},
                                               {"boot-return", "never"},
                                               {"read", "lighting", "100", "26"},
                                               {"stop"},
                                               {"help"}}) {
        EXPECT_FALSE(CheckControlWords(words)) << ::testing::PrintToString(words);
    }
}

TEST(ControlTest, CommandsSteerTheKeyboard) {
    auto keyboard = Keyboard::Create();
    EXPECT_EQ(RunControl(*keyboard, {"fail", "0xfe", "3"}).exitCode, kExitOk);
    EXPECT_EQ(keyboard->Status().failCount, 3);
    EXPECT_EQ(keyboard->Status().failStatus, kStatusUnknownCommand);
    RunControl(*keyboard, {"silent", "always"});
    EXPECT_EQ(keyboard->Status().silentCount, kUntilCleared);
    RunControl(*keyboard, {"wrong", "2"});
    EXPECT_EQ(keyboard->Status().wrongCommandCount, 2);
    RunControl(*keyboard, {"latency", "1"});
    RunControl(*keyboard, {"delay", "7"});
    EXPECT_EQ(keyboard->Status().latency, 1ms);
    EXPECT_EQ(keyboard->Status().answerDelay, 7ms);
    RunControl(*keyboard, {"clear"});
    EXPECT_EQ(keyboard->Status().latency, 0ms);
    EXPECT_EQ(keyboard->Status().silentCount, 0);

    RunControl(*keyboard, {"unplug"});
    EXPECT_FALSE(keyboard->IsPresent());
    EXPECT_EQ(RunControl(*keyboard, {"event", "0x02ff"}).exitCode, kExitFailed);
    RunControl(*keyboard, {"plug"});
    EXPECT_TRUE(keyboard->IsPresent());
    EXPECT_EQ(RunControl(*keyboard, {"event", "0x02ff"}).exitCode, kExitOk);
    ASSERT_TRUE(keyboard->WaitUntilQuiet());
    EXPECT_EQ(keyboard->TraceLines().back(), "< cons 03 ff 02");

    EXPECT_TRUE(RunControl(*keyboard, {"stop"}).stopServer);
}

TEST(ControlTest, ReadShowsMemoryAsOffsetAndHexLines) {
    auto keyboard = Keyboard::Create();
    EXPECT_EQ(RunControl(*keyboard, {"read", "lighting", "0", "18"}).text,
              "00000: 01 04 02 00 00 00 00 00 00 00 00 00 00 00 00 00\n"
              "00016: 00 00\n");
    EXPECT_EQ(RunControl(*keyboard, {"read", "state", "10", "2"}).text, "00010: 00 20\n");
    const std::string macros = RunControl(*keyboard, {"read", "macros"}).text;
    EXPECT_EQ(std::count(macros.begin(), macros.end(), '\n'), 4096 / 16)
        << "the macro area as far as byte 11 announces it";
}

// ---- The qx480-sim program ------------------------------------------------------------------

class ProgramTest : public ::testing::Test {
  protected:
    // Runs qx480-sim with the words; returns its exit code, output in out_.
    int RunProgram(const std::string& arguments) {
        const char* runtime = std::getenv("QX_RUNTIME_DIR");
        const std::string program = std::string(runtime ? runtime : ".") + "/qx480-sim";
        const auto output = dir_ / "out.txt";
        const std::string command =
            "'" + program + "' " + arguments + " >'" + output.string() + "' 2>&1";
        const int status = std::system(command.c_str());
        std::ifstream in(output);
        std::ostringstream text;
        text << in.rdbuf();
        out_ = text.str();
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    testing::TempFolder dir_;
    std::string out_;
};

TEST_F(ProgramTest, HelpListsTheCommandsAndBadInputExitsWith2) {
    EXPECT_EQ(RunProgram("--help"), 0);
    for (const char* command : {"status", "unplug", "plug", "event", "fail", "latency", "reset"}) {
        EXPECT_NE(out_.find(std::string("  ") + command), std::string::npos) << command;
    }
    EXPECT_EQ(RunProgram("explode"), kExitUsage);
    EXPECT_NE(out_.find("unknown command 'explode'"), std::string::npos) << out_;
    EXPECT_EQ(RunProgram("fail 0x12 3"), kExitUsage);
    EXPECT_EQ(RunProgram(""), kExitUsage);
    EXPECT_EQ(RunProgram("--state"), kExitUsage);
    EXPECT_EQ(RunProgram("--bogus status"), kExitUsage);
    EXPECT_EQ(RunProgram("serve extra"), kExitUsage);
    EXPECT_EQ(RunProgram("serve --linger soon"), kExitUsage);
}

TEST_F(ProgramTest, CommandsWithoutARunningKeyboardSaySoWithExitCode1) {
    const auto state = dir_ / "kb.state";
    EXPECT_EQ(RunProgram("--state '" + state.string() + "' unplug"), kExitFailed);
    EXPECT_NE(out_.find("no emulated keyboard is running"), std::string::npos) << out_;
}

TEST_F(ProgramTest, OfflineResetWritesFactoryContentButNeverOverAForeignFile) {
    const auto state = dir_ / "kb.state";
    EXPECT_EQ(RunProgram("--state '" + state.string() + "' reset"), kExitOk) << out_;
    std::string error;
    EXPECT_EQ(LoadStateFile(state).memory, KeyboardMemory::Factory());

    const auto foreign = dir_ / "notes.txt";
    std::ofstream(foreign) << "not a keyboard";
    EXPECT_EQ(RunProgram("--state '" + foreign.string() + "' reset"), kExitFailed);
    std::ifstream in(foreign);
    std::string content;
    std::getline(in, content);
    EXPECT_EQ(content, "not a keyboard");
}

}  // namespace
}  // namespace qx::sim
