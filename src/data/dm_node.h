#pragma once

#include <cstdint>

#include "data/dm_id.h"
#include "data/dm_pairs.h"

class DMArray;

// One node of an array: an optional id and key/value pairs. The element text
// of the node is kept under the key "DATA" and its CDATA sections under "CDATA".
// The node's own id answers to the key "id".
class DMNode {
public:
    static constexpr const char* kIdKey = "id";
    static constexpr const char* kDataKey = "DATA";
    static constexpr const char* kCDataKey = "CDATA";

    explicit DMNode(DMArray* owner) : m_owner(owner) {}
    DMNode(const DMNode&) = delete;
    DMNode& operator=(const DMNode&) = delete;

    // A null id is allowed: the node then has no id and is never found by id.
    void SetId(const char* id) { m_id.Set(id); }
    const char* GetId() const { return m_id.Get(); }
    uint32_t GetIdHash() const { return m_id.GetHash(); }
    bool HasId(const char* id, uint32_t hash) const { return m_id.Matches(id, hash); }

    // The value of the key or null; "id" gives the node's id. The text stays
    // valid until the node's pairs are next changed.
    const char* GetValue(const char* key) const;
    // Sets or adds the key; "id" sets the node's id. A null key is refused.
    void SetValue(const char* key, const char* value);
    // Makes room for pairs about to be set (see DMPairList::Reserve).
    void ReservePairs(int pairs, int64_t textBytes) { m_pairs.Reserve(pairs, textBytes); }
    // Sets a pair other than the id, neither text null, with their lengths
    // already counted (see DMPairList::SetValue).
    void SetPair(const char* key, int keyLength, const char* value, int valueLength)
    {
        m_pairs.SetValue(key, keyLength, value, valueLength);
    }

    // The pairs other than the id, in the order they were first set.
    const DMPairList& GetPairs() const { return m_pairs; }
    DMArray* GetOwner() const { return m_owner; }

private:
    DMArray* m_owner;
    DMId m_id;
    DMPairList m_pairs;
};
