// Conversions between FILETIME and SYSTEMTIME.
#pragma once

#include <minwinbase.h>

#ifdef __cplusplus
extern "C" {
#endif

BOOL WINAPI FileTimeToSystemTime(const FILETIME* lpFileTime, LPSYSTEMTIME lpSystemTime);
BOOL WINAPI SystemTimeToFileTime(const SYSTEMTIME* lpSystemTime, LPFILETIME lpFileTime);

#ifdef __cplusplus
}
#endif
