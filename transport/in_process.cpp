#include "transport/in_process.h"

#include <atomic>
#include <stdexcept>

#include "transport/debug_log.h"

namespace qx::transport {
namespace {

std::atomic<Library*> g_bound{nullptr};

int BoundDebug(int level) {
    Library* library = g_bound.load();
    return library != nullptr ? library->Debug(level) : SetDebugLevel(level);
}

int BoundInit(int flags) {
    Library* library = g_bound.load();
    return library != nullptr ? library->Init(flags) : 0;
}

int BoundEnd() {
    Library* library = g_bound.load();
    return library != nullptr ? library->End() : 1;
}

int BoundCount(const RadOdorFilter* filter) {
    Library* library = g_bound.load();
    return library != nullptr ? library->RequestGetDeviceCount(filter) : 0;
}

int BoundDeleteId(uint32_t unitId) {
    Library* library = g_bound.load();
    return library != nullptr ? library->DeleteRequestFromUnitId(unitId) : 0;
}

int BoundDeleteHandle(RadOdorUnit* unit) {
    Library* library = g_bound.load();
    return library != nullptr ? library->DeleteRequestFromHandle(unit) : 0;
}

int BoundWrite(const RadOdorFilter* filter, RadOdorCallback callback, uint32_t tag,
               const uint8_t* data, int length, uint32_t* unitId) {
    Library* library = g_bound.load();
    return library != nullptr ? library->RequestWrite(filter, callback, tag, data, length, unitId)
                              : 0;
}

int BoundWriteOne(const RadOdorFilter* filter, const uint8_t* report, int length) {
    Library* library = g_bound.load();
    return library != nullptr ? library->RequestWriteOne(filter, report, length) : 0;
}

int BoundStatusWrite(const RadOdorFilter* filter, RadOdorCallback callback, uint32_t tag,
                     const uint8_t* data, int length, uint32_t* unitId) {
    Library* library = g_bound.load();
    return library != nullptr
               ? library->RequestStatusWrite(filter, callback, tag, data, length, unitId)
               : 0;
}

int BoundStatusGet(const RadOdorFilter* filter, uint8_t* buffer, int capacity) {
    Library* library = g_bound.load();
    return library != nullptr ? library->RequestStatusGet(filter, buffer, capacity) : 0;
}

int BoundAsyncRead(const RadOdorFilter* filter, RadOdorCallback callback, uint32_t tag,
                   uint32_t* unitId) {
    Library* library = g_bound.load();
    return library != nullptr ? library->RequestAsyncRead(filter, callback, tag, unitId) : 0;
}

int BoundSetFeature(const RadOdorFilter* filter, const uint8_t* data, int length) {
    Library* library = g_bound.load();
    return library != nullptr ? library->RequestStatusSetFeature(filter, data, length) : 0;
}

constexpr RadOdorApi kTable = {
    BoundDebug, BoundInit,     BoundEnd,         BoundCount,     BoundDeleteId,  BoundDeleteHandle,
    BoundWrite, BoundWriteOne, BoundStatusWrite, BoundStatusGet, BoundAsyncRead, BoundSetFeature};

}  // namespace

InProcessApi::InProcessApi(Library& library) {
    Library* expected = nullptr;
    if (!g_bound.compare_exchange_strong(expected, &library)) {
        throw std::logic_error("another Library is already bound in this process");
    }
}

InProcessApi::~InProcessApi() {
    g_bound.store(nullptr);
}

const RadOdorApi& InProcessApi::Table() const {
    return kTable;
}

}  // namespace qx::transport
