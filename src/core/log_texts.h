#pragma once

// The fixed texts of the log.

// The level names written before the text of every level but INFO.
constexpr const char* kLogLevelNames[] = {
    "INFO",     // 0
    "WARNING",  // 1
    "ERROR",    // 2
    "SYSTEM",   // 3
};
static_assert(sizeof(kLogLevelNames) / sizeof(kLogLevelNames[0]) == 4, "four log levels");

constexpr const char* kLogLineFormat = "%.4d: [%.2d:%.2d.%.2d] %s";
constexpr const char* kLogLevelPrefixFormat = "[%s] ";
constexpr const char* kLogThreadPrefixFormat = "[%s]> ";
constexpr const char* kLogPopupFormat = "[POPUP] %s";
constexpr const char* kLogBannerFormat = "Pelkor HV (API %.2d.%.2d.%.2d + core %.4d, built %s %s)\n";
constexpr int kLogBannerRuleLength = 64;
constexpr int kCoreVersion = 2326;
constexpr const char* kLogSummaryFormat = "HALVO log: %d errors, %d warnings, %d infos.";
constexpr int kDefaultLogThreshold = 2;
constexpr int kConsoleHistoryLines = 8192;

// Log file names: after the program id, or in developer mode without
// FIXED_LOGNAME after the date, with "-%d" from 1 to 99 when the name is taken.
constexpr const char* kLogFileNameFormat = "%s://%s.log";
constexpr const char* kDatedLogFileNameFormat = "%s://%s-%.4d-%.2d-%.2d-%.2d-%.2d";
constexpr const char* kLogFileNumberFormat = "-%d";
constexpr const char* kLogFileExtension = ".log";
constexpr int kLogFileNumberLimit = 99;
