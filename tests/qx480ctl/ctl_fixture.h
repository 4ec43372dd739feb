// The real qx480ctl as a user runs it, for the tests that run it: the emulated keyboard behind
// the transport library (RADODOR_BACKEND=sim) with its memory in a state file, data, settings and
// runtime folders of the test's own (so no driver of the user running the tests is met).
#pragma once

#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "sim/state_file.h"
#include "tests/profiles/profile_fixture.h"
#include "tests/qx480ctl/run_program.h"
#include "tests/support/emulated_keyboard.h"

namespace qx::testing {

class CtlTest : public ProfileTest {
  protected:
    void TearDown() override {
        RunProgram(QX480_SIM_PATH, {"stop"}, Environment());
        ProfileTest::TearDown();
    }

    std::map<std::string, std::string> Environment() const {
        return {{"XDG_DATA_HOME", DataHome()},
                {"XDG_CONFIG_HOME", scratch_.File("config")},
                {"RADODOR_BACKEND", "sim"},
                {"RADODOR_SIM_STATE", StatePath()},
                {"RADODOR_SIM_TRACE", TracePath()},
                {"XDG_RUNTIME_DIR", runtime_.path()},  // no driver of this user runs here
                {"LC_ALL", "en_US.UTF-8"}};
    }
    std::string TracePath() const { return scratch_.File("link.trace"); }
    std::string StatePath() const { return scratch_.File("keyboard.state"); }

    // The emulated keyboard's memory as its state file holds it.
    sim::KeyboardMemory Memory() const {
        const sim::StateFileLoad load = sim::LoadStateFile(StatePath());
        EXPECT_TRUE(load.memory.has_value()) << load.error;
        return load.memory.value_or(sim::KeyboardMemory{});
    }

    TempFolder runtime_;

    ProgramResult Ctl(const std::vector<std::string>& args) const {
        return RunProgram(QX480CTL_PATH, args, Environment());
    }
    ProgramResult Sim(const std::vector<std::string>& args) const {
        return RunProgram(QX480_SIM_PATH, args, Environment());
    }

    // The command bytes of the packets sent to the keyboard since the trace began.
    std::vector<uint8_t> CommandsInTrace() const {
        std::vector<uint8_t> commands;
        std::ifstream trace(TracePath());
        for (std::string line; std::getline(trace, line);) {
            const auto report = test_support::ParseTraceLine(line);
            if (report && report->direction == sim::Direction::kToKeyboard &&
                report->collection == sim::Collection::kCommand && report->bytes.size() > 3) {
                commands.push_back(report->bytes[3]);
            }
        }
        return commands;
    }
};

}  // namespace qx::testing
