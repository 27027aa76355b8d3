#pragma once

#include <cstdint>
#include <cstdlib>
#include <new>
#include <utility>

// The engine's growable array. Growth: an array without a block reserves 32
// slots, a full one-element array grows to 8, otherwise a full array doubles
// (or grows to count + 1 when that is larger). With shrink-on-remove set, a
// removal halves the capacity once the count has fallen to a quarter of it.
template <class T>
class Array {
public:
    Array() = default;
    Array(const Array& other) { CopyFrom(other); }
    Array(Array&& other) noexcept { TakeFrom(other); }
    Array& operator=(const Array& other)
    {
        if (this != &other) {
            Destroy();
            CopyFrom(other);
        }
        return *this;
    }
    Array& operator=(Array&& other) noexcept
    {
        if (this != &other) {
            Destroy();
            TakeFrom(other);
        }
        return *this;
    }
    ~Array() { Destroy(); }

    void Add(const T& value) { Emplace(value); }
    void Add(T&& value) { Emplace(std::move(value)); }

    // Inserts before the element at the index, shifting the later ones up.
    void InsertAt(int index, const T& value)
    {
        if (index < 0 || index > m_count) return;
        Emplace(value);
        for (int i = m_count - 1; i > index; --i) std::swap(m_data[i], m_data[i - 1]);
    }

    // Destroys the element; the later ones move up by one.
    void DeleteAt(int index)
    {
        if (index < 0 || index >= m_count) return;
        for (int i = index; i + 1 < m_count; ++i) m_data[i] = std::move(m_data[i + 1]);
        --m_count;
        m_data[m_count].~T();
        if (m_shrinkOnRemove && m_capacity > 1 && m_count <= m_capacity / 4) Reallocate(m_capacity / 2);
    }

    // Count 0, block kept.
    void Clear()
    {
        for (int i = 0; i < m_count; ++i) m_data[i].~T();
        m_count = 0;
    }

    void SetShrinkOnRemove(bool shrink) { m_shrinkOnRemove = shrink; }
    int GetCount() const { return m_count; }
    int GetCapacity() const { return m_capacity; }
    T* GetData() { return m_data; }
    const T* GetData() const { return m_data; }
    T& operator[](int index) { return m_data[index]; }
    const T& operator[](int index) const { return m_data[index]; }
    T* begin() { return m_data; }
    T* end() { return m_data + m_count; }
    const T* begin() const { return m_data; }
    const T* end() const { return m_data + m_count; }

private:
    template <class V>
    void Emplace(V&& value)
    {
        if (m_count < m_capacity) {
            new (m_data + m_count) T(std::forward<V>(value));
            ++m_count;
            return;
        }
        int newCapacity;
        if (m_data == nullptr)
            newCapacity = 32;
        else if (m_capacity == 1)
            newCapacity = 8;
        else
            newCapacity = m_capacity * 2 > m_count + 1 ? m_capacity * 2 : m_count + 1;
        // The value may live in the old block: store it before that block goes.
        T* block = Allocate(newCapacity);
        new (block + m_count) T(std::forward<V>(value));
        MoveInto(block);
        std::free(m_data);
        m_data = block;
        m_capacity = newCapacity;
        ++m_count;
    }

    void Reallocate(int newCapacity)
    {
        T* block = Allocate(newCapacity);
        MoveInto(block);
        std::free(m_data);
        m_data = block;
        m_capacity = newCapacity;
    }

    void MoveInto(T* block)
    {
        for (int i = 0; i < m_count; ++i) {
            new (block + i) T(std::move(m_data[i]));
            m_data[i].~T();
        }
    }

    static T* Allocate(int capacity)
    {
        void* block = std::malloc(sizeof(T) * size_t(capacity));
        if (block == nullptr) std::abort();
        return static_cast<T*>(block);
    }

    void CopyFrom(const Array& other)
    {
        m_shrinkOnRemove = other.m_shrinkOnRemove;
        if (other.m_count == 0) return;
        m_data = Allocate(other.m_capacity);
        m_capacity = other.m_capacity;
        for (int i = 0; i < other.m_count; ++i) new (m_data + i) T(other.m_data[i]);
        m_count = other.m_count;
    }

    void TakeFrom(Array& other)
    {
        m_data = other.m_data;
        m_count = other.m_count;
        m_capacity = other.m_capacity;
        m_shrinkOnRemove = other.m_shrinkOnRemove;
        other.m_data = nullptr;
        other.m_count = 0;
        other.m_capacity = 0;
    }

    void Destroy()
    {
        Clear();
        std::free(m_data);
        m_data = nullptr;
        m_capacity = 0;
    }

    T* m_data = nullptr;
    int32_t m_count = 0;
    int32_t m_capacity = 0;
    bool m_shrinkOnRemove = false;
};
