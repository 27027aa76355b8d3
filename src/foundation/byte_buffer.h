#pragma once

#include <cstdint>

#include "foundation/string.h"

// A growable byte buffer. The size is the write position; reads advance a
// separate read position and stop cleanly at the end of the data, answering
// false. With the swap flag set, 32-bit values are stored byte-reversed. An
// external buffer wraps memory owned elsewhere: it is never grown or freed.
class ByteBuffer {
public:
    static constexpr int kMaxStringLength = 2047;

    ByteBuffer() = default;
    ByteBuffer(const ByteBuffer& other);
    ByteBuffer& operator=(const ByteBuffer& other);
    ByteBuffer(ByteBuffer&& other) noexcept;
    ByteBuffer& operator=(ByteBuffer&& other) noexcept;
    ~ByteBuffer() { Free(); }

    // Appends the text with its terminating zero.
    bool WriteString(const char* text);
    bool WriteUInt32(uint32_t value);
    bool WriteBytes(const void* bytes, int count);
    // Appends count bytes for the caller to fill and returns where they
    // begin; null when the buffer cannot grow by that much.
    uint8_t* Extend(int count);
    // Drops the bytes from the size on; the read position stays within the data.
    void Truncate(int size);

    // Reads a zero-terminated text of at most 2047 characters; a longer one
    // is cut there and the read position still moves past its terminator.
    // False when no terminator is found before the end of the data.
    bool ReadString(String& text);
    bool ReadUInt32(uint32_t& value);
    bool ReadBytes(void* bytes, int count);

    // Frees owned memory and forgets the data.
    void Free();
    // Wraps memory owned elsewhere for reading; size bytes are readable.
    void WrapExternal(const void* data, int size);
    void SetSwapBytes(bool swap) { m_swapBytes = swap; }

    const uint8_t* GetData() const { return m_data; }
    // Null for memory owned elsewhere, which is only read.
    uint8_t* GetWritableData() { return m_external ? nullptr : m_data; }
    int GetSize() const { return m_size; }
    int GetCapacity() const { return m_capacity; }
    int GetReadPosition() const { return m_readPosition; }
    void SetReadPosition(int position);
    int GetRemaining() const { return m_size - m_readPosition; }

private:
    bool Reserve(int64_t needed);

    uint8_t* m_data = nullptr;
    int32_t m_size = 0;
    int32_t m_capacity = 0;
    int32_t m_readPosition = 0;
    bool m_swapBytes = false;
    bool m_external = false;
};
