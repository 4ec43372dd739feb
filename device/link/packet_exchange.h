// The request/answer exchange of command packets with the keyboard (one per process in the
// driver). A packet goes out on the command interface; the keyboard's answer comes back through
// the standing read of that interface, whose callback hands it to DeliverAnswer, which fills the
// reply slot of the waiting exchange and wakes it.
//
// Exchanges are mutually exclusive for their whole duration: a thread that starts an exchange
// while another one runs waits until that one ends, so each exchange only ever sees answers to
// its own packet.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <span>

#include "device/link/command_packet.h"
#include "device/link/timing.h"
#include "platform/sync/auto_reset_event.h"
#include "transport/radodor.h"

namespace qx::device {

class PacketExchange {
  public:
    explicit PacketExchange(const RadOdorApi& api, Timing timing = {});
    // Waits until a delivery that already filled a reply has finished signalling. The caller
    // makes sure no new delivery starts (the standing read is cancelled or re-routed).
    ~PacketExchange();
    PacketExchange(const PacketExchange&) = delete;
    PacketExchange& operator=(const PacketExchange&) = delete;

    // Sends the request (padded with zeros to 64 bytes, sent as given otherwise) and waits for
    // the answer that echoes its command byte: up to three attempts of Timing::attemptTimeout,
    // Timing::retryPause between them. An answer with status 0xFF or 0xFE counts as a failed
    // attempt; the third one is returned as received so the command operation can map it.
    // Results: kOk (reply holds the answer, `received` its length), kNoDevice (no keyboard:
    // nothing sent; or the link was closed), kSendRefused, kNoAnswer. `received` is 0 unless the
    // result is kOk.
    int ExchangePacket(std::span<const uint8_t> request, std::span<uint8_t, kPacketSize> reply,
                       std::size_t& received);

    // Sends the request padded to 64 bytes without waiting for any answer. Returns the
    // transport's result (> 0 sent).
    int SendPacketNoReply(std::span<const uint8_t> request);

    // Ends the link for good: an exchange waiting for its answer wakes at once, and it and every
    // later exchange and send return kNoDevice without sending. Stopping the connection calls
    // it, so the program's end never waits out the attempts of a keyboard that stays silent.
    void Close();
    bool IsClosed() const { return closed_.load(std::memory_order_acquire); }

    // A report read on the command interface (report id first). While an exchange waits, copies
    // min(report length, 64) bytes into its reply and wakes it; otherwise the report is dropped.
    // Called from the transport's delivery thread.
    void DeliverAnswer(std::span<const uint8_t> report);

    // True while an exchange waits for its answer.
    bool IsBusy() const { return busy_.load(std::memory_order_acquire); }

    const Timing& timing() const { return timing_; }

  private:
    enum class AttemptOutcome { Accepted, Rejected, Unanswered, SendRefused, Closed };

    AttemptOutcome RunAttempt(const Packet& packet, std::span<uint8_t, kPacketSize> reply,
                              std::size_t& answerLength);
    bool WaitForAnswer();
    void OpenReplySlot(std::span<uint8_t, kPacketSize> reply);
    std::size_t CloseReplySlot();

    RadOdorApi api_;
    Timing timing_;
    std::mutex exchangeMutex_;  // held for the whole of one exchange or send
    std::mutex slotMutex_;      // guards the reply slot against the delivery thread
    std::span<uint8_t> replySlot_;
    std::size_t replyLength_ = 0;
    std::atomic<bool> answered_{false};  // the open attempt got an answer
    std::atomic<bool> busy_{false};
    std::atomic<bool> closed_{false};
    std::atomic<int> deliveriesSignalling_{0};  // deliveries between filling a reply and Set
    platform::AutoResetEvent replyEvent_;
};

}  // namespace qx::device
