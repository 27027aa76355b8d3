#include "data/dm_database.h"

#include "foundation/text.h"

DMDatabase::DMDatabase(const char* name) : m_name(name), m_nameHash(HVI_HashName(name)) {}

DMArray* DMDatabase::FindArray(const char* id) const
{
    if (id == nullptr) return nullptr;
    const uint32_t hash = HVI_HashName(id);
    for (const std::unique_ptr<DMArray>& array : m_arrays) {
        if (array->HasId(id, hash)) return array.get();
    }
    return nullptr;
}

DMArray* DMDatabase::AddArray(const char* id)
{
    auto array = std::make_unique<DMArray>(this);
    array->SetId(id);
    DMArray* added = array.get();
    m_arrays.Add(std::move(array));
    return added;
}

DMArray* DMDatabase::GetArray(int index) const
{
    return index >= 0 && index < m_arrays.GetCount() ? m_arrays[index].get() : nullptr;
}
