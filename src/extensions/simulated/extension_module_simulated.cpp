#include "extensions/simulated/extension_module_simulated.h"

#include <cstring>

#include "core/features.h"
#include "extensions/simulated/simulated_cloud_implementation.h"
#include "extensions/simulated/simulated_leaderboards_implementation.h"
#include "extensions/simulated/simulated_social_implementation.h"

bool ExtensionModuleSimulated::Initialize(HV_EngineInterface*)
{
    if (HV_HasFeature("SIMULATED_CLOUD")) m_cloud = new SimulatedCloudImplementation;
    if (HV_HasFeature("SIMULATED_LEADERBOARDS")) {
        m_leaderboards = new SimulatedLeaderboardsImplementation;
        m_leaderboardsCreated = true;
    }
    if (HV_HasFeature("SIMULATED_SOCIAL")) m_social = new SimulatedSocialImplementation;
    return true;
}

const char* ExtensionModuleSimulated::ExecuteCommand(const char* command, const char*)
{
    if (m_leaderboardsCreated && command != nullptr && std::strcmp(command, "GetPlayerOnlineID") == 0)
        return "SimulatedPlayer";
    return nullptr;
}
