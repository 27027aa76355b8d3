#ifndef HALVO_CORE_H
#define HALVO_CORE_H

/* Small records and values shared by every part of the engine interface:
   log levels, the blob, the calendar time and the interface version.
   Usable from C and C++. */

#include <stddef.h>
#include <stdint.h>
#ifndef __cplusplus
#include <stdbool.h>
#endif

#ifdef __cplusplus
#define HV_STATIC_ASSERT(condition, message) static_assert(condition, message)
#else
#define HV_STATIC_ASSERT(condition, message) _Static_assert(condition, message)
#endif

/* The version of the engine interface this header describes: patch in the low
   byte, then minor, then major (15.30.00). */
#define HV_INTERFACE_VERSION 0x000F1E00u
#define HV_INTERFACE_VERSION_MAJOR(version) (((version) >> 16) & 0xFFu)
#define HV_INTERFACE_VERSION_MINOR(version) (((version) >> 8) & 0xFFu)
#define HV_INTERFACE_VERSION_PATCH(version) ((version)&0xFFu)

/* Log levels. A level above 7 is written as ERROR. The same values are known
   to the engine's lower layers, hence the shared guard. */
typedef int32_t HV_LogLevel;
#ifndef HV_LOG_LEVELS_DEFINED
#define HV_LOG_LEVELS_DEFINED
enum { HV_LOG_INFO = 0, HV_LOG_WARNING = 1, HV_LOG_ERROR = 2, HV_LOG_SYSTEM = 3 };
#endif

/* A byte block allocated and freed through the engine interface. HTTP
   requests hand back their headers and bodies in blobs. */
typedef struct HV_Blob {
    uint8_t* data;    /* the bytes, null for an empty blob */
    uint32_t flags;   /* free for the producer's use; 0 from AllocateBlob */
    int32_t size;     /* bytes held */
    int32_t capacity; /* bytes allocated, or for an HTTP response the announced Content-Length */
    uint32_t reserved;
} HV_Blob;

/* A local calendar time. */
typedef struct HV_DateTime {
    int32_t year;        /* e.g. 2026 */
    int32_t month;       /* 1 to 12 */
    int32_t day;         /* 1 to 31 */
    int32_t hour;        /* 0 to 23 */
    int32_t minute;      /* 0 to 59 */
    int32_t second;      /* 0 to 59 */
    int32_t millisecond; /* 0 to 999 */
    int32_t dayOfWeek;   /* 0 Sunday to 6 Saturday */
} HV_DateTime;

HV_STATIC_ASSERT(sizeof(HV_Blob) == 24, "HV_Blob is 24 bytes");
HV_STATIC_ASSERT(offsetof(HV_Blob, data) == 0, "HV_Blob.data");
HV_STATIC_ASSERT(offsetof(HV_Blob, flags) == 8, "HV_Blob.flags");
HV_STATIC_ASSERT(offsetof(HV_Blob, size) == 12, "HV_Blob.size");
HV_STATIC_ASSERT(offsetof(HV_Blob, capacity) == 16, "HV_Blob.capacity");
HV_STATIC_ASSERT(sizeof(HV_DateTime) == 32, "HV_DateTime is eight 32-bit fields");

#endif
