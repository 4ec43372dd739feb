// The request machinery behind the twelve functions of radodor.h, over one Backend.
//
// libRadOdor.so forwards its exported functions to one process-wide Library; tests and
// benchmarks build their own over any backend (see in_process.h). A Library can be created and
// destroyed any number of times in one process.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <shared_mutex>
#include <span>
#include <tuple>
#include <vector>

#include "transport/backend.h"
#include "transport/radodor.h"
#include "transport/serial_worker.h"
#include "transport/standing_read.h"

namespace qx::transport {

struct LibraryOptions {
    // Unit ids run from firstUnitId up to lastUnitId, then wrap to 1 (0 is never used). Tests
    // narrow the range to reach the wrap-around; the product keeps the whole range.
    uint32_t firstUnitId = 1;
    uint32_t lastUnitId = UINT32_MAX;
    // Reports a standing read may have waiting while its callback runs.
    size_t maxQueuedReports = 1024;
};

// A factory that hands out this one backend at the first Init (tests, in-process use).
std::function<std::unique_ptr<Backend>()> UseBackend(std::unique_ptr<Backend> backend);

class Library final : private BackendSink {
  public:
    // Called by Init when there is no backend yet; a null result makes Init fail.
    using BackendFactory = std::function<std::unique_ptr<Backend>()>;

    explicit Library(BackendFactory factory, LibraryOptions options = {});
    // Runs End(). Must not be called from one of the library's callbacks.
    ~Library() override;
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;

    int Debug(int level);
    int Init(int flags);
    int End();
    int RequestGetDeviceCount(const RadOdorFilter* filter);
    int DeleteRequestFromUnitId(uint32_t unitId);
    int DeleteRequestFromHandle(const RadOdorUnit* unit);
    int RequestWrite(const RadOdorFilter* filter, RadOdorCallback callback, uint32_t userTag,
                     const uint8_t* data, int length, uint32_t* unitId);
    int RequestWriteOne(const RadOdorFilter* filter, const uint8_t* report, int length);
    int RequestStatusWrite(const RadOdorFilter* filter, RadOdorCallback callback, uint32_t userTag,
                           const uint8_t* data, int length, uint32_t* unitId);
    int RequestStatusGet(const RadOdorFilter* filter, uint8_t* buffer, int capacity);
    int RequestAsyncRead(const RadOdorFilter* filter, RadOdorCallback callback, uint32_t userTag,
                         uint32_t* unitId);
    int RequestStatusSetFeature(const RadOdorFilter* filter, const uint8_t* data, int length);

  private:
    struct WriteRequest;
    using StatusKey = std::tuple<uint32_t, uint16_t, uint16_t, uint16_t, uint16_t>;

    // BackendSink, called on the backend's threads.
    void OnInputReport(uint16_t vendorId, uint16_t productId, CollectionKey collection,
                       std::span<const uint8_t> report) override;
    void OnDevicesChanged() override;

    uint32_t AllocateUnitId();            // mutex_ held; 0 when every id is in use
    bool IsAlive(uint32_t unitId) const;  // mutex_ held
    // Gives a write request its unit id and record and makes it known; false: no id left.
    bool Register(const std::shared_ptr<WriteRequest>& write, uint32_t userTag, uint32_t* unitId);
    void ScheduleRecount();
    void Recount();
    void CompleteWrite(const std::shared_ptr<WriteRequest>& request);
    int CancelRead(std::unique_ptr<StandingRead> read);
    int CancelWrite(std::unique_lock<std::mutex>& lock, const std::shared_ptr<WriteRequest>& w);
    void ReapRetired();
    static StatusKey KeyOf(const RadOdorFilter& filter);

    const BackendFactory factory_;
    const LibraryOptions options_;

    // Life cycle: Init and End take it exclusively; calls that use the backend share it, so
    // End never stops the backend under a running write.
    std::shared_mutex lifecycle_;
    bool running_ = false;
    std::unique_ptr<Backend> backend_;
    std::unique_ptr<SerialWorker> recountWorker_;  // device-count changes
    std::unique_ptr<SerialWorker> writeWorker_;    // RequestWrite and status-write completions
    std::atomic<bool> recountPending_{false};

    // Requests.
    std::mutex mutex_;
    std::condition_variable writeDone_;
    uint32_t nextUnitId_;
    std::map<uint32_t, std::unique_ptr<StandingRead>> reads_;
    std::map<uint32_t, std::shared_ptr<WriteRequest>> writes_;
    std::map<StatusKey, std::vector<uint8_t>> statuses_;
    // Cancelled from inside their own callback: joined once that callback has returned.
    std::vector<std::unique_ptr<StandingRead>> retiredReads_;
    std::vector<std::unique_ptr<SerialWorker>> retiredWorkers_;
};

}  // namespace qx::transport
