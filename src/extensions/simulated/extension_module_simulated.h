#pragma once

#include "extensions/built_in_module.h"

// The built-in development module, searched first: a cloud store in a local
// file ("SIMULATED_CLOUD"), generated leaderboards ("SIMULATED_LEADERBOARDS")
// and a social network with built-in friends ("SIMULATED_SOCIAL").
class ExtensionModuleSimulated : public BuiltInExtensionModule {
public:
    const char* GetName() override { return "Simulation"; }
    bool Initialize(HV_EngineInterface* engine) override;
    // "GetPlayerOnlineID" answers "SimulatedPlayer" while the simulated
    // leaderboards exist.
    const char* ExecuteCommand(const char* command, const char* argument) override;

private:
    bool m_leaderboardsCreated = false;
};
