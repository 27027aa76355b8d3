#pragma once

// The renderer back end that the executable exports. The engine looks the two
// entry points up by name in its own module, so that a build without a back
// end (engine tests) runs the null renderer instead.

#include "graphics/renderer_implementation.h"

// What a back end defines, exported from the executable (HV_EXPORT):
// the first call creates the one back end, every call returns it;
extern "C" RendererImplementation* HALVO_RendImp_GetInterface();
// destroys it if there is one; the next HALVO_RendImp_GetInterface makes a new one.
extern "C" void HALVO_RendImp_Unload();

constexpr const char* kRendImpGetInterfaceName = "HALVO_RendImp_GetInterface";
constexpr const char* kRendImpUnloadName = "HALVO_RendImp_Unload";

struct HVI_RendererEntryPoints {
    RendererImplementation* (*getInterface)() = nullptr;
    void (*unload)() = nullptr;
};

// The executable's entry points; both null unless it exports both.
HVI_RendererEntryPoints HVI_FindRendererEntryPoints();
