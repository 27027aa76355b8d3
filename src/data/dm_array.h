#pragma once

#include <cstdint>
#include <memory>

#include "data/dm_id.h"
#include "data/dm_node.h"
#include "data/dm_pairs.h"
#include "foundation/array.h"

class DMDatabase;

// One array of a database: an id, attributes and nodes in document order.
class DMArray {
public:
    explicit DMArray(DMDatabase* owner) : m_owner(owner) {}
    DMArray(const DMArray&) = delete;
    DMArray& operator=(const DMArray&) = delete;

    void SetId(const char* id) { m_id.Set(id); }
    const char* GetId() const { return m_id.Get(); }
    uint32_t GetIdHash() const { return m_id.GetHash(); }
    bool HasId(const char* id, uint32_t hash) const { return m_id.Matches(id, hash); }

    // Attributes of the array itself; "id" is the array's id.
    const char* GetValue(const char* key) const;
    void SetValue(const char* key, const char* value);
    // Makes room for attributes about to be set (see DMPairList::Reserve).
    void ReservePairs(int pairs, int64_t textBytes) { m_attributes.Reserve(pairs, textBytes); }
    // Sets a pair other than the id, neither text null, with their lengths
    // already counted (see DMPairList::SetValue).
    void SetPair(const char* key, int keyLength, const char* value, int valueLength)
    {
        m_attributes.SetValue(key, keyLength, value, valueLength);
    }
    const DMPairList& GetAttributes() const { return m_attributes; }

    // The first node with that id (hash, then full comparison); null for a null id.
    DMNode* FindNode(const char* id) const;
    // Appends a new node with that id (null for none) and this array as its owner.
    DMNode* AddNode(const char* id);
    int GetNodeCount() const { return m_nodes.GetCount(); }
    // Null when the index is out of range.
    DMNode* GetNode(int index) const;
    // Destroys the node at the index; the later nodes move up.
    void DeleteNodeAt(int index) { m_nodes.DeleteAt(index); }

    DMDatabase* GetOwner() const { return m_owner; }

private:
    DMDatabase* m_owner;
    DMId m_id;
    DMPairList m_attributes;
    Array<std::unique_ptr<DMNode>> m_nodes;
};
