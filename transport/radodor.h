/*
 * RadOdor: the keyboard's HID transport library (libRadOdor.so, RadOdor.dll on Windows).
 *
 * The driver loads the library at run time by name and binds the twelve functions below in the
 * order of RADODOR_FUNCTION_NAMES. This header is shared by the library and the driver.
 *
 * Record layouts are natural C structs with the fields in the documented order. The 32-bit
 * library this interface first served packed pointers into 32-bit slots, so fixed byte offsets
 * (for example "the unit's latest report at offset 28") do not carry over to 64-bit builds:
 * always use the field names.
 *
 * Threads: callbacks run on threads of the library. Each standing read (RequestAsyncRead) has
 * its own delivery thread, so a callback that blocks holds up only the reports of its own read,
 * never the answers delivered to another read. The completions of RequestWrite and
 * RequestStatusWrite share one further thread. A callback may call any function of the library,
 * including the cancellation of its own request; it must not wait for another callback that
 * cancels its request. Functions return at once when their arguments are null or lengths <= 0
 * (results 0 or the "nothing" value), and *unit_id is set to 0 whenever no request was made.
 *
 * Reports always start with their report id; a collection whose device declares no report ids
 * sends and receives reports that start with 0 (the 0 is added to what the device sends).
 * Keyboard counts count physical keyboards: the interfaces of one keyboard count once.
 */
#ifndef QX_TRANSPORT_RADODOR_H
#define QX_TRANSPORT_RADODOR_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(_WIN32)
#define RADODOR_API __declspec(dllexport)
#else
#define RADODOR_API __attribute__((visibility("default")))
#endif

/* Match-mask bits of a device filter. */
enum {
    RADODOR_MATCH_VENDOR = 0x1,
    RADODOR_MATCH_PRODUCT = 0x2,
    RADODOR_MATCH_USAGE_PAGE = 0x4,
    RADODOR_MATCH_USAGE = 0x8,
    RADODOR_MATCH_ALL = 0xF
};

/* Device filter (16 bytes): which keyboards and which top-level collection a request is for. */
typedef struct RadOdorFilter {
    uint32_t mask; /* RADODOR_MATCH_* bits; a clear bit matches anything */
    uint16_t vendor_id;
    uint16_t product_id;
    uint16_t usage_page;
    uint16_t usage;
    uint32_t reserved; /* 0 */
} RadOdorFilter;

/* Kinds of notification passed to a callback. */
enum {
    RADODOR_NOTIFY_COUNT_CHANGED = 0, /* request->length holds the new keyboard count */
    RADODOR_NOTIFY_REPORT = 1         /* request->report holds request->length bytes */
};

/* A registered request (standing read or status write). */
typedef struct RadOdorUnit {
    uint32_t unit_id;
    uint32_t user_tag;
    const uint8_t* latest_report; /* the most recent report of this request, report id first */
    uint32_t latest_length;
} RadOdorUnit;

/* The request record a notification points to. */
typedef struct RadOdorRequest {
    uint32_t user_tag;     /* the tag given when the request was registered */
    uint32_t length;       /* kind 1: report length in bytes; kind 0: the new keyboard count */
    const uint8_t* report; /* kind 1: the report, report id first; valid during the callback */
    uint32_t reserved;
    RadOdorUnit* unit;
} RadOdorRequest;

typedef struct RadOdorNotification {
    uint32_t kind; /* RADODOR_NOTIFY_* */
    uint32_t reserved;
    RadOdorRequest* request;
} RadOdorNotification;

/* Called on a library thread; returns 1. The records are valid only during the call. */
typedef int (*RadOdorCallback)(RadOdorNotification* notification);

/* Sets the library's diagnostic level, written to standard error with the prefix "radodor: ":
 * 0 quiet, 1 errors (devices that cannot be opened, for example for want of the udev rule,
 * reports not sent, reports dropped because a callback does not keep up), 2 also every report
 * in both directions and every count change. Negative levels count as 0, higher ones as 2.
 * The level is process-wide and may be set before Init. Returns the previous level. */
RADODOR_API int Debug(int level);

/* Starts the backend chosen by RADODOR_BACKEND ("hidraw", the default also when unset or empty,
 * or "sim"); any other value makes Init return 0. The hidraw backend starts without a keyboard
 * (one plugged in later is noticed within a second) and opens only the keyboard's nodes.
 * flags: 0 (other values are ignored). Calling Init while the library runs changes nothing and
 * returns 1. Returns > 0 when the library is ready, <= 0 when it cannot work. */
RADODOR_API int Init(int flags);

/* Cancels every request (their unit ids become unknown, the kept status reports are forgotten),
 * waits for running callbacks (except the one it is called from), stops the library's threads
 * and releases the devices. Returns 1, also when the library was not running. Init may start
 * the library again afterwards. */
RADODOR_API int End(void);

/* Number of keyboards present that have a collection matching the filter; 0 before Init. */
RADODOR_API int RequestGetDeviceCount(const RadOdorFilter* filter);

/* Cancels the request with that unit id (0 or an unknown id: nothing, returns 0).
 * Returns 1 when a request was cancelled. Waits until its callback is no longer running,
 * unless called from that very callback. */
RADODOR_API int DeleteRequestFromUnitId(uint32_t unit_id);

/* The same, by the unit record a notification carried. The record is only compared with the
 * records of the live requests, never read: a record of a cancelled request returns 0. */
RADODOR_API int DeleteRequestFromHandle(RadOdorUnit* unit);

/* Sends one output report asynchronously; the callback (may be null) receives a kind-1
 * notification with the report that was written once it is on its way, on the library's write
 * thread. The request ends by itself after that notification (or, without a notification, when
 * the write failed: see Debug); cancelling it before it was sent keeps it from being sent.
 * Returns > 0 when queued, <= 0 when nothing was queued (for example no matching keyboard). */
RADODOR_API int RequestWrite(const RadOdorFilter* filter, RadOdorCallback callback,
                             uint32_t user_tag, const uint8_t* data, int length, uint32_t* unit_id);

/* Sends one output report and returns once it was handed to the device.
 * Returns > 0 (the bytes sent) when sent, <= 0 when not sent. */
RADODOR_API int RequestWriteOne(const RadOdorFilter* filter, const uint8_t* report, int length);

/* Sends the status report (output report, report id first) to the matching collection at once,
 * and when it was sent keeps it as the status of that filter and registers a request whose unit
 * record holds the report; the callback (may be null) then receives the written report (kind 1)
 * on the library's write thread, possibly before this function returned. The request stays
 * until it is cancelled or End. Returns > 0 (the bytes sent) when sent; otherwise nothing is
 * kept and no request is made. */
RADODOR_API int RequestStatusWrite(const RadOdorFilter* filter, RadOdorCallback callback,
                                   uint32_t user_tag, const uint8_t* data, int length,
                                   uint32_t* unit_id);

/* Copies the last status report sent by RequestStatusWrite with an equal filter (the same mask
 * and the same values in the fields the mask selects), at most capacity bytes. The status is
 * kept across keyboard departures until End. Returns the number of bytes copied, 0 when none
 * was written. */
RADODOR_API int RequestStatusGet(const RadOdorFilter* filter, uint8_t* buffer, int capacity);

/* Registers a standing read on the matching collection: the callback receives every input
 * report of that collection (kind 1) and every change of the number of matching keyboards
 * (kind 0; not for the number present at registration), in order, on the read's own thread.
 * Works without a keyboard present. Up to 1024 reports wait while the callback runs; beyond
 * that reports are dropped (see Debug). The new request's unit id is stored in *unit_id.
 * Returns > 0 when registered (callback must not be null). */
RADODOR_API int RequestAsyncRead(const RadOdorFilter* filter, RadOdorCallback callback,
                                 uint32_t user_tag, uint32_t* unit_id);

/* Sends a feature report (report id first) to the matching collection and returns once it was
 * handed to the device. Returns > 0 (the bytes sent) when sent, <= 0 when not sent. */
RADODOR_API int RequestStatusSetFeature(const RadOdorFilter* filter, const uint8_t* data,
                                        int length);

/* Function types, in binding order. */
typedef int (*RadOdorDebugFn)(int);
typedef int (*RadOdorInitFn)(int);
typedef int (*RadOdorEndFn)(void);
typedef int (*RadOdorGetDeviceCountFn)(const RadOdorFilter*);
typedef int (*RadOdorDeleteFromUnitIdFn)(uint32_t);
typedef int (*RadOdorDeleteFromHandleFn)(RadOdorUnit*);
typedef int (*RadOdorWriteFn)(const RadOdorFilter*, RadOdorCallback, uint32_t, const uint8_t*, int,
                              uint32_t*);
typedef int (*RadOdorWriteOneFn)(const RadOdorFilter*, const uint8_t*, int);
typedef int (*RadOdorStatusWriteFn)(const RadOdorFilter*, RadOdorCallback, uint32_t, const uint8_t*,
                                    int, uint32_t*);
typedef int (*RadOdorStatusGetFn)(const RadOdorFilter*, uint8_t*, int);
typedef int (*RadOdorAsyncReadFn)(const RadOdorFilter*, RadOdorCallback, uint32_t, uint32_t*);
typedef int (*RadOdorSetFeatureFn)(const RadOdorFilter*, const uint8_t*, int);

/* The bound library: one pointer per exported name, in binding order. */
typedef struct RadOdorApi {
    RadOdorDebugFn Debug;
    RadOdorInitFn Init;
    RadOdorEndFn End;
    RadOdorGetDeviceCountFn RequestGetDeviceCount;
    RadOdorDeleteFromUnitIdFn DeleteRequestFromUnitId;
    RadOdorDeleteFromHandleFn DeleteRequestFromHandle;
    RadOdorWriteFn RequestWrite;
    RadOdorWriteOneFn RequestWriteOne;
    RadOdorStatusWriteFn RequestStatusWrite;
    RadOdorStatusGetFn RequestStatusGet;
    RadOdorAsyncReadFn RequestAsyncRead;
    RadOdorSetFeatureFn RequestStatusSetFeature;
} RadOdorApi;

/* The exported names in binding order (the order of the RadOdorApi fields). */
#define RADODOR_FUNCTION_COUNT 12
#define RADODOR_FUNCTION_NAMES                                                                  \
    {                                                                                           \
        "Debug", "Init", "End", "RequestGetDeviceCount", "DeleteRequestFromUnitId",             \
            "DeleteRequestFromHandle", "RequestWrite", "RequestWriteOne", "RequestStatusWrite", \
            "RequestStatusGet", "RequestAsyncRead", "RequestStatusSetFeature"                   \
    }

/* The keyboard and its three collections. */
#define RADODOR_VENDOR_ID 0x0C45
#define RADODOR_PRODUCT_ID 0x6518
#define RADODOR_COMMAND_USAGE_PAGE 0xFF1C
#define RADODOR_COMMAND_USAGE 0x0092
#define RADODOR_CONSUMER_USAGE_PAGE 0x000C
#define RADODOR_CONSUMER_USAGE 0x0001
#define RADODOR_LED_USAGE_PAGE 0x0008
#define RADODOR_LED_USAGE 0x0089

#ifdef __cplusplus
}
#endif

#endif /* QX_TRANSPORT_RADODOR_H */
