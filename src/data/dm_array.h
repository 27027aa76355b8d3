#pragma once

#include "data/dm_children.h"
#include "data/dm_node.h"
#include "data/dm_record.h"

class DMDatabase;

// One array of a database: an id, attributes and nodes in document order.
class DMArray : public DMRecord {
public:
    explicit DMArray(DMDatabase* owner) : m_owner(owner) {}

    // The pairs are the attributes of the array element itself.
    void SetValue(const char* key, const char* value) { SetValueOf("DMArray::SetValue", key, value); }

    DMNode* FindNode(const char* id) const { return m_nodes.Find(id); }
    DMNode* AddNode(const char* id) { return m_nodes.Add(this, id); }
    int GetNodeCount() const { return m_nodes.GetCount(); }
    DMNode* GetNode(int index) const { return m_nodes.Get(index); }
    void DeleteNodeAt(int index) { m_nodes.DeleteAt(index); }

    DMDatabase* GetOwner() const { return m_owner; }

private:
    DMDatabase* m_owner;
    DMChildren<DMNode, DMArray> m_nodes;
};
