#include "data/dm_pairs.h"

#include <cstring>

#include "foundation/text.h"

int DMPairList::IndexOf(const char* key) const
{
    const uint32_t hash = HVI_HashName(key);
    for (int i = 0; i < m_pairs.GetCount(); ++i) {
        const DMPair& pair = m_pairs[i];
        if (pair.keyHash == hash && std::strcmp(pair.key.GetText(), key) == 0)
            return i;
    }
    return -1;
}

const char* DMPairList::GetValue(const char* key) const
{
    const int index = key ? IndexOf(key) : -1;
    return index >= 0 ? m_pairs[index].value.GetText() : nullptr;
}

void DMPairList::SetValue(const char* key, const char* value)
{
    const int index = IndexOf(key);
    if (index >= 0) {
        m_pairs[index].value.Assign(value);
        return;
    }
    DMPair pair;
    pair.key.Assign(key);
    pair.value.Assign(value);
    pair.keyHash = HVI_HashName(key);
    m_pairs.Add(std::move(pair));
}
