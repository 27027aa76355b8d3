#ifndef HALVO_ENGINE_H
#define HALVO_ENGINE_H

/* The engine interface (called hv in messages): 33 core operations, then the
   13 area tables. The program reaches the engine only through it.
   Usable from C and C++. */

#include "halvo/program.h"
#include "halvo/threading.h"

/* The area tables; each area's own header completes its type. */
struct HV_AchievementsInterface;
struct HV_AudioInterface;
struct HV_CloudInterface;
struct HV_DrawInterface;
struct HV_FileSystemInterface;
struct HV_GraphicsInterface;
struct HV_InAppPurchaseInterface;
struct HV_LeaderboardsInterface;
struct HV_NotificationsInterface;
struct HV_SocialInterface;
struct HV_StatisticsInterface;
struct HV_UGCInterface;

typedef struct HV_EngineInterface {
    /* Logging: a trace line at INFO; a line at a level; a line the user should see. */
    void (*Print)(const char* format, ...);
    void (*Log)(HV_LogLevel level, const char* format, ...);
    void (*Popup)(HV_LogLevel level, const char* format, ...);
    /* Adds a word to the console's auto-completion. */
    void (*AddConsoleAutoCompletion)(const char* word);
    /* Milliseconds and nanoseconds since the engine started. */
    uint32_t (*GetTimeMs)(void);
    uint64_t (*GetTimeNs)(void);
    /* Calendar time in seconds since 1970, and the local date and time. */
    int64_t (*GetTimestamp)(void);
    HV_DateTime (*GetLocalTime)(void);
    /* Mouse cursor by name, and its visibility. */
    bool (*SetMouseCursor)(const char* name);
    void (*ShowMouseCursor)(bool show);
    /* Asks the engine to end after the current frame, and whether it was asked. */
    void (*Shutdown)(void);
    bool (*IsShuttingDown)(void);
    /* Whether a feature word is set in one of the three feature lists. */
    bool (*HasFeature)(const char* word);
    /* A prog.xml parameter of the program's settings, and changing one. */
    const char* (*GetProgramSetting)(const char* key);
    bool (*SetProgramSetting)(const char* key, const char* value);
    /* Re-initialises window and renderer with new video parameters at the start of the next frame. */
    bool (*ReinitializeWithParameters)(const HV_VideoParameters* parameters);
    /* A string-keyed request with one text argument; the answer text or null. */
    const char* (*ExtensionCommand)(const char* command, const char* argument);
    /* Frees a null-terminated list of texts handed out by the engine. */
    void (*FreeStringList)(char** list);
    /* HTTP requests: the status code, and the headers and body in blobs the caller frees. */
    int32_t (*HttpRequest)(const char* method, const char* url, const char* headers, const HV_Blob* body,
                           HV_Blob** responseHeaders, HV_Blob** responseBody);
    int32_t (*HttpRequestToFile)(const char* method, const char* url, const char* headers, const HV_Blob* body,
                                 const char* path);
    /* Blobs of the engine allocator. */
    HV_Blob* (*AllocateBlob)(int32_t size);
    void (*FreeBlob)(HV_Blob* blob);
    /* The compressed-buffer container ("qzmc", sizes, zlib stream). */
    HV_Blob* (*CompressBuffer)(const void* data, int32_t size);
    HV_Blob* (*DecompressBuffer)(const void* data, int32_t size);
    /* The engine allocator (the C allocator). */
    void* (*Malloc)(size_t size);
    void* (*Realloc)(void* block, size_t size);
    void (*Free)(void* block);
    /* Queues a copy of the event for the main thread; prepares an event record. */
    bool (*PostEvent)(const HV_Event* event);
    void (*InitializeEvent)(HV_Event* event, uint32_t kind);
    /* Key and control states by key code (1 to 2047). */
    uint32_t (*GetKeyFlags)(int32_t key);
    void (*SetKeyFlags)(int32_t key, uint32_t flags);
    float (*GetKeyValue)(int32_t key);
    /* Whether developer.xml switched developer mode on. */
    bool (*IsDeveloperMode)(void);

    /* The area tables. */
    struct HV_AchievementsInterface* achievements;
    struct HV_AudioInterface* audio;
    struct HV_CloudInterface* cloud;
    struct HV_DrawInterface* draw;
    struct HV_FileSystemInterface* filesystem;
    struct HV_GraphicsInterface* graphics;
    struct HV_InAppPurchaseInterface* iap;
    struct HV_LeaderboardsInterface* leaderboards;
    struct HV_NotificationsInterface* notifications;
    struct HV_SocialInterface* social;
    struct HV_StatisticsInterface* statistics;
    HV_ThreadingInterface* threading;
    struct HV_UGCInterface* ugc;
} HV_EngineInterface;

#define HV_ENGINE_OPERATION_COUNT 33
#define HV_ENGINE_TABLE_COUNT 13
HV_STATIC_ASSERT(sizeof(HV_EngineInterface) == (HV_ENGINE_OPERATION_COUNT + HV_ENGINE_TABLE_COUNT) * sizeof(void*),
                 "33 operations and 13 tables");
HV_STATIC_ASSERT(offsetof(HV_EngineInterface, Print) == 0, "Print is the first operation");
HV_STATIC_ASSERT(offsetof(HV_EngineInterface, IsDeveloperMode) == (HV_ENGINE_OPERATION_COUNT - 1) * sizeof(void*),
                 "IsDeveloperMode is the last operation");
/* The tables, one slot each, in this order. */
#define HV_ENGINE_TABLE_OFFSET(index) ((HV_ENGINE_OPERATION_COUNT + (index)) * sizeof(void*))
HV_STATIC_ASSERT(offsetof(HV_EngineInterface, achievements) == HV_ENGINE_TABLE_OFFSET(0), "achievements");
HV_STATIC_ASSERT(offsetof(HV_EngineInterface, audio) == HV_ENGINE_TABLE_OFFSET(1), "audio");
HV_STATIC_ASSERT(offsetof(HV_EngineInterface, cloud) == HV_ENGINE_TABLE_OFFSET(2), "cloud");
HV_STATIC_ASSERT(offsetof(HV_EngineInterface, draw) == HV_ENGINE_TABLE_OFFSET(3), "draw");
HV_STATIC_ASSERT(offsetof(HV_EngineInterface, filesystem) == HV_ENGINE_TABLE_OFFSET(4), "filesystem");
HV_STATIC_ASSERT(offsetof(HV_EngineInterface, graphics) == HV_ENGINE_TABLE_OFFSET(5), "graphics");
HV_STATIC_ASSERT(offsetof(HV_EngineInterface, iap) == HV_ENGINE_TABLE_OFFSET(6), "iap");
HV_STATIC_ASSERT(offsetof(HV_EngineInterface, leaderboards) == HV_ENGINE_TABLE_OFFSET(7), "leaderboards");
HV_STATIC_ASSERT(offsetof(HV_EngineInterface, notifications) == HV_ENGINE_TABLE_OFFSET(8), "notifications");
HV_STATIC_ASSERT(offsetof(HV_EngineInterface, social) == HV_ENGINE_TABLE_OFFSET(9), "social");
HV_STATIC_ASSERT(offsetof(HV_EngineInterface, statistics) == HV_ENGINE_TABLE_OFFSET(10), "statistics");
HV_STATIC_ASSERT(offsetof(HV_EngineInterface, threading) == HV_ENGINE_TABLE_OFFSET(11), "threading");
HV_STATIC_ASSERT(offsetof(HV_EngineInterface, ugc) == HV_ENGINE_TABLE_OFFSET(12), "ugc is the last table");
#undef HV_ENGINE_TABLE_OFFSET

#endif
