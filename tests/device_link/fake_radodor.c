/* A stand-in transport library for the binding tests. Built twice: complete, and without "End"
 * (FAKE_RADODOR_WITHOUT_END). Init returns the value of FAKE_RADODOR_INIT (1 when unset). */
#include <stdlib.h>

#include "transport/radodor.h"

RADODOR_API int Debug(int level) {
    return level;
}
RADODOR_API int Init(int flags) {
    const char* value = getenv("FAKE_RADODOR_INIT");
    (void)flags;
    return value != NULL ? atoi(value) : 1;
}
#ifndef FAKE_RADODOR_WITHOUT_END
RADODOR_API int End(void) {
    return 1;
}
#endif
RADODOR_API int RequestGetDeviceCount(const RadOdorFilter* filter) {
    (void)filter;
    return 7;
}
RADODOR_API int DeleteRequestFromUnitId(uint32_t unit_id) {
    return unit_id != 0;
}
RADODOR_API int DeleteRequestFromHandle(RadOdorUnit* unit) {
    return unit != NULL;
}
RADODOR_API int RequestWrite(const RadOdorFilter* filter, RadOdorCallback callback,
                             uint32_t user_tag, const uint8_t* data, int length,
                             uint32_t* unit_id) {
    (void)filter, (void)callback, (void)user_tag, (void)data, (void)unit_id;
    return length;
}
RADODOR_API int RequestWriteOne(const RadOdorFilter* filter, const uint8_t* report, int length) {
    (void)filter, (void)report;
    return length;
}
RADODOR_API int RequestStatusWrite(const RadOdorFilter* filter, RadOdorCallback callback,
                                   uint32_t user_tag, const uint8_t* data, int length,
                                   uint32_t* unit_id) {
    (void)filter, (void)callback, (void)user_tag, (void)data, (void)unit_id;
    return length;
}
RADODOR_API int RequestStatusGet(const RadOdorFilter* filter, uint8_t* buffer, int capacity) {
    (void)filter, (void)buffer, (void)capacity;
    return 0;
}
RADODOR_API int RequestAsyncRead(const RadOdorFilter* filter, RadOdorCallback callback,
                                 uint32_t user_tag, uint32_t* unit_id) {
    (void)filter, (void)callback, (void)user_tag;
    *unit_id = 42;
    return 1;
}
RADODOR_API int RequestStatusSetFeature(const RadOdorFilter* filter, const uint8_t* data,
                                        int length) {
    (void)filter, (void)data;
    return length;
}
