#pragma once

#include "halvo/extensions.h"

// The shape the two built-in modules share: one reference per kind a built-in
// module can offer (cloud, in-app purchase, leaderboards, social), null until
// Initialize creates the implementation. The module owns what they point to.
class BuiltInExtensionModule : public ExtensionModule {
public:
    ~BuiltInExtensionModule() override { ReleaseImplementations(); }

    void ReleaseImplementations() override;
    void Update(float) override {}
    BaseImplementation* GetImplementation(HV_ServiceKind kind) override;

protected:
    CloudImplementation* m_cloud = nullptr;
    InAppPurchaseImplementation* m_inAppPurchase = nullptr;
    LeaderboardsImplementation* m_leaderboards = nullptr;
    SocialImplementation* m_social = nullptr;
};
