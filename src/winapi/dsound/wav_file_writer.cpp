#include "wav_file_writer.h"

#include <cstdint>

namespace {

constexpr unsigned long long kHeaderBytes = 44;
// The RIFF size field is 32 bits; frames beyond it are dropped.
constexpr unsigned long long kMaxDataBytes = 0xFFFFFFFFull - kHeaderBytes;

void PutU16(uint8_t* at, uint32_t value)
{
    at[0] = uint8_t(value);
    at[1] = uint8_t(value >> 8);
}

void PutU32(uint8_t* at, uint32_t value)
{
    PutU16(at, value & 0xFFFF);
    PutU16(at + 2, value >> 16);
}

void WriteHeader(std::FILE* file, DWORD rate, unsigned long long dataBytes)
{
    uint8_t header[kHeaderBytes] = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' '};
    PutU32(header + 4, uint32_t(dataBytes + kHeaderBytes - 8));
    PutU32(header + 16, 16);
    PutU16(header + 20, 1);  // PCM
    PutU16(header + 22, 2);  // stereo
    PutU32(header + 24, rate);
    PutU32(header + 28, rate * 4);
    PutU16(header + 32, 4);
    PutU16(header + 34, 16);
    header[36] = 'd';
    header[37] = 'a';
    header[38] = 't';
    header[39] = 'a';
    PutU32(header + 40, uint32_t(dataBytes));
    std::fseek(file, 0, SEEK_SET);
    std::fwrite(header, 1, sizeof(header), file);
}

}  // namespace

bool WavFileWriter::Open(const char* path, DWORD rate)
{
    Close();
    m_path = path;
    m_rate = rate;
    m_dataBytes = 0;
    m_file = std::fopen((m_path + ".tmp").c_str(), "wb");
    if (!m_file) {
        return false;
    }
    WriteHeader(m_file, m_rate, 0);
    return true;
}

void WavFileWriter::Write(const SHORT* frames, DWORD frameCount)
{
    const unsigned long long bytes = frameCount * 4ull;
    if (!m_file || m_dataBytes + bytes > kMaxDataBytes) {
        return;
    }
    // Samples are stored little-endian, as this machine holds them.
    m_dataBytes += std::fwrite(frames, 1, bytes, m_file);
}

void WavFileWriter::Close()
{
    if (!m_file) {
        return;
    }
    WriteHeader(m_file, m_rate, m_dataBytes);
    const bool written = std::fclose(m_file) == 0;
    m_file = nullptr;
    const std::string temporary = m_path + ".tmp";
    if (written) {
        std::rename(temporary.c_str(), m_path.c_str());
    } else {
        std::remove(temporary.c_str());
    }
}
