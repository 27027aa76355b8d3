#ifndef HALVO_PROGRAM_H
#define HALVO_PROGRAM_H

/* The program block: what the game program tells the engine about itself
   (identity, video parameters, callbacks) and where the engine hands it the
   engine interface. Usable from C and C++. */

#include "halvo/events.h"

struct HV_EngineInterface;

/* The program block's video parameters. A copy of this block, changed, is
   what HV_EngineInterface.ReinitializeWithParameters takes. */
typedef struct HV_VideoParameters {
    int32_t width;        /* client width in pixels */
    int32_t height;       /* client height in pixels */
    uint8_t windowed;     /* 1 windowed, 0 fullscreen */
    uint8_t noSound;      /* 1: no sound back end, channel operations do nothing */
    uint8_t multiPointer; /* 1: touch pointers are reported one by one */
    uint8_t reserved0;
    int32_t frameTimeMs; /* paced frame time in milliseconds, 0 unpaced */
    uint8_t consoleVisible;
    uint8_t developerMode;
    uint8_t reserved1[6];
    const char* commandLine; /* the process command line, owned by the engine */
    char locale[72];         /* e.g. "en_US" */
    uint8_t quitRequested;   /* set by the engine when the program should end */
    uint8_t reserved2[3];
    int32_t referenceWidth; /* reference resolution for auto-scaling, 0 for none */
    int32_t referenceHeight;
    int32_t displayIndex; /* the display (output) to use, 0 for the first */
} HV_VideoParameters;

/* The five callbacks. */
typedef bool (*HV_InitFunction)(void);
typedef void (*HV_DeinitFunction)(void);
typedef void (*HV_UpdateFunction)(float step);
typedef void (*HV_DrawFunction)(float step);
typedef int32_t (*HV_OnEventFunction)(HV_Event* event);

/* The 416-byte program block. */
typedef struct HV_ProgramInterface {
    uint32_t interfaceVersion; /* patch, minor and major bytes (HV_INTERFACE_VERSION) */
    char programId[32];
    char title[128];
    char version[16];
    char developer[68];
    struct HV_EngineInterface* hv; /* written by the engine before any callback */
    HV_VideoParameters video;
    HV_InitFunction Init;       /* first frame; false is reported and frames go on */
    HV_DeinitFunction Deinit;   /* at shutdown */
    HV_UpdateFunction Update;   /* each frame whose step is above 0 */
    HV_DrawFunction Draw;       /* each frame the renderer can draw */
    HV_OnEventFunction OnEvent; /* every queued event; 2 refuses a quit request */
} HV_ProgramInterface;

/* The program library's entry points: the engine offers a zeroed block and its
   interface version; the older form returns a block of its own. */
typedef bool (*HV_GetProgramInterfaceFunction)(HV_ProgramInterface* program, uint32_t engineVersion);
typedef HV_ProgramInterface* (*HV_GetInterfaceFunction)(void);

/* Marks a function a library exports to the engine. */
#ifdef __cplusplus
#define HV_EXTERN_C extern "C"
#else
#define HV_EXTERN_C
#endif
#if defined(_WIN32)
#define HV_EXPORT HV_EXTERN_C __declspec(dllexport)
#else
#define HV_EXPORT HV_EXTERN_C __attribute__((visibility("default")))
#endif

HV_STATIC_ASSERT(sizeof(HV_VideoParameters) == 120, "the video parameters are 120 bytes");
HV_STATIC_ASSERT(sizeof(HV_ProgramInterface) == 416, "HV_ProgramInterface is 416 bytes");
HV_STATIC_ASSERT(offsetof(HV_ProgramInterface, programId) == 4, "programId");
HV_STATIC_ASSERT(offsetof(HV_ProgramInterface, title) == 36, "title");
HV_STATIC_ASSERT(offsetof(HV_ProgramInterface, version) == 164, "version");
HV_STATIC_ASSERT(offsetof(HV_ProgramInterface, developer) == 180, "developer");
HV_STATIC_ASSERT(offsetof(HV_ProgramInterface, hv) == 248, "hv");
HV_STATIC_ASSERT(offsetof(HV_ProgramInterface, video) == 256, "video");
HV_STATIC_ASSERT(offsetof(HV_ProgramInterface, video.width) == 256, "width");
HV_STATIC_ASSERT(offsetof(HV_ProgramInterface, video.height) == 260, "height");
HV_STATIC_ASSERT(offsetof(HV_ProgramInterface, video.windowed) == 264, "windowed");
HV_STATIC_ASSERT(offsetof(HV_ProgramInterface, video.noSound) == 265, "noSound");
HV_STATIC_ASSERT(offsetof(HV_ProgramInterface, video.multiPointer) == 266, "multiPointer");
HV_STATIC_ASSERT(offsetof(HV_ProgramInterface, video.frameTimeMs) == 268, "frameTimeMs");
HV_STATIC_ASSERT(offsetof(HV_ProgramInterface, video.consoleVisible) == 272, "consoleVisible");
HV_STATIC_ASSERT(offsetof(HV_ProgramInterface, video.developerMode) == 273, "developerMode");
HV_STATIC_ASSERT(offsetof(HV_ProgramInterface, video.commandLine) == 280, "commandLine");
HV_STATIC_ASSERT(offsetof(HV_ProgramInterface, video.locale) == 288, "locale");
HV_STATIC_ASSERT(offsetof(HV_ProgramInterface, video.quitRequested) == 360, "quitRequested");
HV_STATIC_ASSERT(offsetof(HV_ProgramInterface, video.referenceWidth) == 364, "referenceWidth");
HV_STATIC_ASSERT(offsetof(HV_ProgramInterface, video.referenceHeight) == 368, "referenceHeight");
HV_STATIC_ASSERT(offsetof(HV_ProgramInterface, video.displayIndex) == 372, "displayIndex");
HV_STATIC_ASSERT(offsetof(HV_ProgramInterface, Init) == 376, "Init");
HV_STATIC_ASSERT(offsetof(HV_ProgramInterface, Deinit) == 384, "Deinit");
HV_STATIC_ASSERT(offsetof(HV_ProgramInterface, Update) == 392, "Update");
HV_STATIC_ASSERT(offsetof(HV_ProgramInterface, Draw) == 400, "Draw");
HV_STATIC_ASSERT(offsetof(HV_ProgramInterface, OnEvent) == 408, "OnEvent");

#endif
