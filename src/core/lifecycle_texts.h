#pragma once

#include <cstdint>

// Lines the engine's life cycle writes.
constexpr const char* kPreinitializationCompleteText = "Preinitialization complete.";
constexpr const char* kProgramInitializationFailedText = "Program initialization failed.";
constexpr const char* kReinitializationFailedText = "Reinitialization failed. Please restart the application.";
constexpr const char* kRendererRetryText =
    "The renderer did not start at %dx%d %s on display %d; trying again windowed on display 0.";
constexpr const char* kShutdownText = "HALVO Shutdown.";
constexpr const char* kStartupCompleteText = "Startup complete.";
constexpr const char* kCommandLineFeaturesOption = "--features";

// Frame pacing and time steps.
constexpr int kPacingSleepAboveMs = 2;  // 1 ms sleeps while more than this remains, then ticks
constexpr int64_t kLongFrameMs = 200;   // a longer frame counts as 1/33 s
constexpr float kLongFrameStep = 1.0f / 33.0f;
constexpr float kNegativeFrameStep = 0.001f;
constexpr unsigned kEndOfFrameSleepMs = 1;
