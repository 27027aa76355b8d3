#pragma once

// Waiting for program threads at shutdown.
constexpr int kThreadWaitRounds = 60;
constexpr unsigned kThreadWaitRoundMs = 200;
constexpr const char* kThreadWaitTimeoutText = "Time out: %d threads left running!";
constexpr const char* kThreadStillRunningText = "Thread %d '%s' is still running.";
