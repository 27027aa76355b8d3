#pragma once

#include <memory>
#include <utility>

#include "foundation/array.h"
#include "foundation/text.h"

// The children of a database (its arrays) or of an array (its nodes): owned,
// in document order, found by id or reached by index.
template <typename Child, typename Owner>
class DMChildren {
public:
    // The first child with that id (hash, then full comparison); null for a null id.
    Child* Find(const char* id) const
    {
        if (id == nullptr) return nullptr;
        const uint32_t hash = HVI_HashName(id);
        for (const std::unique_ptr<Child>& child : m_children) {
            if (child->HasId(id, hash)) return child.get();
        }
        return nullptr;
    }

    // Appends a new child with that id (null for none) and that owner.
    Child* Add(Owner* owner, const char* id)
    {
        auto child = std::make_unique<Child>(owner);
        child->SetId(id);
        Child* added = child.get();
        m_children.Add(std::move(child));
        return added;
    }

    int GetCount() const { return m_children.GetCount(); }
    // Null when the index is out of range.
    Child* Get(int index) const
    {
        return index >= 0 && index < m_children.GetCount() ? m_children[index].get() : nullptr;
    }
    // Destroys the child at the index; the later ones move up.
    void DeleteAt(int index) { m_children.DeleteAt(index); }
    void Clear() { m_children.Clear(); }

private:
    Array<std::unique_ptr<Child>> m_children;
};
