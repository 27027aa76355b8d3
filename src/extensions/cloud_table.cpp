#include "extensions/module_registry.h"
#include "extensions/service_tables.h"

namespace {

bool HV_Cloud_IsAvailable() { return HVI_GetCloudImplementation() != nullptr; }

void HV_Cloud_PutData(const char* key, const void* data, uint32_t size)
{
    if (CloudImplementation* implementation = HVI_GetCloudImplementation()) implementation->PutData(key, data, size);
}

HV_Blob* HV_Cloud_ReadData(const char* key)
{
    CloudImplementation* implementation = HVI_GetCloudImplementation();
    return implementation != nullptr ? implementation->ReadData(key) : nullptr;
}

void HV_Cloud_RemoveData(const char* key)
{
    if (CloudImplementation* implementation = HVI_GetCloudImplementation()) implementation->RemoveData(key);
}

HV_CloudInterface g_table = {
    HV_Cloud_IsAvailable,
    HV_Cloud_PutData,
    HV_Cloud_ReadData,
    HV_Cloud_RemoveData,
};

}  // namespace

HV_CloudInterface* HVI_GetCloudInterface() { return &g_table; }
