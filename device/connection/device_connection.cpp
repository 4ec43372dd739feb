#include "device/connection/device_connection.h"

#include <stdexcept>
#include <string>
#include <thread>

#include "device/link/interfaces.h"
#include "device/link/result_codes.h"
#include "keyboard/key_buttons.h"
#include "lang/language.h"
#include "lang/language_keys.h"

namespace qx::device {
namespace {

// The transport's callbacks carry no context: they reach the one started connection.
std::atomic<DeviceConnection*> activeConnection{nullptr};

int TransportCallback(RadOdorNotification* notification) {
    DeviceConnection* connection = activeConnection.load();
    return connection != nullptr ? connection->OnTransportNotification(notification) : 1;
}

// G-key captions: buttons 0..4 show the bank letter and their number, buttons 5..8 nothing.
constexpr int kCaptionedGKeys = 5;
constexpr std::array<char, keyboard::kGKeyBanks> kBankLetters{'A', 'B'};

}  // namespace

DeviceConnection::DeviceConnection(const RadOdorApi& api, PacketExchange& exchange,
                                   DeviceCommands& commands, ConnectionHost& host,
                                   device::CurrentProfileCache& profile, Timing timing)
    : api_(api),
      exchange_(exchange),
      commands_(commands),
      host_(host),
      profile_(profile),
      timing_(timing) {}

DeviceConnection::~DeviceConnection() {
    Stop();
}

void DeviceConnection::Start(bool autoOpenDone, KeyboardEvents events) {
    DeviceConnection* expected = nullptr;
    if (!activeConnection.compare_exchange_strong(expected, this)) {
        throw std::logic_error("a device connection is already started");
    }
    started_ = true;
    if (autoOpenDone) {
        autoOpenDone_ = true;
    }
    statusFlags_ = kInitialStatusFlags;
    {
        std::lock_guard lock(statusMutex_);
        statusWriteId_ = 0;
    }
    if (events == KeyboardEvents::kActedOn) {
        RegisterRead(kConsumerInterface, kConsumerReadTag, consumerReadId_);
    }
    // The exchange's reply event and busy flag were made ready with the exchange itself.
    RegisterRead(kCommandInterface, kCommandReadTag, commandReadId_);

    const int count = api_.RequestGetDeviceCount(&kCommandInterface);
    if (count == 0) {
        autoOpenDone_ = true;
    }
    attachQueue_.Enqueue([this, count] { ApplyKeyboardCount(count); });
}

void DeviceConnection::RegisterRead(const RadOdorFilter& filter, uint32_t tag, uint32_t& readId) {
    api_.DeleteRequestFromUnitId(readId);
    uint32_t newId = 0;
    api_.RequestAsyncRead(&filter, TransportCallback, tag, &newId);
    readId = newId;
}

void DeviceConnection::Stop() {
    if (!started_.exchange(false)) {
        return;
    }
    stopping_ = true;
    // An attach waiting for the keyboard's answer wakes now instead of waiting out its attempts.
    exchange_.Close();
    // Cancelling waits until a running callback has returned; a bank switch that waits for the
    // main window returns once the host has stopped blocking.
    api_.DeleteRequestFromUnitId(consumerReadId_);
    api_.DeleteRequestFromUnitId(commandReadId_);
    consumerReadId_ = 0;
    commandReadId_ = 0;
    {
        std::lock_guard lock(statusMutex_);
        api_.DeleteRequestFromUnitId(statusWriteId_);
        statusWriteId_ = 0;
    }
    attachQueue_.Stop();
    indicatorQueue_.Stop();
    DeviceConnection* self = this;
    activeConnection.compare_exchange_strong(self, nullptr);
}

int DeviceConnection::OnTransportNotification(const RadOdorNotification* notification) {
    if (notification == nullptr || notification->request == nullptr || stopping_.load()) {
        return 1;
    }
    const RadOdorRequest& request = *notification->request;
    const bool report = notification->kind == RADODOR_NOTIFY_REPORT;
    if (report && request.user_tag == kConsumerReadTag) {
        if (request.report != nullptr && request.length >= kEventCodeOffset + 2) {
            const auto code = static_cast<uint16_t>(request.report[kEventCodeOffset] |
                                                    (request.report[kEventCodeOffset + 1] << 8));
            OnKeyboardEvent(code);
        }
    } else if (report && request.user_tag == kCommandReadTag) {
        if (exchange_.IsBusy() && request.report != nullptr) {
            exchange_.DeliverAnswer(std::span(request.report, request.length));
        }
    } else if (notification->kind == RADODOR_NOTIFY_COUNT_CHANGED &&
               request.user_tag == kCommandReadTag) {
        const int count = static_cast<int>(request.length);
        attachQueue_.Enqueue([this, count] { ApplyKeyboardCount(count); });
    }
    return 1;
}

void DeviceConnection::OnKeyboardEvent(uint16_t code) {
    switch (code) {
        case kEventBankSwitch:
            SwitchGKeyBank();
            break;
        case kEventLightingChanged:
            host_.LightingChanged();
            break;
        case kEventIndicatorOff:
        case kEventIndicatorOn: {
            const bool on = code == kEventIndicatorOn;
            indicatorQueue_.Enqueue([this, on] { ShowIndicator(on); });
            break;
        }
        default:  // 0x1801..0x1804 and anything else: nothing to do
            break;
    }
}

void DeviceConnection::SwitchGKeyBank() {
    StatusReport status{};
    {
        std::lock_guard lock(statusMutex_);
        statusFlags_ ^= kGKeyBankBit;
        status = GetStatusReport();
        api_.DeleteRequestFromUnitId(statusWriteId_);
        uint32_t newId = 0;
        api_.RequestStatusWrite(&kLedInterface, TransportCallback, kLedStatusTag, status.data(),
                                static_cast<int>(status.size()), &newId);
        statusWriteId_ = newId;
    }
    if (stopping_.load()) {
        return;
    }
    host_.GKeyBankSwitched();
    if (stopping_.load()) {
        return;
    }
    ShowGKeyBank(status[1] & kGKeyBankBit);
}

void DeviceConnection::ShowGKeyBank(int bank) {
    GKeyCaptions captions;
    for (int button = 0; button < kCaptionedGKeys; ++button) {
        captions[static_cast<std::size_t>(button)] =
            std::string(1, kBankLetters[static_cast<std::size_t>(bank)]) +
            std::to_string(button + 1);
    }
    host_.ShowGKeyBank(bank, captions);
}

void DeviceConnection::ApplyKeyboardCount(int count) {
    const int stored = keyboardCount_.load();
    if (count == stored) {
        return;
    }
    if (count != 0) {
        ReadAttachedKeyboard();
        if (stopping_.load()) {
            return;
        }
        host_.KeyboardRead();
    } else {
        profile_.Forget();
        host_.LastKeyboardLeft();
    }
    if (!WaitForMainWindow()) {
        return;
    }
    host_.ShowTrayState(count != 0 ? TrayState::kKeyboard : TrayState::kNoKeyboard);
    keyboardCount_ = count;
    if (!autoOpenDone_.exchange(true) && count != 0) {
        host_.FirstAttach();
    }
}

void DeviceConnection::ReadAttachedKeyboard() {
    KeyLayout layout{};
    if (commands_.ReadDefaultLayout(layout) == kOk) {
        std::lock_guard lock(layoutMutex_);
        defaultLayout_ = layout;
    } else if (IsKeyboardStillThere()) {
        host_.ShowMessage(lang::LangText(lang::kMainDefaultMatrixPrompt));
    }
    std::array<uint8_t, kStateBlockSize> state{};
    if (commands_.ReadStateBlock(state) == kOk) {
        macroCapacity_ = state[kMacroCapacityByte] * kMacroCapacityUnit;
    }
}

// A read that failed because the keyboard left (or the connection is ending) is no fault of the
// keyboard's: the departure is handled next, and nobody is told about a layout.
bool DeviceConnection::IsKeyboardStillThere() const {
    return !stopping_.load() && api_.RequestGetDeviceCount(&kCommandInterface) > 0;
}

bool DeviceConnection::WaitForMainWindow() {
    while (!host_.IsInitDone()) {
        if (!attachQueue_.WaitFor(timing_.pollInterval)) {
            return false;
        }
    }
    return true;
}

void DeviceConnection::ShowIndicator(bool on) {
    host_.ShowTrayState(on ? TrayState::kIndicatorOn : TrayState::kIndicatorOff);
    indicatorQueue_.WaitFor(kIndicatorHold);
}

KeyLayout DeviceConnection::GetDefaultKeyLayout() const {
    std::lock_guard lock(layoutMutex_);
    return defaultLayout_;
}

bool IsKeyboardAttached() {
    const DeviceConnection* connection = activeConnection.load();
    return connection != nullptr && connection->IsKeyboardAttached();
}

uint32_t GetMacroCapacity() {
    const DeviceConnection* connection = activeConnection.load();
    return connection != nullptr ? connection->GetMacroCapacity() : 0;
}

KeyLayout GetDefaultKeyLayout() {
    const DeviceConnection* connection = activeConnection.load();
    return connection != nullptr ? connection->GetDefaultKeyLayout() : kBuiltInDefaultLayout;
}

int GetGKeyBank() {
    const DeviceConnection* connection = activeConnection.load();
    return connection != nullptr ? connection->GetGKeyBank() : 0;
}

}  // namespace qx::device
