#include "data/dm_array.h"

#include <cstring>

#include "data/data_messages.h"
#include "foundation/engine_log.h"
#include "foundation/text.h"

const char* DMArray::GetValue(const char* key) const
{
    if (key != nullptr && std::strcmp(key, DMNode::kIdKey) == 0) return GetId();
    return m_attributes.GetValue(key);
}

void DMArray::SetValue(const char* key, const char* value)
{
    if (key == nullptr) {
        HVI_Log(HV_LOG_ERROR, kMessageNullKey, "DMArray::SetValue");
        return;
    }
    if (std::strcmp(key, DMNode::kIdKey) == 0)
        SetId(value);
    else
        m_attributes.SetValue(key, value);
}

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
