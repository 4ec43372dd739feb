// "Have a keyboard" in one line: an emulated keyboard in this process, reached through the
// transport library's request machinery and a RadOdorApi table exactly as the driver reaches a
// real one, with the exchange, the command operations and a standing read on the command
// interface that hands every answer to the exchange.
//
//   qx::test_support::EmulatedKeyboard kb;
//   uint8_t state[48];
//   kb.Commands().ReadStateBlock(state);      // 1
//   kb.Model().FailRequests(0xFF, 3);         // misbehaviour, memory: the sim model
//   kb.CommandsSent();                        // every packet that crossed the link
//
// One EmulatedKeyboard at a time per process (the table's functions carry no context).
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "device/link/command_packet.h"
#include "device/link/device_commands.h"
#include "device/link/packet_exchange.h"
#include "device/link/timing.h"
#include "sim/hid_reports.h"
#include "sim/keyboard.h"
#include "sim/trace.h"
#include "transport/in_process.h"
#include "transport/library.h"
#include "transport/radodor.h"

namespace qx::test_support {

// The link's timings shortened for tests: a silent keyboard costs three attempts of 200 ms
// instead of three seconds, and the pauses are 1 ms.
inline constexpr device::Timing kTestTiming{.attemptTimeout = std::chrono::milliseconds(200),
                                            .retryPause = std::chrono::milliseconds(1),
                                            .busyWait = std::chrono::milliseconds(5),
                                            .endWritePause = std::chrono::milliseconds(1),
                                            .pollInterval = std::chrono::milliseconds(5)};

struct EmulatedKeyboardOptions {
    device::Timing timing = kTestTiming;
    // The keyboard's state file, trace file, presence at start... (memory only by default).
    sim::KeyboardOptions keyboard{};
    // Register the standing read on the command interface ('CTRL') that delivers answers to
    // Exchange(). Tests of a device connection that registers its own reads turn it off.
    bool commandRead = true;
};

class EmulatedKeyboard {
  public:
    explicit EmulatedKeyboard(EmulatedKeyboardOptions options = {});
    // Ends the transport library (every callback finished) before anything else goes.
    ~EmulatedKeyboard();
    EmulatedKeyboard(const EmulatedKeyboard&) = delete;
    EmulatedKeyboard& operator=(const EmulatedKeyboard&) = delete;

    // The keyboard model: memory, misbehaviour, presence, events, trace.
    sim::Keyboard& Model() { return *keyboard_; }
    std::shared_ptr<sim::Keyboard> SharedModel() { return keyboard_; }

    // The transport as the driver sees it (already initialised), and the library behind it.
    const RadOdorApi& Api() const { return binding_->Table(); }
    transport::Library& Library() { return *library_; }

    device::PacketExchange& Exchange() { return *exchange_; }
    device::DeviceCommands& Commands() { return *commands_; }

    // Where the standing read delivers answers: Exchange() unless a test routes them to an
    // exchange of its own (for example one built over a patched table). Null drops them.
    void RouteAnswersTo(device::PacketExchange* exchange);

    // ---- The trace of the link, oldest first ----------------------------------------------
    std::vector<std::string> TraceLines() const;
    void ClearTrace();
    // Reports of one direction and collection, report id first.
    std::vector<std::vector<uint8_t>> Reports(sim::Direction direction,
                                              sim::Collection collection) const;
    // Command packets sent to the keyboard / answers it sent back (64 bytes each).
    std::vector<device::Packet> CommandsSent() const;
    std::vector<device::Packet> AnswersReceived() const;
    // Waits until the keyboard has nothing left to deliver (answers, events).
    bool WaitUntilQuiet(std::chrono::milliseconds timeout = std::chrono::milliseconds(5000));

  private:
    static int OnCommandNotification(RadOdorNotification* notification);

    std::shared_ptr<sim::Keyboard> keyboard_;
    std::unique_ptr<transport::Library> library_;
    std::unique_ptr<transport::InProcessApi> binding_;
    std::unique_ptr<device::PacketExchange> exchange_;
    std::unique_ptr<device::DeviceCommands> commands_;
    uint32_t commandReadId_ = 0;
};

// A trace line parsed back: direction, collection and bytes. Nothing for a malformed line.
struct TraceReport {
    sim::Direction direction;
    sim::Collection collection;
    std::vector<uint8_t> bytes;
};
std::optional<TraceReport> ParseTraceLine(const std::string& line);

// The bytes as the trace writes them ("04 5e 00 ..."), for readable expectations.
std::string HexBytes(const std::vector<uint8_t>& bytes);

}  // namespace qx::test_support
