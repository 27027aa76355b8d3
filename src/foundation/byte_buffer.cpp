#include "foundation/byte_buffer.h"

#include <cstdlib>
#include <cstring>
#include <utility>

ByteBuffer::ByteBuffer(const ByteBuffer& other) { *this = other; }

ByteBuffer& ByteBuffer::operator=(const ByteBuffer& other)
{
    if (this == &other) return *this;
    Free();
    m_swapBytes = other.m_swapBytes;
    WriteBytes(other.m_data, other.m_size);
    m_readPosition = other.m_readPosition;
    return *this;
}

ByteBuffer::ByteBuffer(ByteBuffer&& other) noexcept { *this = static_cast<ByteBuffer&&>(other); }

ByteBuffer& ByteBuffer::operator=(ByteBuffer&& other) noexcept
{
    if (this == &other) return *this;
    Free();
    m_data = other.m_data;
    m_size = other.m_size;
    m_capacity = other.m_capacity;
    m_readPosition = other.m_readPosition;
    m_swapBytes = other.m_swapBytes;
    m_external = other.m_external;
    other.m_data = nullptr;
    other.m_size = other.m_capacity = other.m_readPosition = 0;
    other.m_external = false;
    return *this;
}

bool ByteBuffer::Reserve(int64_t needed)
{
    if (needed <= m_capacity) return true;
    if (m_external || needed > INT32_MAX) return false;
    // Grow to twice the size needed, within the signed 32-bit range.
    const int64_t grown = needed * 2 > INT32_MAX ? INT32_MAX : needed * 2;
    void* block = std::realloc(m_data, size_t(grown));
    if (block == nullptr) return false;
    m_data = static_cast<uint8_t*>(block);
    m_capacity = int32_t(grown);
    return true;
}

bool ByteBuffer::WriteBytes(const void* bytes, int count)
{
    if (count < 0 || (count > 0 && bytes == nullptr)) return false;
    if (count == 0) return true;
    uint8_t* target = Extend(count);
    if (target == nullptr) return false;
    std::memcpy(target, bytes, size_t(count));
    return true;
}

uint8_t* ByteBuffer::Extend(int count)
{
    if (count < 0 || !Reserve(int64_t(m_size) + count)) return nullptr;
    uint8_t* target = m_data + m_size;
    m_size += count;
    return target;
}

void ByteBuffer::Truncate(int size)
{
    if (size < 0 || size >= m_size) return;
    m_size = size;
    if (m_readPosition > m_size) m_readPosition = m_size;
}

bool ByteBuffer::WriteString(const char* text)
{
    if (text == nullptr) text = "";
    const size_t length = std::strlen(text);
    if (length >= size_t(INT32_MAX)) return false;
    return WriteBytes(text, int(length) + 1);
}

bool ByteBuffer::WriteUInt32(uint32_t value)
{
    uint8_t bytes[4] = {uint8_t(value), uint8_t(value >> 8), uint8_t(value >> 16), uint8_t(value >> 24)};
    if (m_swapBytes) {
        std::swap(bytes[0], bytes[3]);
        std::swap(bytes[1], bytes[2]);
    }
    return WriteBytes(bytes, 4);
}

bool ByteBuffer::ReadBytes(void* bytes, int count)
{
    if (count < 0 || count > GetRemaining() || (count > 0 && bytes == nullptr)) return false;
    if (count > 0) std::memcpy(bytes, m_data + m_readPosition, size_t(count));
    m_readPosition += count;
    return true;
}

bool ByteBuffer::ReadUInt32(uint32_t& value)
{
    uint8_t bytes[4];
    if (!ReadBytes(bytes, 4)) return false;
    if (m_swapBytes) {
        std::swap(bytes[0], bytes[3]);
        std::swap(bytes[1], bytes[2]);
    }
    value = uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 | uint32_t(bytes[3]) << 24;
    return true;
}

bool ByteBuffer::ReadString(String& text)
{
    const uint8_t* start = m_data + m_readPosition;
    const void* terminator = GetRemaining() > 0 ? std::memchr(start, 0, size_t(GetRemaining())) : nullptr;
    if (terminator == nullptr) {
        // Unterminated: hand back what is there, and say the read failed.
        const int length = GetRemaining();
        text.Assign(reinterpret_cast<const char*>(start), length > kMaxStringLength ? kMaxStringLength : length);
        m_readPosition = m_size;
        return false;
    }
    const int length = int(static_cast<const uint8_t*>(terminator) - start);
    text.Assign(reinterpret_cast<const char*>(start), length > kMaxStringLength ? kMaxStringLength : length);
    m_readPosition += length + 1;
    return true;
}

void ByteBuffer::Free()
{
    if (!m_external) std::free(m_data);
    m_data = nullptr;
    m_size = m_capacity = m_readPosition = 0;
    m_external = false;
}

void ByteBuffer::WrapExternal(const void* data, int size)
{
    Free();
    m_data = static_cast<uint8_t*>(const_cast<void*>(data));
    m_size = m_capacity = size < 0 ? 0 : size;
    m_external = true;
}

void ByteBuffer::SetReadPosition(int position)
{
    m_readPosition = position < 0 ? 0 : position > m_size ? m_size : position;
}
