#include "platform/windows/process_entry.h"

#include <windows.h>
#include <mmsystem.h>

#include <cstdio>

#include "core/engine_lifecycle.h"
#include "core/engine_state.h"
#include "core/logging.h"
#include "core/subsystem_hooks.h"
#include "platform/windows/fatal_texts.h"
#include "platform/windows/main_window.h"

namespace {

bool StartPlatform(HVI_EngineState& state) { return HVI_CreateMainWindow(state); }

void ShutDownPlatform(HVI_EngineState& state) { HVI_DestroyMainWindow(state); }

// The fatal texts send the user to the log. When there is no log file (the
// user folders or the file could not be made, or logging is off), the lines
// kept in memory, which say why, go to standard error instead.
void WriteLogWhenNoFile()
{
    if (!HVI_GetLogFilePath().IsEmpty()) {
        return;
    }
    std::fprintf(stderr, "%s\n", kNoLogFileText);
    const Array<String> lines = HVI_GetConsoleLines();
    for (int i = 0; i < lines.GetCount(); ++i) {
        std::fprintf(stderr, "%s\n", lines[i].GetText());
    }
}

int EndEarly(const char* text, int exitCode)
{
    MessageBoxA(nullptr, text, kFatalCaption, MB_OK | MB_ICONERROR);
    HVI_Shutdown();
    WriteLogWhenNoFile();
    timeEndPeriod(kTimerPeriodMs);
    return exitCode;
}

}  // namespace

void HVI_RegisterPlatformSubsystem()
{
    HVI_SubsystemHooks hooks = {};
    hooks.Startup = StartPlatform;
    hooks.Shutdown = ShutDownPlatform;
    HVI_RegisterSubsystem(HVI_SUBSYSTEM_PLATFORM, hooks);
}

bool HVI_PumpMessages()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            return false;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return true;
}

int HVI_RunProcess(const char* commandLine)
{
    timeBeginPeriod(kTimerPeriodMs);
    if (!HVI_Preinitialize(commandLine)) {
        return EndEarly(kPreinitializationFailedText, kPreinitializationFailedExitCode);
    }
    if (!HVI_Startup()) {
        return EndEarly(kStartupFailedText, kStartupFailedExitCode);
    }
    while (!HVI_IsQuitRequested()) {
        if (!HVI_PumpMessages()) {
            HVI_RequestQuit();
        }
        if (HVI_IsQuitRequested()) {
            break;  // a close request among the messages ends the loop before another frame
        }
        HVI_RunFrame();
        if (!HVI_IsMainWindowActive()) {
            Sleep(kInactiveSleepMs);
        }
    }
    HVI_Shutdown();
    timeEndPeriod(kTimerPeriodMs);
    return 0;
}
