#pragma once

#include <cstdint>

#include "foundation/array.h"
#include "foundation/string.h"

// One key/value pair of a node or of an array's attributes. The key's name
// hash is kept so that lookups compare hashes before texts.
struct DMPair {
    String key;
    String value;
    uint32_t keyHash = 0;
};

// The pairs of one record in the order they were first set.
class DMPairList {
public:
    // The value text of the key, or null when the key is missing.
    const char* GetValue(const char* key) const;
    // Replaces the value of an existing key or appends the pair; a null value
    // is stored as the empty text.
    void SetValue(const char* key, const char* value);

    int GetCount() const { return m_pairs.GetCount(); }
    const DMPair& GetPair(int index) const { return m_pairs[index]; }

private:
    int IndexOf(const char* key) const;

    Array<DMPair> m_pairs;
};
