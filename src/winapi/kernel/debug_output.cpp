// Debugger text. With no debugger to receive it, the text goes to standard
// error, where a developer running the host sees it.
#include <cstdio>

#include <windows.h>

void WINAPI OutputDebugStringA(LPCSTR lpOutputString)
{
    if (lpOutputString == nullptr) return;
    std::fputs(lpOutputString, stderr);
}

BOOL WINAPI IsDebuggerPresent(void) { return FALSE; }
