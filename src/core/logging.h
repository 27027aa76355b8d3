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
