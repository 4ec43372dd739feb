#include "tests/lighting_panel/panel_rig.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QMouseEvent>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

#include "device/link/command_packet.h"
#include "keyboard/key_buttons.h"
#include "lighting/key_frames.h"
#include "lighting/panel/panel_controls.h"
#include "platform/data_folder.h"
#include "platform/ini_file.h"
#include "skin/placement.h"
#include "skin/skin_keys.h"

namespace qx::lighting::panel::testing {
namespace {

constexpr uint8_t kWriteRecord = 6;
constexpr uint8_t kWritePage = 17;

std::string Spell(const device::Packet& packet) {
    const int length = packet[device::kLengthOffset];
    const int address = packet[device::kAddressOffset] | (packet[device::kAddressOffset + 1] << 8);
    std::string text =
        std::to_string(packet[device::kCommandOffset]) + "@" + std::to_string(address) + ":";
    for (int i = 0; i < length; ++i) {
        char hex[4];
        std::snprintf(hex, sizeof hex, i == 0 ? "%02x" : " %02x",
                      packet[device::kDataOffset + static_cast<std::size_t>(i)]);
        text += hex;
    }
    return text;
}

// The skin key that places the button of a keyboard-view or report-rate control id.
std::string SkinKeyOf(int controlId) {
    if (const auto key = keyboard::KeyButtonOfId(controlId)) {
        return skin::KeyButtonSkinKey(keyboard::KeyIndexOfCode(key->keyCode));
    }
    if (const auto g = keyboard::GKeyButtonPosition(controlId)) {
        return skin::GKeySkinKey(*g + 1);
    }
    if (controlId == keyboard::kFnButtonId) {
        return "KEY_FN";
    }
    return "FUNC_REPORT" + std::to_string(ReportRateOfButton(controlId) + 1);
}

}  // namespace

std::string GeneratedSkinFolder() {
    const char* runtime = std::getenv("QX_RUNTIME_DIR");
    return std::string(runtime != nullptr ? runtime : ".") + "/Skins/";
}

TempFolder::TempFolder() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "qx-lighting-panel-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("no temporary folder");
    }
    path_ = pattern;
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

skin::CPngButton* TestHost::ImageButton(int controlId) {
    const auto found = buttons.find(controlId);
    return found == buttons.end() ? nullptr : found->second;
}

PanelRig::PanelRig(const std::string& iniPath, const std::string& folder)
    : switchFile_((folder_.Path() / "zadi.ini").string()) {
    const std::string ini = iniPath.empty() ? GeneratedSkinFolder() + "Main.ini" : iniPath;
    window_.resize(1128, 592);
    MakeButtons(ini);
    panel_ = std::make_unique<LightingPanel>(
        window_, PanelSkin{ini, folder.empty() ? GeneratedSkinFolder() : folder}, host_);
    model_ = std::make_unique<LightingModel>(keyboard_.Commands(), *panel_,
                                             PanelSwitchFile(switchFile_));
    model_->SetModeNameSource([](int type) { return "mode " + std::to_string(type); });
    panel_->SetModel(model_.get());
    panel_->FillLayerList(0);
    window_.show();
}

PanelRig::~PanelRig() = default;

void PanelRig::MakeButtons(const std::string& iniPath) {
    std::vector<int> ids;
    for (const FramedButton& framed : FramedButtons()) {
        ids.push_back(framed.controlId);
    }
    ids.insert(ids.end(), kReportRateButtonIds.begin(), kReportRateButtonIds.end());
    for (const int id : ids) {
        auto* button = new skin::CPngButton(&window_);
        skin::PlaceImageButton(*button, iniPath, SkinKeyOf(id), skin::SheetSet{});
        host_.buttons[id] = button;
    }
}

void PanelRig::SetModeSlots(const std::vector<uint8_t>& types) {
    std::vector<uint8_t> modeSlots(kModeSlotCount, 0);
    std::copy(types.begin(), types.end(), modeSlots.begin());
    keyboard_.Model().Write(sim::Area::kStateBlock, kModeSlotsOffset, modeSlots);
}

void PanelRig::SetRecordByte(std::size_t offset, uint8_t value) {
    const std::vector<uint8_t> byte{value};
    keyboard_.Model().Write(sim::Area::kLighting, offset, byte);
}

void PanelRig::SetPageBytes(std::size_t offset, const std::vector<uint8_t>& bytes) {
    keyboard_.Model().Write(sim::Area::kKeyLight, offset, bytes);
}

void PanelRig::StoreSwitch(bool on) {
    PanelSwitchFile(switchFile_).Write(on);
}

void PanelRig::ReadAndRefresh() {
    model_->SetLightingProfile(0);
    if (model_->ReadLightingState() != kReadOk) {
        throw std::runtime_error("lighting read failed");
    }
    panel_->Refresh();
    TakePacketCount();
}

std::vector<std::string> PanelRig::TakeWrites() {
    keyboard_.WaitUntilQuiet();
    std::vector<std::string> writes;
    for (const device::Packet& packet : keyboard_.CommandsSent()) {
        const uint8_t command = packet[device::kCommandOffset];
        if (command == kWriteRecord || command == kWritePage) {
            writes.push_back(Spell(packet));
        }
    }
    keyboard_.ClearTrace();
    return writes;
}

std::size_t PanelRig::TakePacketCount() {
    keyboard_.WaitUntilQuiet();
    const std::size_t count = keyboard_.CommandsSent().size();
    keyboard_.ClearTrace();
    return count;
}

std::vector<int> PanelRig::ShownControls() const {
    std::vector<int> shown;
    for (const PanelControl& control : PanelControls()) {
        if (!panel_->Control(control.id)->isHidden()) {
            shown.push_back(control.id);
        }
    }
    std::sort(shown.begin(), shown.end());
    return shown;
}

std::vector<platform::testing::RecordingMessageTarget::Record> PanelRig::Posts() const {
    return host_.target->Records();
}

std::string PanelRig::StoredSwitch() const {
    return platform::ReadIniString(switchFile_, platform::kLightingSwitchSection,
                                   platform::kLightingSwitchKey, "", platform::kPathBuffer);
}

void PanelRig::Click(QWidget& widget) {
    const QPoint at(widget.width() / 2, widget.height() / 2);
    for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent event(type, QPointF(at), QPointF(widget.mapToGlobal(at)), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(&widget, &event);
    }
}

void PanelRig::ClickPicture(int controlId) {
    Click(*panel_->Control(controlId));
}

void PanelRig::ChooseMode(int type) {
    const int index = model_->ModeIndexOfType(type);
    QComboBox* list = panel_->ModeList();
    list->setCurrentIndex(index);
    emit list->activated(index);
}

void PanelRig::ChooseLayer(int layer) {
    QComboBox* list = panel_->LayerList();
    list->setCurrentIndex(layer);
    emit list->activated(layer);
}

}  // namespace qx::lighting::panel::testing
