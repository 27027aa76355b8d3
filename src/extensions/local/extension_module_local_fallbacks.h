#pragma once

#include "extensions/built_in_module.h"

// The built-in module searched last: local leaderboards (feature
// "LOCAL_LEADERBOARDS") and an in-app purchase stand-by ("IN_APP_PURCHASES").
class ExtensionModuleLocalFallbacks : public BuiltInExtensionModule {
public:
    const char* GetName() override { return "Local Fallbacks"; }
    bool Initialize(HV_EngineInterface* engine) override;
};
