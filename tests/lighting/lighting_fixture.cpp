#include "tests/lighting/lighting_fixture.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "device/link/command_packet.h"

namespace qx::lighting::testing {
namespace {

std::filesystem::path MakeTempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "qx-lighting-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("no temporary folder");
    }
    return pattern;
}

std::string Hex(uint8_t byte) {
    char text[3];
    std::snprintf(text, sizeof text, "%02x", byte);
    return text;
}

std::string Spell(const device::Packet& packet) {
    const uint8_t command = packet[device::kCommandOffset];
    const uint8_t length = packet[device::kLengthOffset];
    const int address = packet[device::kAddressOffset] | (packet[device::kAddressOffset + 1] << 8);
    switch (command) {
        case 0x01:
            return "begin";
        case 0x02:
            return "end";
        case 0x03:
            return "state";
        case 0x05:
        case 0x10:
            return "read" + std::to_string(command) + " @" + std::to_string(address) + " n" +
                   std::to_string(length);
        default: {
            std::string text =
                "write" + std::to_string(command) + " @" + std::to_string(address) + " [";
            for (int i = 0; i < length; ++i) {
                text += (i == 0 ? "" : " ") + Hex(packet[device::kDataOffset + i]);
            }
            return text + "]";
        }
    }
}

}  // namespace

void RecordingView::ClearModeList() {
    events.emplace_back("modes cleared");
    modeNames.clear();
}
void RecordingView::AddMode(int type, const std::string& name) {
    events.push_back("mode " + std::to_string(type));
    modeNames.push_back(name);
}
void RecordingView::SelectModeItem(int index) {
    events.push_back("select item " + std::to_string(index));
    selectedItem = index;
}
void RecordingView::ShowModeControls(int type, uint8_t direction) {
    events.push_back("controls " + std::to_string(type) + " " + std::to_string(direction));
}
void RecordingView::SetSliderPositions(int brightness, int speed) {
    events.push_back("sliders " + std::to_string(brightness) + " " + std::to_string(speed));
    brightnessPosition = brightness;
    speedPosition = speed;
}
void RecordingView::SelectLayerItem(int layer) {
    events.push_back("layer item " + std::to_string(layer));
    layerItem = layer;
}
void RecordingView::ShowTool(int shown) {
    events.push_back("tool " + std::to_string(shown));
    tool = shown;
}
void RecordingView::ShowLayerFill(LayerFill shown) {
    events.emplace_back("fill");
    fill = shown;
}
void RecordingView::ShowReportRate(int rate) {
    events.push_back("rate " + std::to_string(rate));
    reportRate = rate;
}
void RecordingView::ShowPanelSwitch(bool on) {
    events.emplace_back(on ? "lamp on" : "lamp off");
}
void RecordingView::SetKeyFrame(int controlId, bool lit) {
    for (auto& [id, shown] : frames) {
        if (id == controlId) {
            shown = lit;
            return;
        }
    }
    frames.emplace_back(controlId, lit);
}
void RecordingView::ClearFrames() {
    events.emplace_back("frames cleared");
    frames.clear();
}
bool RecordingView::FrameOf(int controlId, bool& lit) const {
    for (const auto& [id, shown] : frames) {
        if (id == controlId) {
            lit = shown;
            return true;
        }
    }
    return false;
}

std::vector<std::string> SpellCommands(const std::vector<device::Packet>& packets) {
    std::vector<std::string> spelt;
    spelt.reserve(packets.size());
    for (const device::Packet& packet : packets) {
        spelt.push_back(Spell(packet));
    }
    return spelt;
}

LightingTest::LightingTest()
    : folder_(MakeTempFolder()),
      model_(keyboard_.Commands(), view_, PanelSwitchFile((folder_ / "zadi.ini").string())) {
    model_.SetModeNameSource([](int type) { return "mode " + std::to_string(type); });
}

LightingTest::~LightingTest() {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

void LightingTest::SetModeSlots(const std::vector<uint8_t>& types) {
    std::vector<uint8_t> slots(kModeSlotCount, 0);
    std::copy(types.begin(), types.end(), slots.begin());
    keyboard_.Model().Write(sim::Area::kStateBlock, kModeSlotsOffset, slots);
}

void LightingTest::SetRecordByte(int profile, std::size_t offset, uint8_t value) {
    const std::vector<uint8_t> byte{value};
    keyboard_.Model().Write(sim::Area::kLighting, profile * kRecordSize + offset, byte);
}

std::vector<uint8_t> LightingTest::KeyboardRecord(int profile) {
    return keyboard_.Model().Read(sim::Area::kLighting, profile * kRecordSize, kRecordSize);
}

std::vector<uint8_t> LightingTest::KeyboardPage(int profile) {
    return keyboard_.Model().Read(sim::Area::kKeyLight, profile * kPageSize, kPageSize);
}

std::vector<std::string> LightingTest::TakeCommands() {
    keyboard_.WaitUntilQuiet();
    auto spelt = SpellCommands(keyboard_.CommandsSent());
    keyboard_.ClearTrace();
    return spelt;
}

void LightingTest::ReadOn(int profile) {
    ASSERT_TRUE(model_.SetLightingProfile(profile));
    ASSERT_EQ(model_.ReadLightingState(), kReadOk);
    model_.RefreshPanel();
    TakeCommands();
    view_.events.clear();
}

}  // namespace qx::lighting::testing
