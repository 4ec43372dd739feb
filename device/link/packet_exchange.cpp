#include "device/link/packet_exchange.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "device/link/interfaces.h"
#include "device/link/result_codes.h"

namespace qx::device {

namespace {

constexpr int kAttempts = 3;

bool IsRejection(uint8_t status) {
    return status == kStatusRejectedFF || status == kStatusRejectedFE;
}

}  // namespace

PacketExchange::PacketExchange(const RadOdorApi& api, Timing timing) : api_(api), timing_(timing) {}

PacketExchange::~PacketExchange() {
    // The exchange that received the answer may end before its delivery has left Set.
    while (deliveriesSignalling_.load(std::memory_order_acquire) != 0) {
        std::this_thread::yield();
    }
}

int PacketExchange::ExchangePacket(std::span<const uint8_t> request,
                                   std::span<uint8_t, kPacketSize> reply, std::size_t& received) {
    // One reply slot serves every thread: the next exchange starts only when this one has ended.
    const std::lock_guard exclusive(exchangeMutex_);
    received = 0;
    if (IsClosed() || api_.RequestGetDeviceCount(&kCommandInterface) <= 0) {
        return kNoDevice;
    }
    const Packet packet = PadToPacket(request);
    for (int attempt = 1;; ++attempt) {
        std::size_t answerLength = 0;
        switch (RunAttempt(packet, reply, answerLength)) {
            case AttemptOutcome::SendRefused:
                return kSendRefused;
            case AttemptOutcome::Closed:
                return kNoDevice;
            case AttemptOutcome::Accepted:
                received = answerLength;
                return kOk;
            case AttemptOutcome::Rejected:
                // The last rejection goes back as an answer; its status tells the caller why.
                if (attempt == kAttempts) {
                    received = answerLength;
                    return kOk;
                }
                break;
            case AttemptOutcome::Unanswered:
                if (attempt == kAttempts) {
                    return kNoAnswer;
                }
                break;
        }
        std::this_thread::sleep_for(timing_.retryPause);
    }
}

PacketExchange::AttemptOutcome PacketExchange::RunAttempt(const Packet& packet,
                                                          std::span<uint8_t, kPacketSize> reply,
                                                          std::size_t& answerLength) {
    OpenReplySlot(reply);
    if (IsClosed()) {
        CloseReplySlot();
        return AttemptOutcome::Closed;
    }
    if (api_.RequestWriteOne(&kCommandInterface, packet.data(), static_cast<int>(kPacketSize)) <=
        0) {
        CloseReplySlot();
        return AttemptOutcome::SendRefused;
    }
    const bool answered = WaitForAnswer();
    answerLength = CloseReplySlot();
    if (IsClosed()) {
        return AttemptOutcome::Closed;
    }
    // An answer too short to hold a command echo and a status cannot be this packet's answer.
    if (!answered || answerLength <= kStatusOffset ||
        reply[kCommandOffset] != packet[kCommandOffset]) {
        return AttemptOutcome::Unanswered;
    }
    return IsRejection(reply[kStatusOffset]) ? AttemptOutcome::Rejected : AttemptOutcome::Accepted;
}

bool PacketExchange::WaitForAnswer() {
    // The delivery thread signals after it has let go of the slot, so a signal meant for an
    // attempt that already timed out can arrive during the next one: wake-ups without an answer
    // for this attempt go back to waiting for the rest of its time.
    const auto deadline = std::chrono::steady_clock::now() + timing_.attemptTimeout;
    while (replyEvent_.WaitUntil(deadline)) {
        if (answered_.load(std::memory_order_acquire)) {
            return true;
        }
        if (IsClosed()) {
            return false;
        }
    }
    return false;
}

void PacketExchange::Close() {
    {
        // Under the slot's lock: an attempt that opens its slot after this sees the flag, one
        // that opened it before is woken by the signal below.
        const std::lock_guard lock(slotMutex_);
        closed_.store(true, std::memory_order_release);
    }
    replyEvent_.Set();
}

void PacketExchange::OpenReplySlot(std::span<uint8_t, kPacketSize> reply) {
    const std::lock_guard lock(slotMutex_);
    replySlot_ = reply;
    replyLength_ = 0;
    answered_.store(false, std::memory_order_relaxed);
    replyEvent_.Reset();
    busy_.store(true, std::memory_order_release);
}

std::size_t PacketExchange::CloseReplySlot() {
    // After this no delivery touches the caller's reply buffer any more.
    const std::lock_guard lock(slotMutex_);
    busy_.store(false, std::memory_order_release);
    replySlot_ = {};
    return replyLength_;
}

int PacketExchange::SendPacketNoReply(std::span<const uint8_t> request) {
    const std::lock_guard exclusive(exchangeMutex_);
    if (IsClosed()) {
        return kNoDevice;
    }
    const Packet packet = PadToPacket(request);
    return api_.RequestWriteOne(&kCommandInterface, packet.data(), static_cast<int>(kPacketSize));
}

void PacketExchange::DeliverAnswer(std::span<const uint8_t> report) {
    {
        const std::lock_guard lock(slotMutex_);
        if (!busy_.load(std::memory_order_relaxed)) {
            return;
        }
        const std::size_t count = std::min(report.size(), replySlot_.size());
        std::copy_n(report.begin(), count, replySlot_.begin());
        replyLength_ = count;
        answered_.store(true, std::memory_order_release);
        deliveriesSignalling_.fetch_add(1, std::memory_order_relaxed);
    }
    // Signalled outside the slot's lock, so the woken exchange does not block on it at once.
    replyEvent_.Set();
    deliveriesSignalling_.fetch_sub(1, std::memory_order_release);
}

}  // namespace qx::device
