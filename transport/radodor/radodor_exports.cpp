// The twelve functions of libRadOdor.so, each forwarding to the process's one Library.
#include "transport/library.h"
#include "transport/radodor.h"
#include "transport/radodor/backend_choice.h"

namespace {

// Never destroyed: the driver never unloads the library, and a callback still blocked at
// process exit must not be joined by a static destructor.
qx::transport::Library& TheLibrary() {
    static auto* library = new qx::transport::Library(&qx::transport::MakeBackendFromEnvironment);
    return *library;
}

}  // namespace

extern "C" {

RADODOR_API int Debug(int level) {
    return TheLibrary().Debug(level);
}

RADODOR_API int Init(int flags) {
    return TheLibrary().Init(flags);
}

RADODOR_API int End(void) {
    return TheLibrary().End();
}

RADODOR_API int RequestGetDeviceCount(const RadOdorFilter* filter) {
    return TheLibrary().RequestGetDeviceCount(filter);
}

RADODOR_API int DeleteRequestFromUnitId(uint32_t unit_id) {
    return TheLibrary().DeleteRequestFromUnitId(unit_id);
}

RADODOR_API int DeleteRequestFromHandle(RadOdorUnit* unit) {
    return TheLibrary().DeleteRequestFromHandle(unit);
}

RADODOR_API int RequestWrite(const RadOdorFilter* filter, RadOdorCallback callback,
                             uint32_t user_tag, const uint8_t* data, int length,
                             uint32_t* unit_id) {
    return TheLibrary().RequestWrite(filter, callback, user_tag, data, length, unit_id);
}

RADODOR_API int RequestWriteOne(const RadOdorFilter* filter, const uint8_t* report, int length) {
    return TheLibrary().RequestWriteOne(filter, report, length);
}

RADODOR_API int RequestStatusWrite(const RadOdorFilter* filter, RadOdorCallback callback,
                                   uint32_t user_tag, const uint8_t* data, int length,
                                   uint32_t* unit_id) {
    return TheLibrary().RequestStatusWrite(filter, callback, user_tag, data, length, unit_id);
}

RADODOR_API int RequestStatusGet(const RadOdorFilter* filter, uint8_t* buffer, int capacity) {
    return TheLibrary().RequestStatusGet(filter, buffer, capacity);
}

RADODOR_API int RequestAsyncRead(const RadOdorFilter* filter, RadOdorCallback callback,
                                 uint32_t user_tag, uint32_t* unit_id) {
    return TheLibrary().RequestAsyncRead(filter, callback, user_tag, unit_id);
}

RADODOR_API int RequestStatusSetFeature(const RadOdorFilter* filter, const uint8_t* data,
                                        int length) {
    return TheLibrary().RequestStatusSetFeature(filter, data, length);
}

}  // extern "C"
