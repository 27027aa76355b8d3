#pragma once

#include "foundation/array.h"
#include "foundation/critical_section.h"

// An array that several threads share, behind a critical section of its own.
template <typename T>
class SharedArray {
public:
    void Add(const T& item)
    {
        CriticalSectionScope scope(m_lock);
        m_items.Add(item);
    }

    void Clear()
    {
        CriticalSectionScope scope(m_lock);
        m_items.Clear();
    }

    int GetCount()
    {
        CriticalSectionScope scope(m_lock);
        return m_items.GetCount();
    }

    // Empties the array and returns what it held, in order, so that the
    // caller works through it without the lock (and may add to it meanwhile).
    Array<T> TakeAll()
    {
        Array<T> taken;
        CriticalSectionScope scope(m_lock);
        for (int i = 0; i < m_items.GetCount(); ++i) taken.Add(m_items[i]);
        m_items.Clear();
        return taken;
    }

    // Calls visit(item) for each item in order with the lock held.
    template <typename Visit>
    void ForEach(Visit visit)
    {
        CriticalSectionScope scope(m_lock);
        for (int i = 0; i < m_items.GetCount(); ++i) visit(m_items[i]);
    }

private:
    CriticalSection m_lock;
    Array<T> m_items;  // guarded by m_lock
};
