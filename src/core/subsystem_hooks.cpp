#include "core/subsystem_hooks.h"

#include "core/logging.h"

namespace {

// Registered on the main thread before pre-initialisation; read afterwards.
HVI_SubsystemHooks g_hooks[HVI_SUBSYSTEM_ROLE_COUNT] = {};

}  // namespace

void HVI_RegisterSubsystem(HVI_SubsystemRole role, const HVI_SubsystemHooks& hooks)
{
    if (role < 0 || role >= HVI_SUBSYSTEM_ROLE_COUNT) {
        HV_Log(HV_LOG_ERROR, "HVI_RegisterSubsystem: invalid role %d.", static_cast<int>(role));
        return;
    }
    g_hooks[role] = hooks;
}

const HVI_SubsystemHooks& HVI_GetSubsystemHooks(HVI_SubsystemRole role)
{
    static const HVI_SubsystemHooks none = {};
    return role >= 0 && role < HVI_SUBSYSTEM_ROLE_COUNT ? g_hooks[role] : none;
}

void HVI_ResetSubsystems()
{
    for (HVI_SubsystemHooks& hooks : g_hooks) {
        hooks = HVI_SubsystemHooks{};
    }
}
