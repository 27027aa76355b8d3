#pragma once

// Formatting of one log line, apart from the log's state so that the rules
// can be checked on their own.

#include <cstdint>

#include "foundation/string.h"

// The level a message is written and filtered at: 0 to 3 as given, any other
// level as ERROR.
int HVI_EffectiveLogLevel(int level);

// "%.4d: [%.2d:%.2d.%.2d] " + "[thread]> " (threads other than the main
// thread, threadName not null) + "[LEVEL] " (levels other than INFO) + text.
String HVI_FormatLogLine(int number, uint32_t elapsedMs, const char* threadName, int level, const char* text);

// The banner written when the log file is created, with its rule line.
String HVI_FormatLogBanner(const char* buildDate, const char* buildTime);
