#pragma once

#include <cstdint>
#include <cstring>

// A text inside a record: its characters (zero-terminated) and length.
class DMText {
public:
    DMText(const char* text, int length) : m_text(text), m_length(length) {}
    const char* GetText() const { return m_text; }
    int GetLength() const { return m_length; }
    bool operator==(const DMText& other) const
    {
        return m_length == other.m_length && std::memcmp(m_text, other.m_text, size_t(m_length)) == 0;
    }
    bool operator==(const char* text) const { return std::strcmp(m_text, text ? text : "") == 0; }

private:
    const char* m_text;
    int m_length;
};

// One key/value pair of a node or of an array's attributes, as its list
// holds it; valid until the list changes. The key's name hash is kept so
// that lookups compare hashes before texts.
struct DMPair {
    DMText key;
    DMText value;
    uint32_t keyHash;
};

// The pairs of one record in the order they were first set, kept together
// in one block: a table of entries followed by the key and value texts. A
// value text returned stays valid until the list is next changed.
class DMPairList {
public:
    DMPairList() = default;
    DMPairList(const DMPairList&) = delete;
    DMPairList& operator=(const DMPairList&) = delete;
    ~DMPairList();

    // The value text of the key, or null when the key is missing.
    const char* GetValue(const char* key) const;
    // Replaces the value of an existing key or appends the pair; a null value
    // is stored as the empty text. A null key is ignored.
    void SetValue(const char* key, const char* value);
    // The same for a key and value that are not null, their lengths already
    // counted.
    void SetValue(const char* key, int keyLength, const char* value, int valueLength);
    // Makes room for that many more pairs and text bytes (each key and value
    // with its terminator), so that a list filled at once takes one block of
    // exactly the size it needs.
    void Reserve(int pairs, int64_t textBytes);

    int GetCount() const { return m_block ? m_block->count : 0; }
    // The pair at an index from 0 to GetCount() - 1.
    DMPair GetPair(int index) const;

private:
    struct Entry;
    // The entry table follows the header; the texts follow the table.
    struct Header {
        int32_t count;
        int32_t pairCapacity;
        int32_t textSize;  // bytes in use, replaced values included
        int32_t textCapacity;
    };

    int IndexOf(const char* key, uint32_t hash) const;
    Entry* GetEntries() const;
    char* GetTexts() const;
    // Copies the text with its terminator behind the texts; there is room.
    int StoreText(const char* text, int length);
    // Moves the pairs into a new block with room for that many pairs and text
    // bytes in all, leaving out the texts of replaced values, and returns the
    // old block for the caller to free once nothing reads from it.
    Header* Rebuild(int64_t pairCapacity, int64_t textCapacity);

    Header* m_block = nullptr;
};
