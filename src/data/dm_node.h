#pragma once

#include "data/dm_record.h"

class DMArray;

// One node of an array: an optional id and key/value pairs. The element text
// of the node is kept under the key "DATA" and its CDATA sections under "CDATA".
class DMNode : public DMRecord {
public:
    static constexpr const char* kDataKey = "DATA";
    static constexpr const char* kCDataKey = "CDATA";

    explicit DMNode(DMArray* owner) : m_owner(owner) {}

    void SetValue(const char* key, const char* value) { SetValueOf("DMNode::SetValue", key, value); }
    DMArray* GetOwner() const { return m_owner; }

private:
    DMArray* m_owner;
};
