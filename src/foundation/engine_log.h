#pragma once

// The log seam for the layers below the engine core. The core installs its
// sink at start-up; until then, and in tools and tests, lines go to stderr.
// The same values are defined by the public header <halvo/core.h>; the guard
// lets a file include both.
#ifndef HV_LOG_LEVELS_DEFINED
#define HV_LOG_LEVELS_DEFINED
enum HVI_LogLevelValue { HV_LOG_INFO = 0, HV_LOG_WARNING = 1, HV_LOG_ERROR = 2, HV_LOG_SYSTEM = 3 };
#endif

// popup is true for lines that the user should see as a popup.
using HVI_LogSink = void (*)(void* context, int level, bool popup, const char* text);

void HVI_SetLogSink(HVI_LogSink sink, void* context);
void HVI_Log(int level, const char* format, ...) __attribute__((format(printf, 2, 3)));
void HVI_Popup(int level, const char* format, ...) __attribute__((format(printf, 2, 3)));
