#include "data/dm_record.h"

#include <cstring>

#include "data/data_messages.h"
#include "foundation/engine_log.h"

const char* DMRecord::GetValue(const char* key) const
{
    if (key != nullptr && std::strcmp(key, kIdKey) == 0) return GetId();
    return m_pairs.GetValue(key);
}

void DMRecord::SetValueOf(const char* operation, const char* key, const char* value)
{
    if (key == nullptr) {
        HVI_Log(HV_LOG_ERROR, kMessageNullKey, operation);
        return;
    }
    if (std::strcmp(key, kIdKey) == 0)
        SetId(value);
    else
        m_pairs.SetValue(key, value);
}
