#pragma once

#include "halvo/extensions.h"

// Accepts every in-app purchase call and does nothing, so that a game runs
// without a store module.
class InAppPurchaseImplementationFallback : public InAppPurchaseImplementation {
public:
    const char* GetName() override { return "Fallback"; }
    void RequestItemData(const char*) override {}
    void PurchaseItem(const char*) override {}
    void RestorePurchases() override {}
    bool ShowPurchaseProgress() override { return false; }
};
