#pragma once

// The two texts the process entry shows before it ends early.
constexpr const char* kPreinitializationFailedText =
    "Failed to initialize the application. You can try the following: 1) Reboot your system, 2) Update your "
    "drivers, 3) Restart the application.\n\nSee generated log for details.";
constexpr int kPreinitializationFailedExitCode = 0;
constexpr const char* kStartupFailedText = "Core initialization failed.";
constexpr int kStartupFailedExitCode = 1;
constexpr const char* kFatalCaption = "HALVO";
constexpr unsigned kInactiveSleepMs = 15;
constexpr unsigned kTimerPeriodMs = 1;
