#include "extensions/module_loading.h"

#include <windows.h>

#include <cstdio>

#include "core/logging.h"
#include "extensions/module_registry.h"
#include "filesystem/scheme_roots.h"

namespace {

constexpr const char* kEntryPointName = "HV_GetExtensionModuleInterface";
constexpr int kRequiredInterfaceVersion = 1;

void ReportNoInterface(const char* fileName)
{
    HV_Popup(HV_LOG_WARNING, "Unable to load module '%s' interface.", fileName);
}

}  // namespace

void HVI_LoadExtensionModule(const char* fileName)
{
    HV_Print("Registering module from file '%s'", fileName);
    char path[512];
    std::snprintf(path, sizeof path, "res://%s", fileName);
    const String nativePath = HV_ConvertStaticPathToNativeOSPath(path);

    HMODULE library = LoadLibraryA(nativePath.GetText());
    if (library == nullptr) {
        HV_Popup(HV_LOG_WARNING, "Unable to load module '%s'.", fileName);
        ReportNoInterface(fileName);
        return;
    }
    // Through the generic function type, as every looked-up export is typed by its caller.
    const auto entryPoint = reinterpret_cast<HV_GetExtensionModuleInterfaceFunction>(
        reinterpret_cast<void (*)()>(GetProcAddress(library, kEntryPointName)));
    if (entryPoint == nullptr) {
        HV_Popup(HV_LOG_WARNING, "Unable to get module '%s' interface '%s'.", fileName, kEntryPointName);
        FreeLibrary(library);
        ReportNoInterface(fileName);
        return;
    }
    ExtensionModule* module = entryPoint();
    if (module == nullptr) {
        HV_Popup(HV_LOG_WARNING, "Call to module '%s' interface '%s' returned null.", fileName, kEntryPointName);
        FreeLibrary(library);
        ReportNoInterface(fileName);
        return;
    }
    const int32_t version = module->GetInterfaceVersion();
    if (version != kRequiredInterfaceVersion) {
        // The library stays loaded: the module's code may still be running.
        HV_Popup(HV_LOG_WARNING, "Module '%s' interface version mismatch. (%d != %d)", fileName, version,
                 kRequiredInterfaceVersion);
        return;
    }
    HVI_RegisterExtensionModule(module);
}
