// Closing kernel handles.
#pragma once

#include <minwinbase.h>

#define INVALID_HANDLE_VALUE ((HANDLE)(LONG_PTR)-1)

#ifdef __cplusplus
extern "C" {
#endif

BOOL WINAPI CloseHandle(HANDLE hObject);

#ifdef __cplusplus
}
#endif
