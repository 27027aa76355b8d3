#include "extensions/local/extension_module_local_fallbacks.h"

#include "core/features.h"
#include "extensions/local/in_app_purchase_fallback.h"
#include "extensions/local/local_leaderboards_implementation.h"

bool ExtensionModuleLocalFallbacks::Initialize(HV_EngineInterface*)
{
    if (HV_HasFeature("IN_APP_PURCHASES")) m_inAppPurchase = new InAppPurchaseImplementationFallback;
    if (!HV_HasFeature("LOCAL_LEADERBOARDS")) return true;
    m_leaderboards = new LocalLeaderboardsImplementation(new LocalLeaderboardStore);
    return true;
}
