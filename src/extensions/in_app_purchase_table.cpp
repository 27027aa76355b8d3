#include "extensions/module_registry.h"
#include "extensions/service_tables.h"

namespace {

// Every operation forwards only to an implementation that says it is available.
InAppPurchaseImplementation* GetAvailableImplementation()
{
    InAppPurchaseImplementation* implementation = HVI_GetInAppPurchaseImplementation();
    return implementation != nullptr && implementation->IsAvailable() ? implementation : nullptr;
}

bool HV_InAppPurchase_IsAvailable() { return GetAvailableImplementation() != nullptr; }

void HV_InAppPurchase_PurchaseItem(const char* itemId)
{
    if (InAppPurchaseImplementation* implementation = GetAvailableImplementation())
        implementation->PurchaseItem(itemId);
}

void HV_InAppPurchase_RequestItemData(const char* itemId)
{
    if (InAppPurchaseImplementation* implementation = GetAvailableImplementation())
        implementation->RequestItemData(itemId);
}

void HV_InAppPurchase_RestorePurchases()
{
    if (InAppPurchaseImplementation* implementation = GetAvailableImplementation()) implementation->RestorePurchases();
}

bool HV_InAppPurchase_ShowPurchaseProgress()
{
    InAppPurchaseImplementation* implementation = GetAvailableImplementation();
    return implementation != nullptr && implementation->ShowPurchaseProgress();
}

HV_InAppPurchaseInterface g_table = {
    HV_InAppPurchase_IsAvailable,      HV_InAppPurchase_PurchaseItem,         HV_InAppPurchase_RequestItemData,
    HV_InAppPurchase_RestorePurchases, HV_InAppPurchase_ShowPurchaseProgress,
};

}  // namespace

HV_InAppPurchaseInterface* HVI_GetInAppPurchaseInterface() { return &g_table; }
