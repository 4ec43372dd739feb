// "qx480ctl lighting" and "qx480ctl rate" as a user runs them: the real program, the emulated
// keyboard behind the transport library (RADODOR_BACKEND=sim), its memory in a state file the
// test prepares and inspects.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "lighting/lighting_defaults.h"
#include "lighting/lighting_layout.h"
#include "sim/keyboard_memory.h"
#include "sim/state_file.h"
#include "tests/qx480ctl/run_program.h"
#include "tests/support/emulated_keyboard.h"

namespace qx::lighting {
namespace {

using testing::ProgramResult;
using testing::RunProgram;

class LightingCtlTest : public ::testing::Test {
  protected:
    void TearDown() override { RunProgram(QX480_SIM_PATH, {"stop"}, Environment()); }

    std::map<std::string, std::string> Environment() const {
        return {{"XDG_DATA_HOME", scratch_.File("data")},
                {"XDG_CONFIG_HOME", scratch_.File("config")},
                {"RADODOR_BACKEND", "sim"},
                {"RADODOR_SIM_STATE", StatePath()},
                {"RADODOR_SIM_TRACE", scratch_.File("link.trace")},
                {"LC_ALL", "en_US.UTF-8"}};
    }
    std::string StatePath() const { return scratch_.File("keyboard.state"); }

    ProgramResult Ctl(const std::vector<std::string>& args) const {
        return RunProgram(QX480CTL_PATH, args, Environment());
    }

    // The keyboard before the program first runs: factory memory on `profile`, changed by `edit`.
    template <typename Edit>
    void Prepare(int profile, Edit edit) {
        sim::KeyboardMemory memory = sim::KeyboardMemory::Factory();
        memory.stateBlock[sim::kStateProfileByte] = static_cast<uint8_t>(profile);
        edit(memory);
        std::string error;
        ASSERT_TRUE(sim::SaveStateFile(StatePath(), memory, error)) << error;
    }
    void Prepare(int profile) {
        Prepare(profile, [](sim::KeyboardMemory&) {});
    }

    sim::KeyboardMemory Memory() const {
        const sim::StateFileLoad load = sim::LoadStateFile(StatePath());
        EXPECT_TRUE(load.memory.has_value()) << load.error;
        return load.memory.value_or(sim::KeyboardMemory{});
    }
    uint8_t RecordByte(int profile, std::size_t offset) const {
        return Memory().lighting[profile * kRecordSize + offset];
    }
    uint8_t PageByte(int profile, std::size_t offset) const {
        return Memory().keyLight[profile * kPageSize + offset];
    }

    // Command bytes of the packets sent to the keyboard so far.
    std::vector<uint8_t> CommandsSent() const {
        std::vector<uint8_t> commands;
        std::ifstream trace(scratch_.File("link.trace"));
        for (std::string line; std::getline(trace, line);) {
            const auto report = test_support::ParseTraceLine(line);
            if (report && report->direction == sim::Direction::kToKeyboard &&
                report->collection == sim::Collection::kCommand && report->bytes.size() > 3) {
                commands.push_back(report->bytes[3]);
            }
        }
        return commands;
    }

    testing::TempFolder scratch_;
};

TEST_F(LightingCtlTest, ValuesOutsideTheirRangeAreUsageErrorsThatNeverReachTheKeyboard) {
    Prepare(0);
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"lighting", "brightness", "5"},
          {"lighting", "brightness"},
          {"lighting", "speed", "x"},
          {"lighting", "speed", "4", "5"},
          {"lighting", "layer", "10"},
          {"lighting", "direction", "left"},
          {"lighting", "mode", "29"},
          {"lighting", "mode", "0"},
          {"lighting", "mode", "rainbow"},
          {"lighting", "key", "NOKEY", "on"},
          {"lighting", "key", "A", "lit"},
          {"lighting", "all", "yes"},
          {"lighting", "reset", "now"},
          {"lighting", "colour", "red"},
          {"lighting", "key", "A", "on", "now"},
          {"rate", "4"},
          {"rate", "fast"}}) {
        const ProgramResult result = Ctl(args);
        std::string joined;
        for (const std::string& word : args) {
            joined += word + ' ';
        }
        EXPECT_EQ(result.exitCode, 2) << joined;
        EXPECT_FALSE(result.err.empty()) << joined;
        EXPECT_TRUE(result.out.empty()) << joined;
    }
    EXPECT_TRUE(CommandsSent().empty());
}

TEST_F(LightingCtlTest, ShowsTheLightingOfTheCurrentProfile) {
    Prepare(1, [](sim::KeyboardMemory& m) {
        uint8_t* record = m.lighting.data() + kRecordSize;
        record[field::kModeType] = 3;
        record[field::kBrightness] = 1;
        record[field::kSpeed] = 0;
        record[field::kDirection] = 255;
        record[field::kLayer] = 5;
        record[field::kReportRate] = 9;
        record[field::kTool] = 1;
    });
    const ProgramResult result = Ctl({"lighting"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out,
              "profile: 1\nmode: 3 Ripple\nbrightness: 1\nspeed: 0\ndirection: first (spread)\n"
              "layer: 5\nreport rate: 3\ntool: erase\n");
}

TEST_F(LightingCtlTest, ChangesGoToTheRecordOfTheCurrentProfile) {
    Prepare(2);
    for (const std::vector<std::string>& args : {std::vector<std::string>{"lighting", "mode", "15"},
                                                 {"lighting", "brightness", "1"},
                                                 {"lighting", "speed", "4"},
                                                 {"lighting", "direction", "first"},
                                                 {"lighting", "layer", "7"},
                                                 {"rate", "2"}}) {
        const ProgramResult result = Ctl(args);
        EXPECT_EQ(result.exitCode, 0) << args[1] << ": " << result.err;
    }
    const sim::KeyboardMemory memory = Memory();
    const uint8_t* record = memory.lighting.data() + 2 * kRecordSize;
    EXPECT_EQ(record[field::kModeType], 15);
    EXPECT_EQ(record[field::kBrightness], 1);
    EXPECT_EQ(record[field::kSpeed], 4);  // the speed value, not the slider position
    EXPECT_EQ(record[field::kDirection], 255);
    EXPECT_EQ(record[field::kLayer], 7);
    EXPECT_EQ(record[field::kReportRate], 2);
    const sim::KeyboardMemory factory = sim::KeyboardMemory::Factory();
    EXPECT_TRUE(std::equal(factory.lighting.begin(), factory.lighting.begin() + 2 * kRecordSize,
                           memory.lighting.begin()));

    EXPECT_EQ(Ctl({"rate"}).out, "report rate: 2\n");
}

TEST_F(LightingCtlTest, AChangeIsOneWriteTransactionAfterTheRead) {
    Prepare(0);
    ASSERT_EQ(Ctl({"lighting", "brightness", "0"}).exitCode, 0);
    const std::vector<uint8_t> commands = CommandsSent();
    ASSERT_GE(commands.size(), 3U);
    EXPECT_EQ(std::vector<uint8_t>(commands.end() - 3, commands.end()),
              (std::vector<uint8_t>{0x01, 0x06, 0x02}));
}

TEST_F(LightingCtlTest, WhatTheKeyboardDoesNotOfferIsRefused) {
    Prepare(0, [](sim::KeyboardMemory& m) {
        std::fill(m.stateBlock.begin() + kModeSlotsOffset, m.stateBlock.end(), 0);
        m.stateBlock[kModeSlotsOffset] = 1;
        m.stateBlock[kModeSlotsOffset + 1] = 2;
    });
    EXPECT_EQ(Ctl({"lighting", "mode", "5"}).exitCode, 1);
    EXPECT_EQ(Ctl({"lighting", "mode", "254"}).exitCode, 1);
    EXPECT_EQ(Ctl({"lighting", "key", "A", "on"}).exitCode, 1);
    EXPECT_EQ(Ctl({"lighting", "all", "on"}).exitCode, 1);
    EXPECT_EQ(Ctl({"lighting", "mode", "2"}).exitCode, 0);
    EXPECT_EQ(RecordByte(0, field::kModeType), 2);
}

TEST_F(LightingCtlTest, KeysAreLitOneByOneInTheCurrentLayerOfThePerKeyMode) {
    Prepare(1, [](sim::KeyboardMemory& m) {
        m.lighting[kRecordSize + field::kModeType] = 254;
        m.lighting[kRecordSize + field::kLayer] = 2;
    });
    const ProgramResult fn = Ctl({"lighting", "key", "fn", "on"});
    ASSERT_EQ(fn.exitCode, 0) << fn.err;
    EXPECT_EQ(fn.out, "key Fn: on in layer 2\n");
    EXPECT_EQ(PageByte(1, 41) & 0x20, 0x20);

    ASSERT_EQ(Ctl({"lighting", "key", "0x1E", "on"}).exitCode, 0);  // A: LED 11
    EXPECT_EQ(PageByte(1, 2 * 18 + 1) & 0x08, 0x08);
    ASSERT_EQ(Ctl({"lighting", "key", "a", "off"}).exitCode, 0);
    EXPECT_EQ(PageByte(1, 2 * 18 + 1) & 0x08, 0);
    // A name before a code: "2" is the key 2 (LED 17), not the key whose code is 2 (the key 1).
    EXPECT_EQ(Ctl({"lighting", "key", "2", "on"}).out, "key 2: on in layer 2\n");
    EXPECT_EQ(PageByte(1, 2 * 18 + 2) & 0x02, 0x02);

    const ProgramResult noLed = Ctl({"lighting", "key", "RWIN", "on"});
    EXPECT_EQ(noLed.exitCode, 1);
    EXPECT_FALSE(noLed.err.empty());

    ASSERT_EQ(Ctl({"lighting", "all", "on"}).exitCode, 0);
    for (std::size_t i = 0; i < kLayerSize; ++i) {
        EXPECT_EQ(PageByte(1, 36 + i), 0xFF) << i;
    }
    EXPECT_EQ(PageByte(0, 36), sim::KeyboardMemory::Factory().keyLight[36]);
}

TEST_F(LightingCtlTest, ResetInstallsTheDefaultsOnTheCurrentProfile) {
    Prepare(2, [](sim::KeyboardMemory& m) {
        std::fill(m.lighting.begin(), m.lighting.end(), 0x33);
        std::fill(m.keyLight.begin(), m.keyLight.end(), 0x44);
    });
    const ProgramResult result = Ctl({"lighting", "reset"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const sim::KeyboardMemory memory = Memory();
    EXPECT_TRUE(std::equal(kDefaultLightingRecord.begin(), kDefaultLightingRecord.end(),
                           memory.lighting.begin() + 2 * kRecordSize));
    EXPECT_EQ(memory.lighting[2 * kRecordSize + kDefaultRecordSize], 0x33);
    EXPECT_TRUE(std::equal(kDefaultKeyLightLayers.begin(), kDefaultKeyLightLayers.end(),
                           memory.keyLight.begin() + 2 * kPageSize));
    EXPECT_EQ(memory.keyLight[0], 0x44);
    EXPECT_EQ(memory.lighting[0], 0x33);
}

TEST_F(LightingCtlTest, WithoutAKeyboardItExitsWithThree) {
    Prepare(0);
    ASSERT_EQ(Ctl({"lighting"}).exitCode, 0);  // the first program starts the keyboard
    ASSERT_EQ(RunProgram(QX480_SIM_PATH, {"unplug"}, Environment()).exitCode, 0);
    EXPECT_EQ(Ctl({"lighting"}).exitCode, 3);
    EXPECT_EQ(Ctl({"rate", "1"}).exitCode, 3);
}

}  // namespace
}  // namespace qx::lighting
