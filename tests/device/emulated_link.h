// An emulated keyboard in this process, the transport library over it, and the exchange and
// command operations of the device link on top: what the driver has, without a device node.
#pragma once

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "device/device_commands.h"
#include "device/packet_exchange.h"
#include "device/timing.h"
#include "sim/inprocess_backend.h"
#include "sim/keyboard.h"
#include "transport/in_process.h"
#include "transport/library.h"

namespace qx::testing {

// Short time limits so that a keyboard that does not answer costs little.
inline device::Timing FastTiming() {
    device::Timing timing;
    timing.attemptTimeout = std::chrono::milliseconds(300);
    timing.busyWait = std::chrono::milliseconds(20);
    timing.pollInterval = std::chrono::milliseconds(5);
    return timing;
}

// One link at a time per process (the in-process binding has no context either).
struct EmulatedLink {
    explicit EmulatedLink(bool present = true, device::Timing timing = FastTiming())
        : keyboard(sim::Keyboard::Create(Options(present))),
          library([kb = keyboard] { return sim::MakeInProcessBackend(kb); }),
          binding(library),
          api(Bound(binding)),
          exchange(api, timing),
          commands(exchange) {
        Current() = this;
    }
    ~EmulatedLink() { Current() = nullptr; }
    EmulatedLink(const EmulatedLink&) = delete;
    EmulatedLink& operator=(const EmulatedLink&) = delete;

    // The next time a packet of `command` is about to be sent, the keyboard is made to refuse
    // that packet and its two repetitions with `status`: the command fails, the ones around it
    // work.
    void FailNextCommand(int command, uint8_t status = 0xFF) {
        std::lock_guard lock(armMutex_);
        armedCommand_ = command;
        armedStatus_ = status;
    }

    // The commands the keyboard received, by command number, in order.
    std::vector<int> CommandsSent() const {
        std::vector<int> commandsSeen;
        for (const std::string& line : keyboard->TraceLines()) {
            // "> cmd 04 ck ck CC ..." : the command is the fourth byte.
            if (line.rfind("> cmd ", 0) == 0 && line.size() >= 17) {
                commandsSeen.push_back(std::stoi(line.substr(15, 2), nullptr, 16));
            }
        }
        return commandsSeen;
    }

    // Trace lines of reports sent to the LED collection.
    std::vector<std::string> LedReports() const {
        std::vector<std::string> lines;
        for (const std::string& line : keyboard->TraceLines()) {
            if (line.rfind("> led ", 0) == 0) {
                lines.push_back(line.substr(6));
            }
        }
        return lines;
    }

    std::shared_ptr<sim::Keyboard> keyboard;
    transport::Library library;
    transport::InProcessApi binding;
    RadOdorApi api;
    device::PacketExchange exchange;
    device::DeviceCommands commands;

  private:
    static sim::KeyboardOptions Options(bool present) {
        sim::KeyboardOptions options;
        options.present = present;
        return options;
    }
    static EmulatedLink*& Current() {
        static EmulatedLink* current = nullptr;
        return current;
    }
    static RadOdorApi Bound(const transport::InProcessApi& binding) {
        RadOdorApi table = binding.Table();
        table.Init(0);
        BoundWriteOne() = table.RequestWriteOne;
        table.RequestWriteOne = InterposedWriteOne;
        return table;
    }
    static RadOdorWriteOneFn& BoundWriteOne() {
        static RadOdorWriteOneFn bound = nullptr;
        return bound;
    }
    // Sends like the library, after arming the keyboard's refusal for an armed command.
    static int InterposedWriteOne(const RadOdorFilter* filter, const uint8_t* report, int length) {
        EmulatedLink* link = Current();
        constexpr int kCommandByte = 3;
        if (link != nullptr && report != nullptr && length > kCommandByte) {
            std::lock_guard lock(link->armMutex_);
            if (link->armedCommand_ == report[kCommandByte]) {
                link->keyboard->FailRequests(link->armedStatus_, 3);
                link->armedCommand_ = -1;
            }
        }
        return BoundWriteOne()(filter, report, length);
    }

    std::mutex armMutex_;
    int armedCommand_ = -1;
    uint8_t armedStatus_ = 0xFF;
};

}  // namespace qx::testing
