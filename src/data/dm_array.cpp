#include "data/dm_array.h"

#include "foundation/text.h"

DMNode* DMArray::FindNode(const char* id) const
{
    if (id == nullptr) return nullptr;
    const uint32_t hash = HVI_HashName(id);
    for (const std::unique_ptr<DMNode>& node : m_nodes) {
        if (node->HasId(id, hash)) return node.get();
    }
    return nullptr;
}

DMNode* DMArray::AddNode(const char* id)
{
    auto node = std::make_unique<DMNode>(this);
    node->SetId(id);
    DMNode* added = node.get();
    m_nodes.Add(std::move(node));
    return added;
}

DMNode* DMArray::GetNode(int index) const
{
    return index >= 0 && index < m_nodes.GetCount() ? m_nodes[index].get() : nullptr;
}
