#pragma once

#include <cstdint>

#include "foundation/string.h"
#include "foundation/text.h"

// The id of an array or node: a text with its name hash, or none at all
// (a null id), which is distinct from the empty text.
class DMId {
public:
    void Set(const char* id)
    {
        m_present = id != nullptr;
        m_text.Assign(id);
        m_hash = HVI_HashName(id);
    }
    const char* Get() const { return m_present ? m_text.GetText() : nullptr; }
    uint32_t GetHash() const { return m_hash; }
    bool Matches(const char* id, uint32_t hash) const { return m_present && m_hash == hash && m_text == id; }

private:
    String m_text;
    uint32_t m_hash = 0;
    bool m_present = false;
};
