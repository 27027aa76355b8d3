#pragma once

#include <cstring>

#include "foundation/array.h"
#include "foundation/string.h"

// A string-keyed map in insertion order: an array of owned entries searched
// with a full string comparison from the first entry on.
template <class T>
class StringMap {
public:
    struct Entry {
        String key;
        T value{};
    };

    StringMap() = default;
    StringMap(const StringMap&) = delete;
    StringMap& operator=(const StringMap&) = delete;
    ~StringMap()
    {
        for (Entry* entry : m_entries) delete entry;
    }

    // The value slot of the key, appending an entry with a zero value when
    // missing. A null key stands for the empty one, so it is added only once.
    T& GetOrAdd(const char* key)
    {
        if (key == nullptr) key = "";
        if (Entry* entry = Find(key)) return entry->value;
        Entry* entry = new Entry;
        entry->key.Assign(key);
        m_entries.Add(entry);
        return entry->value;
    }

    bool Contains(const char* key) const { return key != nullptr && IndexOf(key) >= 0; }

    Entry* Find(const char* key)
    {
        const int index = key ? IndexOf(key) : -1;
        return index >= 0 ? m_entries[index] : nullptr;
    }
    const Entry* Find(const char* key) const { return const_cast<StringMap*>(this)->Find(key); }

    void DeleteAt(int index)
    {
        if (index < 0 || index >= m_entries.GetCount()) return;
        delete m_entries[index];
        m_entries.DeleteAt(index);
    }

    int GetCount() const { return m_entries.GetCount(); }
    Entry& GetEntry(int index) { return *m_entries[index]; }
    const Entry& GetEntry(int index) const { return *m_entries[index]; }

private:
    int IndexOf(const char* key) const
    {
        for (int i = 0; i < m_entries.GetCount(); ++i) {
            if (std::strcmp(m_entries[i]->key.GetText(), key) == 0) return i;
        }
        return -1;
    }

    Array<Entry*> m_entries;
};
