// The emulated keyboard: its memory, its USB link with timing, the state file and trace it
// keeps, and the ways it can be made to misbehave. Thread-safe; every method may be called from
// any thread. The keyboard sends reports from a delivery thread of its own.
#pragma once

#include <array>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "sim/hid_reports.h"
#include "sim/keyboard_memory.h"
#include "sim/state_file.h"
#include "sim/trace.h"

namespace qx::sim {

using Millis = std::chrono::milliseconds;

// Count of a misbehaviour that lasts until ClearMisbehaviour or Reset.
inline constexpr int kUntilCleared = -1;
// Boot-mode return time that keeps the keyboard away until Plug or Reset.
inline constexpr Millis kStayInBootMode{-1};
inline constexpr Millis kDefaultBootReturn{2000};

struct KeyboardOptions {
    std::filesystem::path stateFile;  // empty: memory only, factory content at start
    std::filesystem::path traceFile;  // empty: no trace file
    bool keepTraceLines = true;       // also keep the trace as lines in memory
    Millis bootReturn = kDefaultBootReturn;
    bool present = true;  // plugged in from the start
    // Where the keyboard reports trouble of its own (a state file it cannot rewrite).
    std::function<void(const std::string&)> log;
};

// Receives what the keyboard sends over one attached link. Runs on the keyboard's delivery
// thread; must not call Attach or Detach.
class KeyboardListener {
  public:
    virtual ~KeyboardListener() = default;
    virtual void OnReport(Collection collection, std::span<const uint8_t> report) = 0;
    virtual void OnPresenceChanged(bool present) = 0;
};

struct KeyboardStatus {
    bool present = false;
    bool inBootMode = false;
    bool inWriteTransaction = false;
    uint8_t activeProfile = 0;
    uint8_t gKeyBank = 0;
    Millis latency{0};
    Millis answerDelay{0};
    Millis bootReturn{0};
    int silentCount = 0;  // kUntilCleared or the requests left
    int wrongCommandCount = 0;
    int failCount = 0;
    uint8_t failStatus = kStatusRejected;
    size_t listeners = 0;
    std::filesystem::path stateFile;
};

class Keyboard {
  public:
    // A keyboard whose memory comes from options.stateFile (factory content when the file is
    // missing). nullptr when the state file is unusable or the trace file cannot be opened;
    // the reason is in `error`. A refused state file is left untouched.
    static std::shared_ptr<Keyboard> Open(KeyboardOptions options, std::string& error);
    // The same for callers that treat a bad file as a programming error: throws runtime_error.
    static std::shared_ptr<Keyboard> Create(KeyboardOptions options = {});

    ~Keyboard();
    Keyboard(const Keyboard&) = delete;
    Keyboard& operator=(const Keyboard&) = delete;

    // ---- The USB link ----------------------------------------------------------------------
    bool IsPresent() const;
    // An output report from the host, report id first. Blocks for the link latency, then runs
    // it. Returns the bytes taken (> 0), or -1 when the keyboard is away or the collection
    // takes no such report. Answers follow on the delivery thread.
    int ReceiveReport(Collection collection, std::span<const uint8_t> report);
    // Every attached listener gets every report the keyboard sends, as every open handle of
    // a real keyboard does. Detach waits until no delivery to that listener is running.
    uint64_t Attach(KeyboardListener* listener);
    void Detach(uint64_t id);

    // ---- Memory, for set-up and assertions --------------------------------------------------
    KeyboardMemory Memory() const;
    void SetMemory(const KeyboardMemory& memory);  // rewrites the state file
    // Bytes of an area's storage; parts outside the storage read as zeros, are not written.
    std::vector<uint8_t> Read(Area area, size_t offset, size_t length) const;
    void Write(Area area, size_t offset, std::span<const uint8_t> bytes);
    uint8_t GKeyBank() const;  // bit 0 of the last status report on the LED collection

    // ---- Misbehaviour -----------------------------------------------------------------------
    void SetLatency(Millis perReport);  // each way, for every report
    void SetAnswerDelay(Millis delay);  // extra time before each answer
    // The next `count` command requests (or all, kUntilCleared): ...
    void DropRequests(int count);                  // ... get no answer and are not run
    void FailRequests(uint8_t status, int count);  // ... are refused with this status
    void AnswerWithOtherCommand(int count);        // ... run, answered with command ^ 0x80
    void ClearMisbehaviour();                      // latency, delay and the three above
    void Unplug();                                 // the keyboard leaves (count 0)
    void Plug();                                   // it comes back
    void Replug(Millis away);                      // leaves now, comes back after `away`
    void SetBootReturn(Millis after);              // how long boot mode keeps it away
    // Sends an event report on the consumer collection. False while the keyboard is away.
    bool SendEvent(uint16_t code);
    // Factory memory (state file rewritten), no misbehaviour, bank 0, back when away.
    void Reset();

    // ---- Trace ------------------------------------------------------------------------------
    std::vector<std::string> TraceLines() const;
    void ClearTrace();
    bool AddTraceFile(const std::filesystem::path& path, std::string& error);
    void RemoveTraceFile(const std::filesystem::path& path);

    // ---- State file -------------------------------------------------------------------------
    // When somebody else replaced or removed the state file since the keyboard last read or
    // wrote it, takes its content (factory content for a removed file). False, memory kept,
    // when the new file is unusable.
    bool ReloadIfChangedOnDisk(std::string& error);

    KeyboardStatus Status() const;
    // Waits until no report is waiting to be sent and none is being delivered (a pending
    // return from boot mode or Replug does not count). False on time-out.
    bool WaitUntilQuiet(Millis timeout = Millis(5000)) const;

  private:
    struct Outgoing {
        enum class Kind : uint8_t { kReport, kPlug, kPresence } kind;
        Collection collection = Collection::kCommand;
        std::vector<uint8_t> bytes;
        uint64_t generation = 0;  // reports and plugs of an earlier generation are dropped
        bool present = false;     // kPresence
    };
    using Clock = std::chrono::steady_clock;

    explicit Keyboard(KeyboardOptions options, KeyboardMemory memory, FileStamp stamp);

    void RunCommand(std::span<const uint8_t> report, Clock::time_point arrival);  // mutex_ held
    bool ConsumeCount(int& count);                                                // mutex_ held
    void Schedule(Clock::time_point due, Outgoing item);                          // mutex_ held
    void ScheduleReport(Millis after, Collection collection, std::span<const uint8_t> bytes);
    void ScheduleReport(Clock::time_point due, Collection collection,
                        std::span<const uint8_t> bytes);
    void LeaveLocked(bool bootMode);
    void ComeBackLocked();
    void PersistLocked();
    void DeliveryLoop();
    void Deliver(const Outgoing& item);

    const KeyboardOptions options_;
    Trace trace_;

    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    KeyboardMemory memory_;
    FileStamp stamp_;
    bool present_ = true;
    bool inBootMode_ = false;
    bool inTransaction_ = false;
    uint64_t generation_ = 0;
    uint8_t ledFlags_ = 0;
    Millis latency_{0};
    Millis answerDelay_{0};
    Millis bootReturn_;
    int silentCount_ = 0;
    int wrongCount_ = 0;
    int failCount_ = 0;
    uint8_t failStatus_ = kStatusRejected;
    std::multimap<Clock::time_point, Outgoing> queue_;
    bool delivering_ = false;
    bool stopping_ = false;

    mutable std::mutex listenersMutex_;  // held while a listener runs
    std::map<uint64_t, KeyboardListener*> listeners_;
    uint64_t nextListenerId_ = 1;

    std::thread deliveryThread_;
};

}  // namespace qx::sim
