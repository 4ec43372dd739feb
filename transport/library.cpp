#include "transport/library.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <thread>
#include <utility>

#include "transport/debug_log.h"
#include "transport/notification.h"

namespace qx::transport {

// A write the library still knows about: a RequestWrite until its completion ran, a status
// write until it is deleted. Its unit record is the one handed to the callback.
struct Library::WriteRequest {
    enum class Kind { Write, Status };
    Kind kind = Kind::Write;
    RadOdorFilter filter{};
    RadOdorCallback callback = nullptr;
    std::vector<uint8_t> report;
    RadOdorUnit unit{};
    // Guarded by Library::mutex_.
    bool cancelled = false;
    bool running = false;
    std::thread::id runningOn;
};

namespace {

bool IsReport(const uint8_t* data, int length) {
    return data != nullptr && length > 0;
}

std::span<const uint8_t> AsSpan(const uint8_t* data, int length) {
    return {data, static_cast<size_t>(length)};
}

}  // namespace

std::function<std::unique_ptr<Backend>()> UseBackend(std::unique_ptr<Backend> backend) {
    auto holder = std::make_shared<std::unique_ptr<Backend>>(std::move(backend));
    return [holder]() { return std::move(*holder); };
}

Library::Library(BackendFactory factory, LibraryOptions options)
    : factory_(std::move(factory)),
      options_(options),
      nextUnitId_(std::clamp<uint32_t>(options.firstUnitId, 1,
                                       std::max<uint32_t>(options.lastUnitId, 1))) {}

Library::~Library() {
    End();
    std::vector<std::unique_ptr<StandingRead>> reads;
    std::vector<std::unique_ptr<SerialWorker>> workers;
    {
        const std::lock_guard lock(mutex_);
        reads.swap(retiredReads_);
        workers.swap(retiredWorkers_);
    }
    // Destroying them waits for callbacks that ended the library from inside themselves.
}

int Library::Debug(int level) {
    return SetDebugLevel(level);
}

int Library::Init(int /*flags*/) {
    std::unique_ptr<SerialWorker> recount;
    std::unique_ptr<SerialWorker> write;
    {
        const std::unique_lock lock(lifecycle_);
        if (running_) {
            return 1;
        }
        if (!backend_ && factory_) {
            backend_ = factory_();
        }
        if (!backend_) {
            DebugPrint(kDebugErrors, "no backend: the library cannot work");
            return 0;
        }
        recountPending_.store(false);
        recountWorker_ = std::make_unique<SerialWorker>("radodor-count");
        writeWorker_ = std::make_unique<SerialWorker>("radodor-write");
        running_ = true;
        if (backend_->Start(*this)) {
            return 1;
        }
        DebugPrint(kDebugErrors, "the backend did not start");
        running_ = false;
        backend_->Stop();
        recount = std::move(recountWorker_);
        write = std::move(writeWorker_);
    }
    // The workers are joined here, after the lock: a recount may be waiting for it.
    return 0;
}

int Library::End() {
    std::unique_ptr<SerialWorker> recount;
    std::unique_ptr<SerialWorker> write;
    {
        const std::unique_lock lock(lifecycle_);
        if (!running_) {
            return 1;
        }
        running_ = false;
        backend_->Stop();
        recount = std::move(recountWorker_);
        write = std::move(writeWorker_);
    }
    recount.reset();

    std::map<uint32_t, std::unique_ptr<StandingRead>> reads;
    {
        const std::lock_guard lock(mutex_);
        reads.swap(reads_);
        for (auto& entry : writes_) {
            entry.second->cancelled = true;
        }
        writes_.clear();
        statuses_.clear();
    }
    for (auto& entry : reads) {
        CancelRead(std::move(entry.second));
    }
    write->Stop();
    if (write->OnOwnThread()) {
        const std::lock_guard lock(mutex_);
        retiredWorkers_.push_back(std::move(write));
    } else {
        write.reset();
    }
    ReapRetired();
    return 1;
}

int Library::RequestGetDeviceCount(const RadOdorFilter* filter) {
    if (filter == nullptr) {
        return 0;
    }
    const std::shared_lock lock(lifecycle_);
    return running_ ? std::max(0, backend_->CountDevices(*filter)) : 0;
}

int Library::DeleteRequestFromUnitId(uint32_t unitId) {
    if (unitId == 0) {
        return 0;
    }
    ReapRetired();
    std::unique_lock lock(mutex_);
    if (auto it = reads_.find(unitId); it != reads_.end()) {
        auto read = std::move(it->second);
        reads_.erase(it);
        lock.unlock();
        return CancelRead(std::move(read));
    }
    if (auto it = writes_.find(unitId); it != writes_.end()) {
        auto write = it->second;
        writes_.erase(it);
        return CancelWrite(lock, write);
    }
    return 0;
}

int Library::DeleteRequestFromHandle(const RadOdorUnit* unit) {
    if (unit == nullptr) {
        return 0;
    }
    uint32_t unitId = 0;
    {
        // Found by address only: a record that is no longer alive is never read.
        const std::lock_guard lock(mutex_);
        for (const auto& [id, read] : reads_) {
            if (read->Unit() == unit) {
                unitId = id;
            }
        }
        for (const auto& [id, write] : writes_) {
            if (&write->unit == unit) {
                unitId = id;
            }
        }
    }
    return DeleteRequestFromUnitId(unitId);
}

int Library::RequestWrite(const RadOdorFilter* filter, RadOdorCallback callback, uint32_t userTag,
                          const uint8_t* data, int length, uint32_t* unitId) {
    if (unitId != nullptr) {
        *unitId = 0;
    }
    if (filter == nullptr || !IsReport(data, length)) {
        return 0;
    }
    ReapRetired();
    const std::shared_lock lifecycle(lifecycle_);
    if (!running_ || backend_->CountDevices(*filter) <= 0) {
        return 0;
    }
    auto write = std::make_shared<WriteRequest>();
    write->kind = WriteRequest::Kind::Write;
    write->filter = *filter;
    write->callback = callback;
    write->report.assign(data, data + length);
    if (!Register(write, userTag, unitId)) {
        return 0;
    }
    writeWorker_->Post([this, write] { CompleteWrite(write); });
    return 1;
}

int Library::RequestWriteOne(const RadOdorFilter* filter, const uint8_t* report, int length) {
    if (filter == nullptr || !IsReport(report, length)) {
        return 0;
    }
    const std::shared_lock lifecycle(lifecycle_);
    if (!running_) {
        return 0;
    }
    DebugTraffic("write", AsSpan(report, length));
    const int sent = backend_->WriteOutputReport(*filter, AsSpan(report, length));
    if (sent <= 0) {
        DebugPrint(kDebugErrors, "output report not sent (%d)", sent);
    }
    return sent;
}

int Library::RequestStatusWrite(const RadOdorFilter* filter, RadOdorCallback callback,
                                uint32_t userTag, const uint8_t* data, int length,
                                uint32_t* unitId) {
    if (unitId != nullptr) {
        *unitId = 0;
    }
    if (filter == nullptr || !IsReport(data, length)) {
        return 0;
    }
    ReapRetired();
    const std::shared_lock lifecycle(lifecycle_);
    if (!running_) {
        return 0;
    }
    DebugTraffic("status write", AsSpan(data, length));
    const int sent = backend_->WriteOutputReport(*filter, AsSpan(data, length));
    if (sent <= 0) {
        DebugPrint(kDebugErrors, "status report not sent (%d)", sent);
        return sent;
    }
    auto write = std::make_shared<WriteRequest>();
    write->kind = WriteRequest::Kind::Status;
    write->filter = *filter;
    write->callback = callback;
    write->report.assign(data, data + length);
    {
        const std::lock_guard lock(mutex_);
        statuses_[KeyOf(*filter)] = write->report;
    }
    // The report was sent and is kept as the status even when no unit id is left for it.
    if (Register(write, userTag, unitId) && callback != nullptr) {
        writeWorker_->Post([this, write] { CompleteWrite(write); });
    }
    return sent;
}

int Library::RequestStatusGet(const RadOdorFilter* filter, uint8_t* buffer, int capacity) {
    if (filter == nullptr || buffer == nullptr || capacity <= 0) {
        return 0;
    }
    const std::lock_guard lock(mutex_);
    const auto it = statuses_.find(KeyOf(*filter));
    if (it == statuses_.end()) {
        return 0;
    }
    const size_t copied = std::min(it->second.size(), static_cast<size_t>(capacity));
    std::memcpy(buffer, it->second.data(), copied);
    return static_cast<int>(copied);
}

int Library::RequestAsyncRead(const RadOdorFilter* filter, RadOdorCallback callback,
                              uint32_t userTag, uint32_t* unitId) {
    if (unitId != nullptr) {
        *unitId = 0;
    }
    if (filter == nullptr || callback == nullptr) {
        return 0;
    }
    ReapRetired();
    {
        const std::shared_lock lifecycle(lifecycle_);
        if (!running_) {
            return 0;
        }
        const int count = std::max(0, backend_->CountDevices(*filter));
        const std::lock_guard lock(mutex_);
        const uint32_t id = AllocateUnitId();
        if (id == 0) {
            DebugPrint(kDebugErrors, "no unit id left for a standing read");
            return 0;
        }
        reads_.emplace(id, std::make_unique<StandingRead>(id, *filter, callback, userTag, count,
                                                          options_.maxQueuedReports));
        if (unitId != nullptr) {
            *unitId = id;
        }
        // A device that came or left between the count above and this registration must
        // still be told to the new read.
        ScheduleRecount();
    }
    return 1;
}

int Library::RequestStatusSetFeature(const RadOdorFilter* filter, const uint8_t* data, int length) {
    if (filter == nullptr || !IsReport(data, length)) {
        return 0;
    }
    const std::shared_lock lifecycle(lifecycle_);
    if (!running_) {
        return 0;
    }
    DebugTraffic("feature", AsSpan(data, length));
    const int sent = backend_->SetFeatureReport(*filter, AsSpan(data, length));
    if (sent <= 0) {
        DebugPrint(kDebugErrors, "feature report not sent (%d)", sent);
    }
    return sent;
}

bool Library::Register(const std::shared_ptr<WriteRequest>& write, uint32_t userTag,
                       uint32_t* unitId) {
    const std::lock_guard lock(mutex_);
    const uint32_t id = AllocateUnitId();
    if (id == 0) {
        DebugPrint(kDebugErrors, "no unit id left for a write");
        return false;
    }
    write->unit.unit_id = id;
    write->unit.user_tag = userTag;
    write->unit.latest_report = write->report.data();
    write->unit.latest_length = static_cast<uint32_t>(write->report.size());
    writes_.emplace(id, write);
    if (unitId != nullptr) {
        *unitId = id;
    }
    return true;
}

void Library::OnInputReport(uint16_t vendorId, uint16_t productId, CollectionKey collection,
                            std::span<const uint8_t> report) {
    if (DebugEnabled(kDebugTraffic)) {
        char where[64];
        std::snprintf(where, sizeof where, "read %04X:%04X %04X/%04X", vendorId, productId,
                      collection.usagePage, collection.usage);
        DebugTraffic(where, report);
    }
    const std::lock_guard lock(mutex_);
    for (const auto& entry : reads_) {
        if (FilterMatches(entry.second->Filter(), vendorId, productId, collection)) {
            entry.second->PostReport(report);
        }
    }
}

void Library::OnDevicesChanged() {
    ScheduleRecount();
}

uint32_t Library::AllocateUnitId() {
    const uint32_t last = std::max<uint32_t>(options_.lastUnitId, 1);
    // One pass over the whole range at most: an id is free unless a request still holds it.
    for (uint64_t tried = 0; tried < last; ++tried) {
        const uint32_t id = nextUnitId_;
        nextUnitId_ = id >= last ? 1 : id + 1;
        if (!IsAlive(id)) {
            return id;
        }
    }
    return 0;
}

bool Library::IsAlive(uint32_t unitId) const {
    return reads_.count(unitId) != 0 || writes_.count(unitId) != 0;
}

void Library::ScheduleRecount() {
    // Called between the backend's Start and Stop, or under the shared life-cycle lock: the
    // worker exists. Changes that come while a recount waits are covered by that recount.
    if (!recountPending_.exchange(true) && !recountWorker_->Post([this] { Recount(); })) {
        recountPending_.store(false);
    }
}

void Library::Recount() {
    recountPending_.store(false);
    std::vector<std::pair<uint32_t, RadOdorFilter>> reads;
    {
        const std::lock_guard lock(mutex_);
        for (const auto& entry : reads_) {
            reads.emplace_back(entry.first, entry.second->Filter());
        }
    }
    for (const auto& [id, filter] : reads) {
        int count = 0;
        {
            const std::shared_lock lifecycle(lifecycle_);
            if (!running_) {
                return;
            }
            count = std::max(0, backend_->CountDevices(filter));
        }
        const std::lock_guard lock(mutex_);
        const auto it = reads_.find(id);
        if (it != reads_.end() && it->second->LastCount() != count) {
            it->second->SetLastCount(count);
            it->second->PostCount(count);
            DebugPrint(kDebugTraffic, "read %u: %d keyboard(s)", id, count);
        }
    }
}

void Library::CompleteWrite(const std::shared_ptr<WriteRequest>& write) {
    {
        const std::lock_guard lock(mutex_);
        if (write->cancelled) {
            return;
        }
        write->running = true;
        write->runningOn = std::this_thread::get_id();
    }
    bool sent = true;
    if (write->kind == WriteRequest::Kind::Write) {
        int result = 0;
        {
            const std::shared_lock lifecycle(lifecycle_);
            if (running_) {
                DebugTraffic("write", write->report);
                result = backend_->WriteOutputReport(write->filter, write->report);
            }
        }
        sent = result > 0;
        if (!sent) {
            DebugPrint(kDebugErrors, "write %u: output report not sent (%d)", write->unit.unit_id,
                       result);
        }
    }
    bool cancelled = false;
    {
        const std::lock_guard lock(mutex_);
        cancelled = write->cancelled;
    }
    if (sent && !cancelled && write->callback != nullptr) {
        Notify(write->callback, RADODOR_NOTIFY_REPORT, write->unit.user_tag,
               write->unit.latest_length, write->unit.latest_report, &write->unit);
    }
    {
        const std::lock_guard lock(mutex_);
        write->running = false;
        if (write->kind == WriteRequest::Kind::Write) {
            const auto it = writes_.find(write->unit.unit_id);
            if (it != writes_.end() && it->second == write) {
                writes_.erase(it);
            }
        }
    }
    writeDone_.notify_all();
}

int Library::CancelRead(std::unique_ptr<StandingRead> read) {
    read->Cancel();
    if (read->OnOwnThread()) {
        const std::lock_guard lock(mutex_);
        retiredReads_.push_back(std::move(read));
    } else {
        read->Join();
    }
    return 1;
}

int Library::CancelWrite(std::unique_lock<std::mutex>& lock,
                         const std::shared_ptr<WriteRequest>& write) {
    write->cancelled = true;
    const auto self = std::this_thread::get_id();
    writeDone_.wait(lock, [&] { return !write->running || write->runningOn == self; });
    return 1;
}

void Library::ReapRetired() {
    std::vector<std::unique_ptr<StandingRead>> finished;
    {
        const std::lock_guard lock(mutex_);
        auto done = std::stable_partition(
            retiredReads_.begin(), retiredReads_.end(),
            [](const auto& read) { return !read->Finished() || read->OnOwnThread(); });
        std::move(done, retiredReads_.end(), std::back_inserter(finished));
        retiredReads_.erase(done, retiredReads_.end());
    }
    for (auto& read : finished) {
        read->Join();
    }
}

Library::StatusKey Library::KeyOf(const RadOdorFilter& filter) {
    const uint32_t mask = filter.mask & RADODOR_MATCH_ALL;
    const auto field = [mask](uint32_t bit, uint16_t value) -> uint16_t {
        return (mask & bit) != 0 ? value : 0;
    };
    return {mask, field(RADODOR_MATCH_VENDOR, filter.vendor_id),
            field(RADODOR_MATCH_PRODUCT, filter.product_id),
            field(RADODOR_MATCH_USAGE_PAGE, filter.usage_page),
            field(RADODOR_MATCH_USAGE, filter.usage)};
}

}  // namespace qx::transport
