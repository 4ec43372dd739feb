// The shared emulated keyboard, set up for a device connection: the connection registers its
// own standing reads, and its exchange runs over a table that can make one chosen command fail.
#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "device/link/device_commands.h"
#include "device/link/packet_exchange.h"
#include "device/link/timing.h"
#include "tests/support/emulated_keyboard.h"

namespace qx::testing {

// Who delivers the keyboard's answers to the link's exchange.
enum class AnswerRead {
    kConnection,  // the device connection under test registers its own standing reads
    kSupport,     // a standing read of the test support (no connection in the test)
};

// One link at a time per process (the transport table carries no context).
struct EmulatedLink {
    explicit EmulatedLink(bool present = true, device::Timing timing = test_support::kTestTiming,
                          AnswerRead answers = AnswerRead::kConnection)
        : board(Options(present, timing, answers)),
          keyboard(board.SharedModel()),
          api(Interposed(board.Api())),
          exchange(api, timing),
          commands(exchange) {
        Current() = this;
        if (answers == AnswerRead::kSupport) {
            board.RouteAnswersTo(&exchange);
        }
    }
    // Ends the library first: once every callback has returned, nothing reaches the exchange
    // while it goes.
    ~EmulatedLink() {
        board.Library().End();
        board.RouteAnswersTo(nullptr);
        Current() = nullptr;
    }
    EmulatedLink(const EmulatedLink&) = delete;
    EmulatedLink& operator=(const EmulatedLink&) = delete;

    // The next time a packet of `command` is about to be sent, the keyboard is made to refuse
    // that packet and its two repetitions with `status`: that command fails, the ones around it
    // work.
    void FailNextCommand(int command, uint8_t status = 0xFF) {
        std::lock_guard lock(armMutex_);
        armedCommand_ = command;
        armedStatus_ = status;
    }

    // The command numbers the keyboard received, in order.
    std::vector<int> CommandsSent() const {
        std::vector<int> numbers;
        for (const device::Packet& packet : board.CommandsSent()) {
            numbers.push_back(packet[device::kCommandOffset]);
        }
        return numbers;
    }

    // The reports sent to the LED collection, as the trace writes them.
    std::vector<std::string> LedReports() const {
        std::vector<std::string> reports;
        for (const auto& report :
             board.Reports(sim::Direction::kToKeyboard, sim::Collection::kLed)) {
            reports.push_back(test_support::HexBytes(report));
        }
        return reports;
    }

    test_support::EmulatedKeyboard board;
    std::shared_ptr<sim::Keyboard> keyboard;
    RadOdorApi api;
    device::PacketExchange exchange;
    device::DeviceCommands commands;

  private:
    static test_support::EmulatedKeyboardOptions Options(bool present, device::Timing timing,
                                                         AnswerRead answers) {
        test_support::EmulatedKeyboardOptions options;
        options.timing = timing;
        options.keyboard.present = present;
        options.commandRead = answers == AnswerRead::kSupport;
        return options;
    }
    static EmulatedLink*& Current() {
        static EmulatedLink* current = nullptr;
        return current;
    }
    static RadOdorWriteOneFn& BoundWriteOne() {
        static RadOdorWriteOneFn bound = nullptr;
        return bound;
    }
    static RadOdorApi Interposed(const RadOdorApi& bound) {
        RadOdorApi table = bound;
        BoundWriteOne() = bound.RequestWriteOne;
        table.RequestWriteOne = InterposedWriteOne;
        return table;
    }
    // Sends like the library, after arming the keyboard's refusal for an armed command.
    static int InterposedWriteOne(const RadOdorFilter* filter, const uint8_t* report, int length) {
        EmulatedLink* link = Current();
        constexpr int kAttempts = 3;
        if (link != nullptr && report != nullptr && length > int{device::kCommandOffset}) {
            std::lock_guard lock(link->armMutex_);
            if (link->armedCommand_ == report[device::kCommandOffset]) {
                link->keyboard->FailRequests(link->armedStatus_, kAttempts);
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
