#pragma once

#include <cstdint>

#include "data/dm_array.h"
#include "data/dm_children.h"
#include "foundation/string.h"

// A named database: a list of arrays in document order. Not guarded by any
// lock of its own; whoever shares a database across threads guards it.
class DMDatabase {
public:
    explicit DMDatabase(const char* name);
    DMDatabase(const DMDatabase&) = delete;
    DMDatabase& operator=(const DMDatabase&) = delete;
    ~DMDatabase() = default;

    const char* GetName() const { return m_name.GetText(); }
    uint32_t GetNameHash() const { return m_nameHash; }

    DMArray* FindArray(const char* id) const { return m_arrays.Find(id); }
    DMArray* AddArray(const char* id) { return m_arrays.Add(this, id); }
    int GetArrayCount() const { return m_arrays.GetCount(); }
    DMArray* GetArray(int index) const { return m_arrays.Get(index); }
    void DeleteArrayAt(int index) { m_arrays.DeleteAt(index); }
    // Destroys every array.
    void Clear() { m_arrays.Clear(); }

private:
    String m_name;
    uint32_t m_nameHash;
    DMChildren<DMArray, DMDatabase> m_arrays;
};
