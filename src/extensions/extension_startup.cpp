#include "extensions/extension_startup.h"

#include "core/engine_state.h"
#include "core/features.h"
#include "core/logging.h"
#include "extensions/local/extension_module_local_fallbacks.h"
#include "extensions/module_libraries.h"
#include "extensions/module_loading.h"
#include "extensions/module_registry.h"
#include "extensions/service_kind_names.h"
#include "extensions/simulated/extension_module_simulated.h"

void HVI_InitializeExtensionModules()
{
    // Registration puts each module first: the simulated module is searched
    // first, then the libraries in reverse order, the local fallbacks last.
    HVI_RegisterExtensionModule(new ExtensionModuleLocalFallbacks);
    for (const ModuleLibrary& library : kModuleLibraries) {
        if (HV_HasFeature(library.feature)) HVI_LoadExtensionModule(library.fileName);
    }
    HVI_RegisterExtensionModule(new ExtensionModuleSimulated);

    HV_EngineInterface* engine = HVI_GetEngineState().engine;
    for (int i = 0; i < HVI_GetExtensionModuleCount(); ++i) {
        ExtensionModule* module = HVI_GetExtensionModule(i);
        HV_Log(HV_LOG_SYSTEM, "Initializing extension module '%s'...", module->GetName());
        if (!module->Initialize(engine))
            HV_Popup(HV_LOG_WARNING, "Failed to initialize extension '%s'", module->GetName());
    }

    HVI_ResolveImplementations();

    HV_Log(HV_LOG_SYSTEM, "Initializing resolved implementations inside extensions modules...");
    for (int i = 0; i < HVI_GetResolvedImplementationCount(); ++i) {
        BaseImplementation* implementation = HVI_GetResolvedImplementation(i);
        HV_Log(HV_LOG_SYSTEM, "Initializing %s implementation '%s'...",
               HVI_GetServiceKindName(implementation->GetKind()), implementation->GetName());
        implementation->Initialize();
    }

    NotificationImplementation* notifications = HVI_GetNotificationImplementation();
    if (notifications != nullptr && HV_HasFeature("REGISTER_FOR_LOCAL_NOTIFICATIONS_ON_LAUNCH"))
        notifications->RegisterForLocalNotifications();
}
