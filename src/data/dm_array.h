#pragma once

#include <cstdint>
#include <memory>

#include "data/dm_node.h"
#include "data/dm_record.h"
#include "foundation/array.h"

class DMDatabase;

// One array of a database: an id, attributes and nodes in document order.
class DMArray : public DMRecord {
public:
    explicit DMArray(DMDatabase* owner) : m_owner(owner) {}

    // The pairs are the attributes of the array element itself.
    void SetValue(const char* key, const char* value) { SetValueOf("DMArray::SetValue", key, value); }

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
    Array<std::unique_ptr<DMNode>> m_nodes;
};
