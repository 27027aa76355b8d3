#include "filesystem/native_file.h"

#include <climits>

namespace HVFileSystem {

NativeFile::~NativeFile() { Close(); }

int64_t NativeFile::Read(void* buffer, int64_t count)
{
    if (m_stream == nullptr || buffer == nullptr || count <= 0) return 0;
    return int64_t(std::fread(buffer, 1, size_t(count), m_stream));
}

int64_t NativeFile::Write(const void* buffer, int64_t count)
{
    if (m_stream == nullptr || buffer == nullptr || count <= 0) return 0;
    return int64_t(std::fwrite(buffer, 1, size_t(count), m_stream));
}

bool NativeFile::Seek(int64_t offset, int origin)
{
    static constexpr int kOrigins[] = {SEEK_SET, SEEK_CUR, SEEK_END};
    if (m_stream == nullptr || origin < HV_SEEK_START || origin > HV_SEEK_END) return false;
    // fseek takes a long, which is 32 bits on some platforms.
    if (offset < LONG_MIN || offset > LONG_MAX) return false;
    return std::fseek(m_stream, long(offset), kOrigins[origin]) == 0;
}

int64_t NativeFile::GetPosition()
{
    if (m_stream == nullptr) return -1;
    return int64_t(std::ftell(m_stream));
}

int64_t NativeFile::GetSize()
{
    if (m_stream == nullptr) return -1;
    const long position = std::ftell(m_stream);
    if (position < 0 || std::fseek(m_stream, 0, SEEK_END) != 0) return -1;
    const long end = std::ftell(m_stream);
    if (std::fseek(m_stream, position, SEEK_SET) != 0) return -1;
    return int64_t(end);
}

bool NativeFile::Flush() { return m_stream != nullptr && std::fflush(m_stream) == 0; }

bool NativeFile::Close()
{
    if (m_stream == nullptr) return false;
    const bool flushed = std::fflush(m_stream) == 0;
    const bool closed = std::fclose(m_stream) == 0;
    m_stream = nullptr;
    return flushed && closed;
}

}  // namespace HVFileSystem
