#include "data/dm_pairs.h"

#include <cstdlib>

#include "foundation/text.h"

// Offsets are counted from the first text byte of the block.
struct DMPairList::Entry {
    uint32_t keyHash;
    int32_t keyOffset;
    int32_t keyLength;
    int32_t valueOffset;
    int32_t valueLength;
};

namespace {

// A record of 2 GiB is a broken caller, not a recoverable state.
int32_t CheckedSize(int64_t size)
{
    if (size > INT32_MAX) std::abort();
    return int32_t(size);
}

}  // namespace

DMPairList::~DMPairList() { std::free(m_block); }

inline DMPairList::Entry* DMPairList::GetEntries() const { return reinterpret_cast<Entry*>(m_block + 1); }

inline char* DMPairList::GetTexts() const { return reinterpret_cast<char*>(GetEntries() + m_block->pairCapacity); }

DMPair DMPairList::GetPair(int index) const
{
    const Entry& entry = GetEntries()[index];
    const char* texts = GetTexts();
    return {{texts + entry.keyOffset, entry.keyLength}, {texts + entry.valueOffset, entry.valueLength}, entry.keyHash};
}

int DMPairList::IndexOf(const char* key, uint32_t hash) const
{
    const int count = GetCount();
    if (count == 0) return -1;
    const Entry* entries = GetEntries();
    const char* texts = GetTexts();
    for (int i = 0; i < count; ++i) {
        if (entries[i].keyHash == hash && std::strcmp(texts + entries[i].keyOffset, key) == 0) return i;
    }
    return -1;
}

const char* DMPairList::GetValue(const char* key) const
{
    const int index = key ? IndexOf(key, HVI_HashName(key)) : -1;
    return index >= 0 ? GetTexts() + GetEntries()[index].valueOffset : nullptr;
}

int DMPairList::StoreText(const char* text, int length)
{
    const int offset = m_block->textSize;
    std::memcpy(GetTexts() + offset, text, size_t(length));
    GetTexts()[offset + length] = '\0';
    m_block->textSize += length + 1;
    return offset;
}

DMPairList::Header* DMPairList::Rebuild(int64_t pairCapacity, int64_t textCapacity)
{
    const int64_t bytes = int64_t(sizeof(Header)) + pairCapacity * int64_t(sizeof(Entry)) + textCapacity;
    Header* block = static_cast<Header*>(std::malloc(size_t(CheckedSize(bytes))));
    if (block == nullptr) std::abort();
    *block = {0, int32_t(pairCapacity), 0, int32_t(textCapacity)};
    Header* old = m_block;
    DMPairList rebuilt;
    rebuilt.m_block = block;
    for (int i = 0; i < GetCount(); ++i) {
        const DMPair pair = GetPair(i);
        Entry& entry = rebuilt.GetEntries()[i];
        entry.keyHash = pair.keyHash;
        entry.keyLength = pair.key.GetLength();
        entry.keyOffset = rebuilt.StoreText(pair.key.GetText(), pair.key.GetLength());
        entry.valueLength = pair.value.GetLength();
        entry.valueOffset = rebuilt.StoreText(pair.value.GetText(), pair.value.GetLength());
        ++block->count;
    }
    rebuilt.m_block = nullptr;
    m_block = block;
    return old;
}

void DMPairList::Reserve(int pairs, int64_t textBytes)
{
    const int64_t pairCapacity = int64_t(GetCount()) + pairs;
    const int64_t textCapacity = int64_t(m_block ? m_block->textSize : 0) + textBytes;
    if (m_block && pairCapacity <= m_block->pairCapacity && textCapacity <= m_block->textCapacity) return;
    std::free(Rebuild(CheckedSize(pairCapacity), CheckedSize(textCapacity)));
}

void DMPairList::SetValue(const char* key, const char* value)
{
    if (key == nullptr) return;
    if (value == nullptr) value = "";
    SetValue(key, CheckedSize(int64_t(std::strlen(key))), value, CheckedSize(int64_t(std::strlen(value))));
}

void DMPairList::SetValue(const char* key, int keyLength, const char* value, int valueLength)
{
    const uint32_t hash = HVI_HashName(key);
    const int index = IndexOf(key, hash);
    if (index >= 0 && valueLength <= GetEntries()[index].valueLength) {
        // The value may be a text of this list: memmove copes with the overlap.
        Entry& entry = GetEntries()[index];
        std::memmove(GetTexts() + entry.valueOffset, value, size_t(valueLength) + 1);
        entry.valueLength = valueLength;
        return;
    }
    const int64_t textNeeded = (index >= 0 ? 0 : int64_t(keyLength) + 1) + valueLength + 1;
    const int64_t pairsNeeded = GetCount() + (index >= 0 ? 0 : 1);
    Header* old = nullptr;
    if (m_block == nullptr || pairsNeeded > m_block->pairCapacity ||
        m_block->textSize + textNeeded > m_block->textCapacity) {
        // Room to spare for the pairs set one by one later; replaced values are dropped.
        int64_t liveText = textNeeded;
        for (int i = 0; i < GetCount(); ++i)
            liveText += int64_t(GetEntries()[i].keyLength) + GetEntries()[i].valueLength + 2;
        const int64_t pairCapacity = pairsNeeded + (pairsNeeded + 1) / 2;
        old = Rebuild(CheckedSize(pairCapacity), CheckedSize(liveText + liveText / 2));
    }
    // The key and value may be texts of the old block, freed only below.
    if (index >= 0) {
        Entry& entry = GetEntries()[index];
        entry.valueOffset = StoreText(value, valueLength);
        entry.valueLength = valueLength;
    } else {
        Entry& entry = GetEntries()[m_block->count];
        entry.keyHash = hash;
        entry.keyLength = keyLength;
        entry.keyOffset = StoreText(key, keyLength);
        entry.valueLength = valueLength;
        entry.valueOffset = StoreText(value, valueLength);
        ++m_block->count;
    }
    std::free(old);
}
