#pragma once

#include <cstdint>
#include <memory>

#include "data/dm_array.h"
#include "foundation/array.h"
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

    // The first array with exactly that id; null for a null id.
    DMArray* FindArray(const char* id) const;
    // Appends a new array with that id and this database as its owner.
    DMArray* AddArray(const char* id);
    int GetArrayCount() const { return m_arrays.GetCount(); }
    // Null when the index is out of range.
    DMArray* GetArray(int index) const;
    void DeleteArrayAt(int index) { m_arrays.DeleteAt(index); }
    // Destroys every array.
    void Clear() { m_arrays.Clear(); }

private:
    String m_name;
    uint32_t m_nameHash;
    Array<std::unique_ptr<DMArray>> m_arrays;
};
