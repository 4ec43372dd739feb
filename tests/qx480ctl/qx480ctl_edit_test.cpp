// qx480ctl changing key assignments and macros, as a user runs it against the emulated keyboard
// and on files: what the keyboard's memory holds afterwards, and that bad input writes nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include "app/instance_mutex.h"
#include "device/transfer/key_action_layout.h"
#include "device/transfer/macro_table.h"
#include "keyboard/key_code.h"
#include "profiles/profile_file.h"
#include "tests/qx480ctl/ctl_fixture.h"

namespace qx::testing {
namespace {

constexpr uint8_t kBeginWrite = 0x01;
constexpr uint8_t kLayoutWrite = 0x08;

using Action = std::array<uint8_t, 3>;

class CtlEditTest : public CtlTest {
  protected:
    // The action at the layout position of `key` in `profile`, as the keyboard holds it.
    Action ActionOf(keyboard::KeyCode key, int profile) const {
        const sim::KeyboardMemory memory = Memory();
        device::KeyLayout defaults{};
        std::copy(memory.defaultLayout.begin(), memory.defaultLayout.end(), defaults.begin());
        for (std::size_t position = 0; position < device::kLayoutPositions; ++position) {
            if (device::EntryOfPosition(defaults, position) == keyboard::KeyIndexOfCode(key)) {
                const uint8_t* at =
                    memory.profileLayouts.data() + device::kKeyLayoutSize * profile + 3 * position;
                return {at[0], at[1], at[2]};
            }
        }
        ADD_FAILURE() << "no position for key " << key;
        return {};
    }

    void Run(const std::vector<std::string>& args) const {
        const ProgramResult result = Ctl(args);
        ASSERT_EQ(result.exitCode, 0) << args[0] << ' ' << args[1] << ": " << result.err;
    }
};

TEST_F(CtlEditTest, EveryActionLandsAsItsKeyActionAtTheKeysPosition) {
    const struct {
        std::vector<std::string> args;
        keyboard::KeyCode key;
        int profile;
        Action action;
    } cases[] = {
        {{"assign", "A", "key", "B"}, 0x01E, 0, {2, 2, 0x05}},
        {{"assign", "s", "key", "Left Shift"}, 0x01F, 0, {2, 1, 0x02}},
        {{"assign", "0x20", "key", "MOU_MIDDLE"}, 0x020, 0, {1, 1, 0x04}},
        {{"assign", "F", "mouse", "left"}, 0x021, 0, {1, 1, 0x01}},
        {{"assign", "G", "mouse", "wheel-down"}, 0x022, 0, {1, 5, 0xFF}},
        {{"assign", "H", "media", "Mute"}, 0x023, 0, {3, 0xE2, 0x00}},
        {{"assign", "J", "media", "volume up"}, 0x024, 0, {3, 0xE9, 0x00}},
        {{"assign", "K", "media", "17"}, 0x025, 0, {3, 0x8A, 0x01}},
        {{"assign", "L", "function", "Next onboard profile"}, 0x026, 0, {5, 5, 7}},
        {{"assign", "Z", "function", "0"}, 0x02C, 0, {5, 5, 0}},
        {{"assign", "X", "disable"}, 0x02D, 0, {0, 0, 0}},
        {{"assign", "A", "key", "B", "--profile", "2"}, 0x01E, 2, {2, 2, 0x05}},
        // A key assigned to itself, and a key given its default, play their own code again.
        {{"assign", "X", "key", "X"}, 0x02D, 0, {2, 2, 0x1B}},
        {{"assign", "A", "default"}, 0x01E, 0, {2, 2, 0x04}},
    };
    for (const auto& c : cases) {
        Run(c.args);
        EXPECT_EQ(ActionOf(c.key, c.profile), c.action) << c.args[1] << ' ' << c.args[2];
    }
    EXPECT_EQ(ActionOf(0x01E, 1), (Action{2, 2, 0x04}));  // profile 1 never edited
    EXPECT_EQ(ActionOf(0x01E, 2), (Action{2, 2, 0x05}));
}

TEST_F(CtlEditTest, AMacroAddedAndAssignedIsInTheKeyboardsTableAndPlayedByTheKey) {
    const ProgramResult added =
        Ctl({"macro", "add", "--repeat", "3", "Combo", "+LSHIFT", "A", "35ms", "-LSHIFT"});
    ASSERT_EQ(added.exitCode, 0) << added.err;
    EXPECT_EQ(added.out.substr(0, added.out.find('\n')), "macro #1 'Combo': added, 4 actions");
    Run({"assign", "F1", "macro", "Combo"});
    Run({"assign", "F2", "macro", "#1", "--profile", "1"});

    const sim::KeyboardMemory memory = Memory();
    const auto macros = device::DecodeMacroTable(memory.macroTable, u"Macro ");
    ASSERT_EQ(macros.size(), 1u);
    EXPECT_EQ(macros[0].Name(), u"Combo");
    EXPECT_EQ(macros[0].RepeatCount(), 3);
    ASSERT_EQ(macros[0].ActionCount(), 4);
    const keyboard::MacroAction want[] = {
        {50, 0x02A, keyboard::kMacroPress},
        {50, 0x01E, keyboard::kMacroPress},
        {30, 0x01E, keyboard::kMacroRelease},  // 35 ms, rounded down to tens
        {50, 0x02A, keyboard::kMacroRelease},
    };
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(macros[0].Action(i), want[i]) << i;
    }
    EXPECT_EQ(ActionOf(0x03B, 0), (Action{5, 1, 0}));
    EXPECT_EQ(ActionOf(0x03C, 1), (Action{5, 1, 0}));

    const ProgramResult shown = Ctl({"macro", "show", "combo"});
    EXPECT_NE(shown.out.find("repeat: 3\nactions: 4\nsteps: +LSHIFT A 30ms -LSHIFT\n"),
              std::string::npos)
        << shown.out;
}

TEST_F(CtlEditTest, DeletingAnEarlierMacroRewritesAllThreeLayouts) {
    Run({"macro", "add", "First", "A"});
    Run({"macro", "add", "Second", "B"});
    for (const char* profile : {"0", "1", "2"}) {
        Run({"assign", "Q", "macro", "Second", "--profile", profile});
    }
    Run({"assign", "W", "macro", "First"});
    // Keys play First: without --yes the question is answered No, and nothing is written.
    const std::size_t before = CommandsInTrace().size();
    const ProgramResult refused = Ctl({"macro", "delete", "First"});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.err.find("[no; --yes answers yes]"), std::string::npos) << refused.err;
    std::vector<uint8_t> commands = CommandsInTrace();
    EXPECT_EQ(std::count(commands.begin() + static_cast<long>(before), commands.end(), kBeginWrite),
              0);

    const std::size_t start = commands.size();
    Run({"--yes", "macro", "delete", "First"});
    commands = CommandsInTrace();
    EXPECT_EQ(std::count(commands.begin() + static_cast<long>(start), commands.end(), kLayoutWrite),
              18);
    for (const int profile : {0, 1, 2}) {
        EXPECT_EQ(ActionOf(0x010, profile), (Action{5, 1, 0})) << profile;  // Second, now first
    }
    EXPECT_EQ(ActionOf(0x011, 0), (Action{2, 2, 0x1A}));  // W plays nothing deleted
    EXPECT_EQ(Ctl({"macro", "list"}).out, "#1  repeat 1  2 actions  Second\n");
}

TEST_F(CtlEditTest, BadInputIsRefusedAsAUsageErrorWithNothingWritten) {
    const std::string file = File("kept.kpf");
    ASSERT_EQ(Ctl({"new", file}).exitCode, 0);
    const std::string original = ReadBytes(file);
    WriteBytes(File("bad.json"), R"({"macros": [{"id": 1, "name": "m", "repeat": 0x1}]})");
    const std::vector<std::string> cases[] = {
        {"assign", "NOKEY", "default"},
        {"assign", "Fn", "disable"},
        {"assign", "A", "jump"},
        {"assign", "A", "key"},
        {"assign", "A", "disable", "now"},
        {"assign", "A", "key", "G1"},
        {"assign", "A", "mouse", "up"},
        {"assign", "A", "media", "18"},
        {"assign", "A", "media", "Louder"},
        {"assign", "A", "function", "11"},
        {"assign", "A", "macro", "Nothing"},
        {"assign", "A", "macro", "#1", "--file", file},
        {"assign", "A", "macro", "#1", "--repeat", "0"},
        {"assign", "A", "key", "B", "--repeat", "2"},
        {"assign", "A", "default", "--bank", "1"},
        {"assign", "G1", "default", "--bank", "2"},
        {"assign", "A", "default", "--profile", "3", "--file", file},
        {"macro", "add", "M", "A", "30"},
        {"macro", "add", "M", "10ms", "A"},
        {"macro", "add", "M", "A", "10ms", "20ms"},
        {"macro", "add", "M", "A", "40001ms"},
        {"macro", "add", "--file", file, "--repeat", "256", "M", "A"},
        {"macro", "add", "M", "+NOKEY"},
        {"macro", "show", "Nothing"},
        {"macro", "delete", "#7", "--file", file},
        {"macro", "rename", "7", "x"},
        {"build", File("bad.json"), File("out.kpf")},
        {"apply", File("bad.json")},
    };
    for (const auto& args : cases) {
        const ProgramResult result = Ctl(args);
        EXPECT_EQ(result.exitCode, 2) << args[1] << ' ' << args[2] << ": " << result.err;
        EXPECT_NE(result.err.find("qx480ctl: "), std::string::npos) << args[1] << ' ' << args[2];
    }
    const std::vector<uint8_t> commands = CommandsInTrace();
    EXPECT_EQ(std::count(commands.begin(), commands.end(), kBeginWrite), 0);
    EXPECT_EQ(ReadBytes(file), original);
    EXPECT_FALSE(std::filesystem::exists(File("out.kpf")));
    EXPECT_NE(Ctl({"build", File("bad.json"), File("out.kpf")})
                  .err.find("bad.json:1:47: $.macros[0]: expected ',' or '}' after a member"),
              std::string::npos);
}

TEST_F(CtlEditTest, WhileTheDriverRunsKeyboardEditsWaitForForceAndFilesStayFree) {
    ASSERT_EQ(Ctl({"profile"}).exitCode, 0);  // the keyboard is running
    app::InstanceMutex driver;
    {
        const ScopedEnvironment runtime({{"XDG_RUNTIME_DIR", runtime_.path()}});
        ASSERT_EQ(driver.Open(app::InstanceLockPath()), app::InstanceMutex::OpenResult::Created);
    }
    const std::string file = File("edited.kpf");
    ASSERT_EQ(Ctl({"new", file}).exitCode, 0);
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"assign", "A", "key", "B"},
          {"macro", "add", "M", "A"},
          {"apply", file},
          {"import", file}}) {
        const ProgramResult result = Ctl(args);
        EXPECT_EQ(result.exitCode, 1) << args[0];
        EXPECT_NE(result.err.find("the driver is running for this user"), std::string::npos);
    }
    const std::vector<uint8_t> commands = CommandsInTrace();
    EXPECT_EQ(std::count(commands.begin(), commands.end(), kBeginWrite), 0);
    EXPECT_EQ(Ctl({"macro", "list"}).exitCode, 0);  // reading is no edit

    Run({"assign", "A", "key", "B", "--file", file, "--profile", "1"});
    Run({"macro", "add", "--file", file, "M", "A"});
    Run({"assign", "G1", "--bank", "1", "macro", "M", "--file", file});
    profiles::ProfileContents contents;
    ASSERT_EQ(profiles::ReadProfileContents(file, contents), profiles::ProfileCheck::Valid);
    EXPECT_EQ(contents.image->Entry(1, 0x1E).Value(), 0x030u);
    ASSERT_EQ(contents.macros.size(), 1u);
    EXPECT_EQ(contents.image->Entry(0, 265).Kind(), keyboard::kKindMacro);
    EXPECT_EQ(contents.image->Entry(0, 265).Value(), contents.macros[0].Id());

    Run({"--force", "assign", "A", "key", "B"});
    EXPECT_EQ(ActionOf(0x01E, 0), (Action{2, 2, 0x05}));
}

TEST_F(CtlEditTest, TheKeyboardsDumpAppliedAgainBringsItsContentBack) {
    Run({"macro", "add", "M", "A"});
    Run({"assign", "A", "key", "B"});
    Run({"assign", "S", "macro", "M", "--profile", "2"});
    const ProgramResult dump = Ctl({"dump", "--keyboard"});
    ASSERT_EQ(dump.exitCode, 0) << dump.err;
    WriteBytes(File("keyboard.json"), dump.out);
    Run({"--yes", "macro", "delete", "M"});
    Run({"assign", "A", "default"});

    const ProgramResult applied = Ctl({"apply", File("keyboard.json")});
    ASSERT_EQ(applied.exitCode, 0) << applied.err;
    EXPECT_EQ(ActionOf(0x01E, 0), (Action{2, 2, 0x05}));
    EXPECT_EQ(ActionOf(0x01F, 2), (Action{5, 1, 0}));
    EXPECT_EQ(Ctl({"macro", "list"}).out, "#1  repeat 1  2 actions  M\n");
}

}  // namespace
}  // namespace qx::testing
