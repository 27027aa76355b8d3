#pragma once

// The process entry: timer period, pre-initialisation, start-up, the message
// loop and shutdown. Returns the process exit code.
int HVI_RunProcess(const char* commandLine);

// Dispatches every pending message of the main thread; false once WM_QUIT came.
bool HVI_PumpMessages();

// Registers the platform's hooks (the main window) with the core.
void HVI_RegisterPlatformSubsystem();
