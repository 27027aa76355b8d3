// Text for a debugger.
#pragma once

#include <minwinbase.h>

#ifdef __cplusplus
extern "C" {
#endif

void WINAPI OutputDebugStringA(LPCSTR lpOutputString);
BOOL WINAPI IsDebuggerPresent(void);

#ifdef __cplusplus
}
#endif

#define OutputDebugString OutputDebugStringA
