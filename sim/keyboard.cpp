#include "sim/keyboard.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>
#include <utility>

#include "sim/command_handler.h"

namespace qx::sim {
namespace {

// Changes the command byte of an answer so that the host sees an answer to another command.
constexpr uint8_t kOtherCommandMask = 0x80;

void LogToStderr(const std::string& text) {
    std::fprintf(stderr, "qx480-sim: %s\n", text.c_str());
}

bool IsAnswerable(const Packet& request) {
    return request[kOffReportId] == kCommandReportId && request[kOffCommand] != kCmdEnterBootMode;
}

}  // namespace

std::shared_ptr<Keyboard> Keyboard::Open(KeyboardOptions options, std::string& error) {
    KeyboardMemory memory = KeyboardMemory::Factory();
    FileStamp stamp;
    if (!options.stateFile.empty()) {
        StateFileLoad load = LoadStateFile(options.stateFile);
        if (!load.memory) {
            error = load.error;
            return nullptr;
        }
        memory = *load.memory;
        stamp = StampOf(options.stateFile);
    }
    if (!options.log) {
        options.log = LogToStderr;
    }
    std::shared_ptr<Keyboard> keyboard(new Keyboard(std::move(options), memory, stamp));
    if (!keyboard->options_.traceFile.empty() &&
        !keyboard->AddTraceFile(keyboard->options_.traceFile, error)) {
        return nullptr;
    }
    return keyboard;
}

std::shared_ptr<Keyboard> Keyboard::Create(KeyboardOptions options) {
    std::string error;
    auto keyboard = Open(std::move(options), error);
    if (!keyboard) {
        throw std::runtime_error(error);
    }
    return keyboard;
}

Keyboard::Keyboard(KeyboardOptions options, KeyboardMemory memory, FileStamp stamp)
    : options_(std::move(options)),
      trace_(options_.keepTraceLines),
      memory_(memory),
      stamp_(stamp),
      present_(options_.present),
      bootReturn_(options_.bootReturn) {
    deliveryThread_ = std::thread([this] { DeliveryLoop(); });
}

Keyboard::~Keyboard() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    deliveryThread_.join();
}

// ---- The USB link ---------------------------------------------------------------------------

bool Keyboard::IsPresent() const {
    const std::lock_guard lock(mutex_);
    return present_;
}

int Keyboard::ReceiveReport(Collection collection, std::span<const uint8_t> report) {
    if (collection == Collection::kConsumer || report.empty() || report.size() > kPacketSize) {
        return -1;
    }
    Millis latency{0};
    {
        const std::lock_guard lock(mutex_);
        if (!present_) {
            return -1;
        }
        latency = latency_;
    }
    // The report reaches the keyboard one latency after it was sent; its answer leaves one
    // latency after that. Both are measured from the send, so a late wake-up of this thread
    // does not add to the answer's time on the wire.
    const Clock::time_point arrival = Clock::now() + latency;
    if (latency.count() > 0) {
        std::this_thread::sleep_until(arrival);
    }
    const std::lock_guard lock(mutex_);
    if (!present_) {
        return -1;  // it left while the report was on its way
    }
    trace_.Record(Direction::kToKeyboard, collection, report);
    if (collection == Collection::kLed) {
        if (report[0] == kLedReportId && report.size() >= kLedReportSize) {
            ledFlags_ = report[1];
        }
    } else {
        RunCommand(report, arrival);
    }
    return static_cast<int>(report.size());
}

void Keyboard::RunCommand(std::span<const uint8_t> report, Clock::time_point arrival) {
    const Packet request = PadToPacket(report.data(), report.size());
    const Clock::time_point answerAfter = arrival + latency_ + answerDelay_;
    if (IsAnswerable(request)) {
        if (ConsumeCount(silentCount_)) {
            return;
        }
        if (ConsumeCount(failCount_)) {
            const Packet answer = MakeAnswer(request, failStatus_);
            ScheduleReport(answerAfter, Collection::kCommand, answer);
            return;
        }
    }
    CommandOutcome outcome = HandleCommand(memory_, report);
    if (outcome.memoryChanged) {
        PersistLocked();
    }
    if (outcome.transaction != TransactionStep::kNone) {
        inTransaction_ = outcome.transaction == TransactionStep::kBegin;
    }
    if (outcome.enterBootMode) {
        LeaveLocked(true);
        if (bootReturn_.count() >= 0) {
            Schedule(Clock::now() + bootReturn_,
                     Outgoing{Outgoing::Kind::kPlug, {}, {}, generation_});
        }
        return;
    }
    if (outcome.answer) {
        Packet& answer = *outcome.answer;
        if (ConsumeCount(wrongCount_)) {
            answer[kOffCommand] ^= kOtherCommandMask;
            SealPacket(answer);
        }
        ScheduleReport(answerAfter, Collection::kCommand, answer);
    }
}

bool Keyboard::ConsumeCount(int& count) {
    if (count == kUntilCleared) {
        return true;
    }
    if (count > 0) {
        --count;
        return true;
    }
    return false;
}

uint64_t Keyboard::Attach(KeyboardListener* listener) {
    const std::lock_guard lock(listenersMutex_);
    const uint64_t id = nextListenerId_++;
    listeners_[id] = listener;
    return id;
}

void Keyboard::Detach(uint64_t id) {
    const std::lock_guard lock(listenersMutex_);
    listeners_.erase(id);
}

// ---- Delivery -------------------------------------------------------------------------------

void Keyboard::Schedule(Clock::time_point due, Outgoing item) {
    queue_.emplace(due, std::move(item));
    changed_.notify_all();
}

void Keyboard::ScheduleReport(Millis after, Collection collection, std::span<const uint8_t> bytes) {
    ScheduleReport(Clock::now() + after, collection, bytes);
}

void Keyboard::ScheduleReport(Clock::time_point due, Collection collection,
                              std::span<const uint8_t> bytes) {
    Schedule(
        due,
        Outgoing{Outgoing::Kind::kReport, collection, {bytes.begin(), bytes.end()}, generation_});
}

void Keyboard::DeliveryLoop() {
    std::unique_lock lock(mutex_);
    while (!stopping_) {
        if (queue_.empty()) {
            changed_.wait(lock);
            continue;
        }
        const auto due = queue_.begin()->first;
        if (due > Clock::now()) {
            changed_.wait_until(lock, due);
            continue;
        }
        Outgoing item = std::move(queue_.begin()->second);
        queue_.erase(queue_.begin());
        if (item.kind == Outgoing::Kind::kPlug) {
            if (item.generation == generation_) {
                ComeBackLocked();
            }
            continue;
        }
        if (item.kind == Outgoing::Kind::kReport && item.generation != generation_) {
            continue;  // sent before the keyboard left
        }
        delivering_ = true;
        lock.unlock();
        Deliver(item);
        lock.lock();
        delivering_ = false;
        changed_.notify_all();
    }
}

void Keyboard::Deliver(const Outgoing& item) {
    if (item.kind == Outgoing::Kind::kReport) {
        trace_.Record(Direction::kFromKeyboard, item.collection, item.bytes);
    }
    const std::lock_guard lock(listenersMutex_);
    for (const auto& [id, listener] : listeners_) {
        if (item.kind == Outgoing::Kind::kReport) {
            listener->OnReport(item.collection, item.bytes);
        } else {
            listener->OnPresenceChanged(item.present);
        }
    }
}

// ---- Presence -------------------------------------------------------------------------------

void Keyboard::LeaveLocked(bool bootMode) {
    inBootMode_ = bootMode;
    std::erase_if(queue_, [](const auto& entry) {
        return entry.second.kind == Outgoing::Kind::kPlug ||
               entry.second.kind == Outgoing::Kind::kReport;
    });
    if (!present_) {
        return;
    }
    present_ = false;
    inTransaction_ = false;
    ++generation_;
    Schedule(Clock::now(), Outgoing{Outgoing::Kind::kPresence, {}, {}, generation_, false});
}

void Keyboard::ComeBackLocked() {
    inBootMode_ = false;
    std::erase_if(queue_,
                  [](const auto& entry) { return entry.second.kind == Outgoing::Kind::kPlug; });
    if (present_) {
        return;
    }
    present_ = true;
    ++generation_;
    Schedule(Clock::now(), Outgoing{Outgoing::Kind::kPresence, {}, {}, generation_, true});
}

void Keyboard::Unplug() {
    const std::lock_guard lock(mutex_);
    LeaveLocked(false);
}

void Keyboard::Plug() {
    const std::lock_guard lock(mutex_);
    ComeBackLocked();
}

void Keyboard::Replug(Millis away) {
    const std::lock_guard lock(mutex_);
    LeaveLocked(false);
    Schedule(Clock::now() + away, Outgoing{Outgoing::Kind::kPlug, {}, {}, generation_});
}

void Keyboard::SetBootReturn(Millis after) {
    const std::lock_guard lock(mutex_);
    bootReturn_ = after;
}

bool Keyboard::SendEvent(uint16_t code) {
    const std::lock_guard lock(mutex_);
    if (!present_) {
        return false;
    }
    ScheduleReport(latency_, Collection::kConsumer, MakeEventReport(code));
    return true;
}

// ---- Misbehaviour ---------------------------------------------------------------------------

void Keyboard::SetLatency(Millis perReport) {
    const std::lock_guard lock(mutex_);
    latency_ = std::max(perReport, Millis(0));
}

void Keyboard::SetAnswerDelay(Millis delay) {
    const std::lock_guard lock(mutex_);
    answerDelay_ = std::max(delay, Millis(0));
}

void Keyboard::DropRequests(int count) {
    const std::lock_guard lock(mutex_);
    silentCount_ = count;
}

void Keyboard::FailRequests(uint8_t status, int count) {
    const std::lock_guard lock(mutex_);
    failStatus_ = status;
    failCount_ = count;
}

void Keyboard::AnswerWithOtherCommand(int count) {
    const std::lock_guard lock(mutex_);
    wrongCount_ = count;
}

void Keyboard::ClearMisbehaviour() {
    const std::lock_guard lock(mutex_);
    latency_ = Millis(0);
    answerDelay_ = Millis(0);
    silentCount_ = 0;
    failCount_ = 0;
    wrongCount_ = 0;
    failStatus_ = kStatusRejected;
}

void Keyboard::Reset() {
    ClearMisbehaviour();
    const std::lock_guard lock(mutex_);
    memory_ = KeyboardMemory::Factory();
    PersistLocked();
    ledFlags_ = 0;
    inTransaction_ = false;
    bootReturn_ = options_.bootReturn;
    ComeBackLocked();
}

// ---- Memory ---------------------------------------------------------------------------------

KeyboardMemory Keyboard::Memory() const {
    const std::lock_guard lock(mutex_);
    return memory_;
}

void Keyboard::SetMemory(const KeyboardMemory& memory) {
    const std::lock_guard lock(mutex_);
    memory_ = memory;
    PersistLocked();
}

std::vector<uint8_t> Keyboard::Read(Area area, size_t offset, size_t length) const {
    std::vector<uint8_t> bytes(length, 0);
    const std::lock_guard lock(mutex_);
    const auto storage = memory_.Bytes(area);
    if (offset < storage.size()) {
        const size_t n = std::min(length, storage.size() - offset);
        std::copy_n(storage.begin() + static_cast<ptrdiff_t>(offset), n, bytes.begin());
    }
    return bytes;
}

void Keyboard::Write(Area area, size_t offset, std::span<const uint8_t> bytes) {
    const std::lock_guard lock(mutex_);
    const auto storage = memory_.Bytes(area);
    if (offset >= storage.size()) {
        return;
    }
    const size_t n = std::min(bytes.size(), storage.size() - offset);
    std::copy_n(bytes.begin(), n, storage.begin() + static_cast<ptrdiff_t>(offset));
    PersistLocked();
}

uint8_t Keyboard::GKeyBank() const {
    const std::lock_guard lock(mutex_);
    return ledFlags_ & kLedBankBit;
}

void Keyboard::PersistLocked() {
    if (options_.stateFile.empty()) {
        return;
    }
    std::string error;
    if (SaveStateFile(options_.stateFile, memory_, error)) {
        stamp_ = StampOf(options_.stateFile);
    } else {
        options_.log(error);
    }
}

bool Keyboard::ReloadIfChangedOnDisk(std::string& error) {
    const std::lock_guard lock(mutex_);
    if (options_.stateFile.empty() || StampOf(options_.stateFile) == stamp_) {
        return true;
    }
    StateFileLoad load = LoadStateFile(options_.stateFile);
    if (!load.memory) {
        error = load.error;
        return false;
    }
    memory_ = *load.memory;
    stamp_ = StampOf(options_.stateFile);
    return true;
}

// ---- Trace and status -----------------------------------------------------------------------

std::vector<std::string> Keyboard::TraceLines() const {
    return trace_.Lines();
}

void Keyboard::ClearTrace() {
    trace_.ClearLines();
}

bool Keyboard::AddTraceFile(const std::filesystem::path& path, std::string& error) {
    return trace_.AddFile(path, error);
}

void Keyboard::RemoveTraceFile(const std::filesystem::path& path) {
    trace_.RemoveFile(path);
}

KeyboardStatus Keyboard::Status() const {
    KeyboardStatus s;
    {
        const std::lock_guard lock(mutex_);
        s.present = present_;
        s.inBootMode = inBootMode_;
        s.inWriteTransaction = inTransaction_;
        s.activeProfile = memory_.ActiveProfile();
        s.gKeyBank = ledFlags_ & kLedBankBit;
        s.latency = latency_;
        s.answerDelay = answerDelay_;
        s.bootReturn = bootReturn_;
        s.silentCount = silentCount_;
        s.wrongCommandCount = wrongCount_;
        s.failCount = failCount_;
        s.failStatus = failStatus_;
        s.stateFile = options_.stateFile;
    }
    const std::lock_guard lock(listenersMutex_);
    s.listeners = listeners_.size();
    return s;
}

bool Keyboard::WaitUntilQuiet(Millis timeout) const {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [this] {
        return !delivering_ && std::ranges::none_of(queue_, [](const auto& entry) {
            return entry.second.kind != Outgoing::Kind::kPlug;
        });
    });
}

}  // namespace qx::sim
