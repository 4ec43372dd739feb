// qx480ctl as a user runs it: the real program, the emulated keyboard behind the transport
// library (RADODOR_BACKEND=sim), data and settings folders of the test's own.
#include <gtest/gtest.h>
#include <pty.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>

#include "device/transfer/key_action_layout.h"
#include "keyboard/image_record.h"
#include "profiles/profile_file.h"
#include "tests/profiles/profile_builders.h"
#include "tests/profiles/profile_fixture.h"
#include "tests/qx480ctl/ctl_fixture.h"
#include "tests/qx480ctl/run_program.h"
#include "tests/support/emulated_keyboard.h"
#include "tools/qx480ctl/keyboard_link.h"

namespace qx::testing {
namespace {

// ---- Command line and files, no keyboard needed ------------------------------------------

TEST_F(CtlTest, BadArgumentsAreUsageErrors) {
    for (const std::vector<std::string>& args : {std::vector<std::string>{},
                                                 {"frobnicate"},
                                                 {"validate"},
                                                 {"validate", "a", "b"},
                                                 {"--colour", "status"},
                                                 {"profile", "3"},
                                                 {"profile", "x"},
                                                 {"profile", "-1"},
                                                 {"profile", "1x"}}) {
        const ProgramResult result = Ctl(args);
        EXPECT_EQ(result.exitCode, 2) << (args.empty() ? "" : args[0]);
        EXPECT_FALSE(result.err.empty());
        EXPECT_TRUE(result.out.empty());
    }
}

TEST_F(CtlTest, HelpNamesEverySubcommand) {
    const ProgramResult result = Ctl({"--help"});
    EXPECT_EQ(result.exitCode, 0);
    for (const char* name : {"status", "new FILE", "validate FILE", "dump FILE", "read-back FILE",
                             "import FILE", "profile [N]", "--yes"}) {
        EXPECT_NE(result.out.find(name), std::string::npos) << name;
    }
}

TEST_F(CtlTest, NewWritesADefaultFileThatValidates) {
    const std::string path = File("new.kpf");
    EXPECT_EQ(Ctl({"new", path}).exitCode, 0);
    EXPECT_EQ(ReadBytes(path).size(), 32832u);
    const ProgramResult valid = Ctl({"validate", path});
    EXPECT_EQ(valid.exitCode, 0);
    EXPECT_EQ(valid.out, path + ": valid\n");
    EXPECT_EQ(Ctl({"new", File("no/folder/new.kpf")}).exitCode, 1);
}

TEST_F(CtlTest, ValidateSaysWhyAFileIsRefused) {
    const std::string path = File("flag.kpf");
    WriteBytes(path, MakeFileBytes(0, 0, 2));
    const ProgramResult result = Ctl({"validate", path});
    EXPECT_EQ(result.exitCode, 1);
    // The system's own message in the current language, then the reason.
    EXPECT_NE(result.err.find("The file " + path + " is not a valid profile file."),
              std::string::npos);
    EXPECT_NE(result.err.find("neither 0 nor 1"), std::string::npos);
    EXPECT_EQ(Ctl({"validate", File("missing.kpf")}).exitCode, 1);
}

TEST_F(CtlTest, DumpShowsHeaderEntriesMacrosAndEscapedTexts) {
    {
        keyboard::ImageGuard guard = InstallDefaultImage();
        guard->image->Entry(1, 0x1E).SetKind(keyboard::kKindKey);
        guard->image->Entry(1, 0x1E).SetValue(0x02A);
        guard->image->Entry(0, 0x3B).SetKind(keyboard::kKindText);
        guard->texts.Set(0x3B, u"say \"hi\"\n");
        guard->macros = {MakeMacro(1, u"Ma\u00e7ro", 2)};
    }
    const std::string path = File("dump.kpf");
    ASSERT_TRUE(profiles::SaveImageToFile(path));
    const ProgramResult result = Ctl({"dump", path});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    for (const char* piece :
         {"\"macroCount\": 1", "\"stringAreaSize\": 20", "\"block\": 1", "\"entry\": 30",
          "\"key\": \"A\"", "\"kindName\": \"key\"", "\"value\": 42", "\"target\": \"Left Shift\"",
          "\"name\": \"Ma\u00e7ro\"", "\"action\": \"release\"", "\"entry\": 59",
          "\"text\": \"say \\\"hi\\\"\\n\"", "\"gKeyBank\": 1"}) {
        EXPECT_NE(result.out.find(piece), std::string::npos) << piece;
    }
    WriteBytes(path, "not a profile file");
    EXPECT_EQ(Ctl({"dump", path}).exitCode, 1);
}

// ---- With the emulated keyboard ----------------------------------------------------------

TEST_F(CtlTest, WithoutAKeyboardTheKeyboardCommandsExitWithThree) {
    ASSERT_EQ(Ctl({"profile"}).exitCode, 0);  // the first program starts the keyboard
    ASSERT_EQ(Sim({"unplug"}).exitCode, 0);
    for (const std::vector<std::string>& args : {std::vector<std::string>{"status"},
                                                 {"profile"},
                                                 {"read-back", File("x.kpf")},
                                                 {"import", File("x.kpf")}}) {
        const ProgramResult result = Ctl(args);
        EXPECT_EQ(result.exitCode, 3) << args[0];
        EXPECT_NE(result.err.find("no keyboard"), std::string::npos);
    }
    EXPECT_FALSE(std::filesystem::exists(File("x.kpf")));
}

TEST_F(CtlTest, StatusNamesProfileCapacityAndModes) {
    const ProgramResult result = Ctl({"status"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_NE(result.out.find("keyboard: present\ncurrent profile: 0\n"), std::string::npos);
    EXPECT_NE(result.out.find("macro capacity: 4096 bytes"), std::string::npos);
    EXPECT_NE(result.out.find("lighting modes:\n  1 "), std::string::npos);
}

TEST_F(CtlTest, ProfileSwitchesTheActiveOnboardProfile) {
    EXPECT_EQ(Ctl({"profile"}).out, "0\n");
    const ProgramResult switched = Ctl({"profile", "2"});
    EXPECT_EQ(switched.exitCode, 0) << switched.err;
    EXPECT_EQ(Ctl({"profile"}).out, "2\n");
}

TEST_F(CtlTest, ARefusedImportChangesNothing) {
    const std::string path = File("bad.kpf");
    WriteBytes(path, MakeFileBytes(101, 0));
    const ProgramResult result = Ctl({"import", path});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err.find("could not be loaded"), std::string::npos);  // MAIN_PROMPT_INPORT
    for (const uint8_t command : CommandsInTrace()) {
        EXPECT_NE(command, 0x01);  // no write transaction began
    }
}

TEST_F(CtlTest, AnImportedFileReadsBackWithTheSameKeysAndMacros) {
    std::vector<keyboard::MacroRecord> macros{MakeMacro(1, u"first", 40, 3),
                                              MakeMacro(2, u"second one", 7)};
    macros[1].SetAction(0, {40950, 0x171, 0});
    macros[1].SetAction(1, {0, 0x15E, 1});
    {
        keyboard::ImageGuard guard = InstallDefaultImage();
        keyboard::ImageRecord& image = *guard->image;
        for (int block = 0; block < 3; ++block) {
            keyboard::FillDefaultBlock(image.Block(block));
        }
        const struct {
            int profile, entry;
            uint16_t kind;
            uint32_t value;
        } assigned[] = {
            {0, 0x1E, keyboard::kKindKey, 0x030},    {0, 0x2A, keyboard::kKindKey, 0x161},
            {0, 0x39, keyboard::kKindDisabled, 0},   {1, 0x10, keyboard::kKindMacro, 2},
            {1, 0x11, keyboard::kKindMacro, 1},      {1, 0x3B, keyboard::kKindStopMacro, 0},
            {2, 0x12, keyboard::kKindMultimedia, 7}, {2, 0x13, keyboard::kKindFunction, 4},
            {2, 0x1D, keyboard::kKindKey, 0x15C},
        };
        for (const auto& a : assigned) {
            image.Entry(a.profile, a.entry).SetKind(a.kind);
            image.Entry(a.profile, a.entry).SetValue(a.value);
        }
        guard->macros = macros;
    }
    const std::string source = File("source.kpf");
    ASSERT_TRUE(profiles::SaveImageToFile(source));

    const ProgramResult imported = Ctl({"import", source});
    ASSERT_EQ(imported.exitCode, 0) << imported.err;
    // The transfer: one write transaction with the macro table, then the three layouts.
    std::vector<uint8_t> commands = CommandsInTrace();
    const auto begin = std::find(commands.begin(), commands.end(), 0x01);
    ASSERT_NE(begin, commands.end());
    std::vector<uint8_t> transaction(begin, commands.end());
    ASSERT_GE(transaction.size(), 21u);
    EXPECT_EQ(transaction.back(), 0x02);
    EXPECT_EQ(std::count(transaction.begin(), transaction.end(), 0x08), 18);
    EXPECT_EQ(transaction[1], 0x0A);

    const std::string back = File("back.kpf");
    const ProgramResult readBack = Ctl({"read-back", back});
    ASSERT_EQ(readBack.exitCode, 0) << readBack.err;

    profiles::ProfileContents want;
    profiles::ProfileContents got;
    ASSERT_EQ(profiles::ReadProfileContents(source, want), profiles::ProfileCheck::Valid);
    ASSERT_EQ(profiles::ReadProfileContents(back, got), profiles::ProfileCheck::Valid);
    for (int block = 0; block < 3; ++block) {
        const auto a = want.image->Block(block);
        const auto b = got.image->Block(block);
        EXPECT_TRUE(std::equal(a.begin(), a.end(), b.begin())) << block;
    }
    ASSERT_EQ(got.macros.size(), want.macros.size());
    for (std::size_t i = 0; i < want.macros.size(); ++i) {
        EXPECT_EQ(got.macros[i].Id(), want.macros[i].Id());
        EXPECT_EQ(got.macros[i].Name(), want.macros[i].Name());
        EXPECT_EQ(got.macros[i].RepeatCount(), want.macros[i].RepeatCount());
        ASSERT_EQ(got.macros[i].ActionCount(), want.macros[i].ActionCount());
        for (int a = 0; a < want.macros[i].ActionCount(); ++a) {
            EXPECT_EQ(got.macros[i].Action(a), want.macros[i].Action(a)) << i << ' ' << a;
        }
    }
}

// The driver may be attached to the same keyboard: the G-key bank switch is the driver's to act
// on, so the keyboard's bank state is written by one program only.
TEST_F(CtlTest, ItsKeyboardLinkLeavesTheKeyboardsEventsToTheDriver) {
    const std::map<std::string, std::string> environment = Environment();
    std::map<std::string, std::string> simVariables;
    for (const char* name :
         {"RADODOR_BACKEND", "RADODOR_SIM_STATE", "RADODOR_SIM_TRACE", "XDG_RUNTIME_DIR"}) {
        simVariables[name] = environment.at(name);
    }
    const ScopedEnvironment scoped(simVariables);
    platform::SetProgramFolder(std::filesystem::path(QX480CTL_PATH).parent_path().string() + "/");
    std::string why;
    auto link = ctl::KeyboardLink::Open(why);
    ASSERT_NE(link, nullptr) << why;
    ASSERT_EQ(Sim({"event", "0x02ff"}).exitCode, 0);
    bool switched = false;
    for (int poll = 0; poll < 50 && !switched; ++poll) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        switched = Sim({"status"}).out.find("G-key bank: 1") != std::string::npos;
    }
    link.reset();
    EXPECT_FALSE(switched);
}

TEST_F(CtlTest, ImportRewritesAnExistingProfileStore) {
    const std::string store = DataHome() + "/Varkon QX480 Driver/$Profile0";
    std::filesystem::create_directories(DataHome() + "/Varkon QX480 Driver");
    WriteBytes(store, "");
    const std::string source = File("source.kpf");
    ASSERT_EQ(profiles::WriteDefaultProfileFile(source, 0, false), 1);
    const ProgramResult result = Ctl({"import", source});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(ReadBytes(store), ReadBytes(source));
}

// What a terminal shows of a program whose error stream it is.
std::string OnTerminal(const std::function<void(int)>& run) {
    int master = -1;
    int terminal = -1;
    if (::openpty(&master, &terminal, nullptr, nullptr, nullptr) != 0) {
        ADD_FAILURE() << "no pseudo-terminal";
        return {};
    }
    run(terminal);
    ::close(terminal);
    std::string shown;
    char buffer[4096];
    for (ssize_t n; (n = ::read(master, buffer, sizeof buffer)) > 0;) {
        shown.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(master);
    return shown;
}

TEST_F(CtlTest, TransfersShowTheirProgressOnlyOnATerminal) {
    const std::string source = File("source.kpf");
    ASSERT_EQ(profiles::WriteDefaultProfileFile(source, 0, false), 1);
    const ProgramResult piped = Ctl({"import", source});
    ASSERT_EQ(piped.exitCode, 0) << piped.err;
    EXPECT_EQ(piped.err, "");

    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"import", source}, {"read-back", File("back.kpf")}}) {
        int exitCode = -1;
        const std::string shown = OnTerminal([&](int terminal) {
            exitCode = RunProgram(QX480CTL_PATH, args, Environment(), terminal).exitCode;
        });
        EXPECT_EQ(exitCode, 0) << args[0];
        EXPECT_NE(shown.find("] 100%"), std::string::npos) << args[0] << ": " << shown;
        EXPECT_TRUE(shown.ends_with('\n')) << args[0];
    }
}

}  // namespace
}  // namespace qx::testing
