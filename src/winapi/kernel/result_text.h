// Hands text back the way the platform's "Get...A(size, buffer)" functions
// do: the length without the terminating zero when it fits, else the size
// needed including it, leaving the buffer untouched.
#pragma once

#include <windows.h>

#include <cstring>
#include <string>

namespace halvo::kernel {

inline DWORD CopyResultText(const std::string& text, LPSTR buffer, DWORD bufferSize)
{
    if (buffer == nullptr || bufferSize <= text.size()) return static_cast<DWORD>(text.size() + 1);
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    return static_cast<DWORD>(text.size());
}

}  // namespace halvo::kernel
