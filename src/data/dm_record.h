#pragma once

#include <cstdint>

#include "data/dm_id.h"
#include "data/dm_pairs.h"

// What arrays and nodes share: an optional id, which also answers to the key
// "id", and the other key/value pairs in the order they were first set.
class DMRecord {
public:
    static constexpr const char* kIdKey = "id";

    DMRecord(const DMRecord&) = delete;
    DMRecord& operator=(const DMRecord&) = delete;

    // A null id is allowed: the record then has no id and is never found by id.
    void SetId(const char* id) { m_id.Set(id); }
    const char* GetId() const { return m_id.Get(); }
    uint32_t GetIdHash() const { return m_id.GetHash(); }
    bool HasId(const char* id, uint32_t hash) const { return m_id.Matches(id, hash); }

    // The value of the key or null; "id" gives the id. The text stays valid
    // until the pairs are next changed.
    const char* GetValue(const char* key) const;
    // Makes room for pairs about to be set (see DMPairList::Reserve).
    void ReservePairs(int pairs, int64_t textBytes) { m_pairs.Reserve(pairs, textBytes); }
    // Sets a pair other than the id, neither text null, with their lengths
    // already counted (see DMPairList::SetValue).
    void SetPair(const char* key, int keyLength, const char* value, int valueLength)
    {
        m_pairs.SetValue(key, keyLength, value, valueLength);
    }
    // The pairs other than the id.
    const DMPairList& GetPairs() const { return m_pairs; }

protected:
    DMRecord() = default;
    ~DMRecord() = default;
    // Sets or adds the key; "id" sets the id. A null key is refused with a
    // line that names the operation ("DMNode::SetValue").
    void SetValueOf(const char* operation, const char* key, const char* value);

private:
    DMId m_id;
    DMPairList m_pairs;
};
