#ifndef HALVO_EVENTS_H
#define HALVO_EVENTS_H

/* The 64-byte event record posted into the engine's event queue and delivered
   once per frame to the program's OnEvent. Usable from C and C++. */

#include "halvo/core.h"

/* Event kinds. Kinds 18 to 38 carry blocks of the engine allocator that the
   engine frees after delivery. */
typedef enum HV_EventKind {
    HV_EVENT_NONE = 0,
    HV_EVENT_CHARACTER = 1,
    HV_EVENT_POINTER_MOVE = 2,
    HV_EVENT_MOUSE_WHEEL = 4,
    HV_EVENT_POINTER_BUTTON_UP = 5,
    HV_EVENT_POINTER_BUTTON_DOWN = 6,
    HV_EVENT_KEY_DOWN = 8,
    HV_EVENT_KEY_UP = 9,
    HV_EVENT_WINDOW_ACTIVATION = 10,
    HV_EVENT_VIDEO_REINITIALIZATION = 11,
    HV_EVENT_QUIT_REQUEST = 13,
    HV_EVENT_DROPPED_FILE = 21
    /* 19 leaderboard result, 37 social login and 38 friends list belong to the
       online services (halvo/services.h). */
} HV_EventKind;

/* The largest event kind the queue accepts. */
#define HV_EVENT_KIND_LIMIT 64

/* What OnEvent answers to a quit request to keep the program running. */
#define HV_EVENT_RESULT_KEEP_RUNNING 2

/* Kind 1: a typed character. */
typedef struct HV_CharacterEvent {
    uint32_t kind;
    uint32_t character; /* Unicode code point */
} HV_CharacterEvent;

/* Kinds 2, 4, 5 and 6: a pointer (mouse or touch). */
typedef struct HV_PointerEvent {
    uint32_t kind;
    int32_t pointer; /* 0 for the mouse */
    float x;
    float y;
    int32_t button; /* key code of the button, 0 for a move */
    float wheel;    /* wheel steps for kind 4 */
} HV_PointerEvent;

/* Kinds 8 and 9: a key or control changed state. */
typedef struct HV_KeyEvent {
    uint32_t kind;
    int32_t key;    /* key code 1 to 2047 */
    uint32_t flags; /* the key's flags after the change */
    float value;    /* the key's value after the change */
} HV_KeyEvent;

/* Kind 10: the main window became active or inactive. */
typedef struct HV_ActivationEvent {
    uint32_t kind;
    uint32_t active; /* 1 active, 0 inactive */
} HV_ActivationEvent;

/* Kind 11: new video parameters were requested; they are applied at the
   start of the next frame. Also sent once during pre-initialisation with the
   parameters the engine is about to use, so that the program can check (and
   change) the video parameters of its program block. */
typedef struct HV_VideoEvent {
    uint32_t kind;
    int32_t width;
    int32_t height;
    int32_t displayIndex;
    uint8_t windowed;
    uint8_t reserved[3];
} HV_VideoEvent;

/* Kind 21: a file was dropped on the window; path is an engine-allocated
   block freed after delivery. */
typedef struct HV_DroppedFileEvent {
    uint32_t kind;
    uint32_t reserved;
    char* path;
} HV_DroppedFileEvent;

/* One event: the kind first, then the payload of that kind. The rest of the
   64 bytes is zero. */
typedef union HV_Event {
    uint32_t kind;
    HV_CharacterEvent character;
    HV_PointerEvent pointer;
    HV_KeyEvent key;
    HV_ActivationEvent activation;
    HV_VideoEvent video;
    HV_DroppedFileEvent droppedFile;
    uint8_t bytes[64];
    uint64_t alignment[8];
} HV_Event;

HV_STATIC_ASSERT(sizeof(HV_Event) == 64, "HV_Event is 64 bytes");
HV_STATIC_ASSERT(offsetof(HV_Event, kind) == 0, "the kind comes first");
HV_STATIC_ASSERT(offsetof(HV_DroppedFileEvent, path) == 8, "HV_DroppedFileEvent.path");

#endif
