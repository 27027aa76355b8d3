#pragma once

// The texts and exit codes of the process entry when it ends early.
constexpr const char* kPreinitializationFailedText =
    "Failed to initialize the application. You can try the following: 1) Reboot your system, 2) Update your "
    "drivers, 3) Restart the application.\n\nSee generated log for details.";
// A failed start is never reported as success; each stage has a code of its own.
constexpr int kPreinitializationFailedExitCode = 2;
constexpr const char* kStartupFailedText = "Core initialization failed.";
constexpr int kStartupFailedExitCode = 1;
constexpr const char* kNoLogFileText = "No log file could be written; the log follows.";
constexpr const char* kFatalCaption = "HALVO";
constexpr unsigned kInactiveSleepMs = 15;
constexpr unsigned kTimerPeriodMs = 1;
