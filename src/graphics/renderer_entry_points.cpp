#include "graphics/renderer_entry_points.h"

#include <windows.h>

#include "core/logging.h"
#include "graphics/renderer_messages.h"

HVI_RendererEntryPoints HVI_FindRendererEntryPoints()
{
    HMODULE executable = GetModuleHandleA(nullptr);
    HVI_RendererEntryPoints entry;
    entry.getInterface =
        reinterpret_cast<RendererImplementation* (*)()>(GetProcAddress(executable, kRendImpGetInterfaceName));
    entry.unload = reinterpret_cast<void (*)()>(GetProcAddress(executable, kRendImpUnloadName));
    if ((entry.getInterface == nullptr) != (entry.unload == nullptr)) {
        // A back end that cannot be unloaded (or reached) is not used.
        HV_Log(HV_LOG_ERROR, kRendererEntryPointMissing,
               entry.getInterface == nullptr ? kRendImpGetInterfaceName : kRendImpUnloadName);
        return {};
    }
    return entry;
}
