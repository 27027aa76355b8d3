#pragma once

#include <cstdio>
#include <string>

#include <windows.h>

// Writes 16-bit stereo PCM frames as a WAV file. The frames go to a temporary
// file beside the target, which is renamed over it once Close has completed
// the header, so that a half-written capture never stands under the name.
class WavFileWriter {
public:
    ~WavFileWriter() { Close(); }
    bool Open(const char* path, DWORD rate);
    void Write(const SHORT* frames, DWORD frameCount);
    void Close();

private:
    std::FILE* m_file = nullptr;
    std::string m_path;
    DWORD m_rate = 0;
    unsigned long long m_dataBytes = 0;
};
