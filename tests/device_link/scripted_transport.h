// A transport table whose keyboard is a script: each test says how many keyboards are present,
// whether sends succeed and what answer (if any) follows each packet. Answers are delivered to
// the exchange on the sending thread, before RequestWriteOne returns, which is the earliest an
// answer can ever arrive.
#pragma once

#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <vector>

#include "device/link/command_packet.h"
#include "device/link/packet_exchange.h"
#include "transport/radodor.h"

namespace qx::device::testing {

using Answer = std::optional<std::vector<uint8_t>>;

class ScriptedTransport {
  public:
    ScriptedTransport();
    ~ScriptedTransport();
    ScriptedTransport(const ScriptedTransport&) = delete;
    ScriptedTransport& operator=(const ScriptedTransport&) = delete;

    // A table whose functions act on this script (one script at a time).
    RadOdorApi Api() const;

    // Where answers go.
    void Connect(PacketExchange* exchange) { exchange_ = exchange; }

    int deviceCount = 1;
    int writeResult = 64;  // what RequestWriteOne returns
    // The answer to the n-th packet sent (n from 0); nothing: the keyboard stays silent.
    std::function<Answer(const Packet& request, int n)> answer;

    std::vector<Packet> Sent() const;

    // Called by the table's RequestWriteOne.
    int Write(const uint8_t* report, int length);

  private:
    PacketExchange* exchange_ = nullptr;
    mutable std::mutex mutex_;
    std::vector<Packet> sent_;
};

// A well-formed answer to `request`: command echoed, the status, and `data` from byte 8.
std::vector<uint8_t> AnswerTo(const Packet& request, uint8_t status = 0,
                              std::vector<uint8_t> data = {});

}  // namespace qx::device::testing
