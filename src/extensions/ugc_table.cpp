#include "extensions/module_registry.h"
#include "extensions/service_tables.h"

namespace {

bool HV_UGC_IsAvailable()
{
    UGCImplementation* implementation = HVI_GetUGCImplementation();
    return implementation != nullptr && implementation->IsAvailable();
}

void HV_UGC_Query()
{
    if (UGCImplementation* implementation = HVI_GetUGCImplementation()) implementation->Query();
}

// Without an implementation there is nothing to wait for.
bool HV_UGC_QueryFinished()
{
    UGCImplementation* implementation = HVI_GetUGCImplementation();
    return implementation == nullptr || implementation->QueryFinished();
}

int32_t HV_UGC_QueryResultCount()
{
    UGCImplementation* implementation = HVI_GetUGCImplementation();
    return implementation != nullptr ? implementation->QueryResultCount() : 0;
}

void* HV_UGC_QueryResultItem(int32_t index)
{
    UGCImplementation* implementation = HVI_GetUGCImplementation();
    return implementation != nullptr ? implementation->QueryResultItem(index) : nullptr;
}

void HV_UGC_Subscribe(const char* item)
{
    if (UGCImplementation* implementation = HVI_GetUGCImplementation()) implementation->Subscribe(item);
}

void HV_UGC_Unsubscribe(const char* item)
{
    if (UGCImplementation* implementation = HVI_GetUGCImplementation()) implementation->Unsubscribe(item);
}

uint64_t HV_UGC_UploadItem(const char* item)
{
    UGCImplementation* implementation = HVI_GetUGCImplementation();
    return implementation != nullptr ? implementation->UploadItem(item) : 0;
}

void HV_UGC_WaitForUploads()
{
    if (UGCImplementation* implementation = HVI_GetUGCImplementation()) implementation->WaitForUploads();
}

HV_UGCInterface g_table = {
    HV_UGC_IsAvailable, HV_UGC_Query,       HV_UGC_QueryFinished, HV_UGC_QueryResultCount, HV_UGC_QueryResultItem,
    HV_UGC_Subscribe,   HV_UGC_Unsubscribe, HV_UGC_UploadItem,    HV_UGC_WaitForUploads,
};

}  // namespace

HV_UGCInterface* HVI_GetUGCInterface() { return &g_table; }
