#include "extensions/built_in_module.h"

void BuiltInExtensionModule::ReleaseImplementations()
{
    delete m_cloud;
    delete m_inAppPurchase;
    delete m_leaderboards;
    delete m_social;
    m_cloud = nullptr;
    m_inAppPurchase = nullptr;
    m_leaderboards = nullptr;
    m_social = nullptr;
}

BaseImplementation* BuiltInExtensionModule::GetImplementation(HV_ServiceKind kind)
{
    switch (kind) {
    case HV_SERVICE_CLOUD: return m_cloud;
    case HV_SERVICE_LEADERBOARDS: return m_leaderboards;
    case HV_SERVICE_IAP: return m_inAppPurchase;
    case HV_SERVICE_SOCIAL: return m_social;
    default: return nullptr;
    }
}
