#pragma once

// The engine's log: numbered, time-stamped lines in the log file and the
// console history, filtered by the log threshold.

#include <halvo/core.h>

// A trace line at INFO; reaches the log only at the INFO threshold.
void HV_Print(const char* format, ...) __attribute__((format(printf, 1, 2)));
// Formats the text and writes it at that level; lines below the threshold are dropped.
void HV_Log(HV_LogLevel level, const char* format, ...) __attribute__((format(printf, 2, 3)));
// Always logs "[POPUP] %s" at that level; shows the text only in developer mode, each text once.
void HV_Popup(HV_LogLevel level, const char* format, ...) __attribute__((format(printf, 2, 3)));

#include "foundation/array.h"
#include "foundation/string.h"

// The threshold below which lines are dropped (2 unless developer.xml sets
// "logging_verbose_level").
void HVI_SetLogThreshold(int threshold);
int HVI_GetLogThreshold();

// Creates the log file at the schemed path with the banner and the lines
// logged so far, and appends every later line to it. False, with the log
// kept in memory only and a line saying why, when the path has no native
// file or the file cannot be created.
bool HVI_OpenLogFile(const char* schemedPath);
// The native path of the log file; empty while there is none.
String HVI_GetLogFilePath();

// Writes "HALVO log: %d errors, %d warnings, %d infos." (lines written at
// ERROR, at WARNING, and at INFO or SYSTEM).
void HVI_WriteLogSummary();

// The last lines of the log, oldest first (the console's history).
Array<String> HVI_GetConsoleLines();

// Routes the lower layers' log seam (foundation/engine_log.h) into this log.
void HVI_InstallFoundationLogSink();

// Shows the popups that threads other than the main thread asked for; main thread, end of frame.
void HVI_ShowQueuedPopups();

// Forgets the file, the history, the counters, the shown popups and the
// threshold (tests, shutdown).
void HVI_ResetLog();
