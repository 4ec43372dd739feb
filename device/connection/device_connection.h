// The connection to the keyboard: the standing reads on the command and consumer interfaces,
// arrival and departure of keyboards, what is read from a newly attached keyboard (its default
// key layout and macro capacity), the keyboard's own events, and the status report with the
// G-key bank.
//
// Threads: OnTransportNotification runs on the transport's delivery threads (one per standing
// read, so a bank switch waiting for the main window never holds up command answers).
// Keyboard-count changes are handled one at a time, in the order they arrived, on the attach
// worker; tray-indicator changes likewise on the indicator worker.
#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>

#include "device/connection/connection_host.h"
#include "device/connection/current_profile.h"
#include "device/connection/default_key_layout.h"
#include "device/connection/work_queue.h"
#include "device/link/device_commands.h"
#include "device/link/packet_exchange.h"
#include "device/link/timing.h"
#include "transport/radodor.h"

namespace qx::device {

// The 2-byte status report on the LED interface: report id 5, flags; bit 0 is the G-key bank.
inline constexpr std::size_t kStatusReportSize = 2;
inline constexpr uint8_t kStatusReportId = 5;
inline constexpr uint8_t kInitialStatusFlags = 0x02;
inline constexpr uint8_t kGKeyBankBit = 0x01;
using StatusReport = std::array<uint8_t, kStatusReportSize>;

// Event codes of the keyboard's reports on the consumer interface (16-bit, after the report id).
inline constexpr uint16_t kEventBankSwitch = 0x02FF;
inline constexpr uint16_t kEventLightingChanged = 0x0401;
inline constexpr uint16_t kEventIndicatorOff = 0x1810;
inline constexpr uint16_t kEventIndicatorOn = 0x1811;
inline constexpr std::size_t kEventCodeOffset = 1;  // after the report id

// Whether a program acts on the keyboard's own events (bank switch, lighting change,
// indicator). Every program attached to the keyboard sees each event, and the bank switch writes
// the program's own bank state back to the keyboard: only one program may act on them, the
// driver. A tool that works beside it leaves them alone.
enum class KeyboardEvents { kActedOn, kLeftAlone };

// State-block byte 11: the device macro table's size in units of 128 bytes.
inline constexpr std::size_t kMacroCapacityByte = 11;
inline constexpr uint32_t kMacroCapacityUnit = 128;

// How long the indicator keeps the tray to itself after a change.
inline constexpr std::chrono::milliseconds kIndicatorHold{1};

class DeviceConnection {
  public:
    // `api` is the bound transport; `exchange` and `commands` the link over it; `profile` the
    // current-profile cache reset on detach. All must outlive the connection.
    DeviceConnection(const RadOdorApi& api, PacketExchange& exchange, DeviceCommands& commands,
                     ConnectionHost& host, device::CurrentProfileCache& profile,
                     Timing timing = {});
    // Stop().
    ~DeviceConnection();
    DeviceConnection(const DeviceConnection&) = delete;
    DeviceConnection& operator=(const DeviceConnection&) = delete;

    // Registers the standing reads and takes the first keyboard count. `autoOpenDone` is true
    // when the program was started with "/Start". With the events left alone the read on the
    // consumer interface is not registered at all. One connection is started per process at a
    // time; starting a second one throws std::logic_error.
    void Start(bool autoOpenDone = false, KeyboardEvents events = KeyboardEvents::kActedOn);

    // Ends the connection: no count change, event or indicator change is acted on any more; the
    // exchange is closed (one waiting for an answer returns "no keyboard" at once, so this never
    // waits longer than the report in flight); the standing reads and the status write are
    // cancelled (so no callback reaches a window or an object that is gone; the library itself
    // stays loaded); the workers finish the job they run and end. The host must already have
    // stopped blocking (see ConnectionHost).
    void Stop();

    // The callback of both standing reads and of the status write. Returns 1.
    int OnTransportNotification(const RadOdorNotification* notification);

    bool IsKeyboardAttached() const { return keyboardCount_.load() != 0; }
    int KeyboardCount() const { return keyboardCount_.load(); }
    uint32_t GetMacroCapacity() const { return macroCapacity_.load(); }
    KeyLayout GetDefaultKeyLayout() const;
    int GetGKeyBank() const { return statusFlags_.load() & kGKeyBankBit; }
    StatusReport GetStatusReport() const { return {kStatusReportId, statusFlags_.load()}; }
    bool IsAutoOpenDone() const { return autoOpenDone_.load(); }
    void SetAutoOpenDone() { autoOpenDone_.store(true); }

    // True while no count change and no indicator change waits or runs (tests, benchmarks).
    bool IsIdle() const { return attachQueue_.IsIdle() && indicatorQueue_.IsIdle(); }

  private:
    void RegisterRead(const RadOdorFilter& filter, uint32_t tag, uint32_t& readId);
    void OnKeyboardEvent(uint16_t code);
    void SwitchGKeyBank();
    void ShowGKeyBank(int bank);
    void ApplyKeyboardCount(int count);
    void ReadAttachedKeyboard();
    bool IsKeyboardStillThere() const;
    bool WaitForMainWindow();
    void ShowIndicator(bool on);

    RadOdorApi api_;
    PacketExchange& exchange_;
    DeviceCommands& commands_;
    ConnectionHost& host_;
    device::CurrentProfileCache& profile_;
    Timing timing_;

    // Registrations: written by Start and Stop on the user-interface thread, the status write
    // id also by the bank switch (under statusMutex_).
    uint32_t commandReadId_ = 0;
    uint32_t consumerReadId_ = 0;
    std::mutex statusMutex_;
    uint32_t statusWriteId_ = 0;
    std::atomic<uint8_t> statusFlags_{kInitialStatusFlags};

    std::atomic<int> keyboardCount_{0};
    std::atomic<bool> autoOpenDone_{false};
    std::atomic<uint32_t> macroCapacity_{0};
    mutable std::mutex layoutMutex_;
    KeyLayout defaultLayout_ = kBuiltInDefaultLayout;

    std::atomic<bool> started_{false};
    std::atomic<bool> stopping_{false};
    WorkQueue attachQueue_;
    WorkQueue indicatorQueue_;
};

// The started connection's state, as the rest of the program asks for it. Without a started
// connection: no keyboard, capacity 0, the built-in layout, bank 0.
bool IsKeyboardAttached();
uint32_t GetMacroCapacity();
KeyLayout GetDefaultKeyLayout();
int GetGKeyBank();

}  // namespace qx::device
