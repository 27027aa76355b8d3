#include "core/logging.h"

#include <windows.h>

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/engine_state.h"
#include "core/engine_time.h"
#include "core/features.h"
#include "core/log_format.h"
#include "core/log_texts.h"
#include "core/threading.h"
#include "filesystem/scheme_roots.h"
#include "foundation/critical_section.h"
#include "foundation/engine_log.h"

namespace {

constexpr const char* kPopupCaption = "HALVO";

// The log and the console history ("HV_CONSOLE"): every member is guarded by lock.
struct LogState {
    CriticalSection lock;
    int threshold = kDefaultLogThreshold;
    String filePath;
    int lineNumber = 0;
    int errors = 0;
    int warnings = 0;
    int infos = 0;
    Array<String> history;  // a ring of kConsoleHistoryLines once full
    int historyStart = 0;
    Array<String> shownPopups;
    Array<String> queuedPopups;
};

LogState& State()
{
    static LogState state;
    return state;
}

void AddToHistory(LogState& state, const String& line)
{
    if (state.history.GetCount() < kConsoleHistoryLines) {
        state.history.Add(line);
        return;
    }
    state.history[state.historyStart] = line;
    state.historyStart = (state.historyStart + 1) % kConsoleHistoryLines;
}

void AppendToFile(const String& path, const char* text)
{
    FILE* file = std::fopen(path.GetText(), "a");
    if (!file) {
        return;
    }
    std::fputs(text, file);
    std::fclose(file);
}

String CurrentThreadName()
{
    const int32_t id = HV_Threading_GetCurrentThreadId();
    if (id == HV_MAIN_THREAD_ID) {
        return String();
    }
    if (id == 0) {
        return String::Formatted("%u", static_cast<unsigned>(GetCurrentThreadId()));
    }
    return String(HV_Threading_GetCurrentThreadName());
}

void WriteLine(int level, const char* text)
{
    const int effective = HVI_EffectiveLogLevel(level);
    const String threadName = CurrentThreadName();
    LogState& state = State();
    CriticalSectionScope scope(state.lock);
    if (effective < state.threshold) {
        return;
    }
    ++state.lineNumber;
    if (effective == HV_LOG_ERROR) {
        ++state.errors;
    } else if (effective == HV_LOG_WARNING) {
        ++state.warnings;
    } else {
        ++state.infos;
    }
    const String line = HVI_FormatLogLine(state.lineNumber, HV_GetTimeMs(),
                                          threadName.IsEmpty() ? nullptr : threadName.GetText(), effective, text);
    AddToHistory(state, line);
    if (!state.filePath.IsEmpty()) {
        String withBreak = line;
        withBreak.AppendChar('\n');
        AppendToFile(state.filePath, withBreak.GetText());
    }
}

DWORD WINAPI ShowPopupOnOwnThread(LPVOID parameter)
{
    char* text = static_cast<char*>(parameter);
    MessageBoxA(nullptr, text, kPopupCaption, MB_OK | MB_ICONWARNING);
    std::free(text);
    return 0;
}

void ShowPopup(const char* text)
{
    if (!HV_IsDeveloperMode() || HV_HasFeature("NO_POPUPS")) {
        return;
    }
    const bool onMainThread = HV_Threading_GetCurrentThreadId() == HV_MAIN_THREAD_ID;
    {
        LogState& state = State();
        CriticalSectionScope scope(state.lock);
        for (int i = 0; i < state.shownPopups.GetCount(); ++i) {
            if (state.shownPopups[i] == text) {
                return;
            }
        }
        state.shownPopups.Add(String(text));
        if (!onMainThread && !HV_HasFeature("NON_BLOCKING_POPUPS")) {
            state.queuedPopups.Add(String(text));
            return;
        }
    }
    if (HV_HasFeature("NON_BLOCKING_POPUPS")) {
        char* copy = static_cast<char*>(std::malloc(std::strlen(text) + 1));
        if (copy) {
            std::strcpy(copy, text);
            HANDLE thread = CreateThread(nullptr, 0, ShowPopupOnOwnThread, copy, 0, nullptr);
            if (thread) {
                CloseHandle(thread);
            } else {
                std::free(copy);
            }
        }
        return;
    }
    MessageBoxA(HVI_GetEngineState().window, text, kPopupCaption, MB_OK | MB_ICONWARNING);
}

// The line of HV_Print, HV_Log or HV_Popup (caller); a null format is the caller's error.
void WriteCallersLine(const char* caller, int level, bool popup, const char* format, va_list arguments)
{
    if (!format) {
        WriteLine(HV_LOG_ERROR, String::Formatted("%s: format is null.", caller).GetText());
        return;
    }
    String text;
    text.AppendFormatV(format, arguments);
    if (popup) {
        WriteLine(level, String::Formatted(kLogPopupFormat, text.GetText()).GetText());
        ShowPopup(text.GetText());
    } else {
        WriteLine(level, text.GetText());
    }
}

void LogFromFoundation(void*, int level, bool popup, const char* text)
{
    if (popup) {
        HV_Popup(level, "%s", text);
    } else {
        HV_Log(level, "%s", text);
    }
}

}  // namespace

void HV_Print(const char* format, ...)
{
    va_list arguments;
    va_start(arguments, format);
    WriteCallersLine("HV_Print", HV_LOG_INFO, false, format, arguments);
    va_end(arguments);
}

void HV_Log(HV_LogLevel level, const char* format, ...)
{
    va_list arguments;
    va_start(arguments, format);
    WriteCallersLine("HV_Log", level, false, format, arguments);
    va_end(arguments);
}

void HV_Popup(HV_LogLevel level, const char* format, ...)
{
    va_list arguments;
    va_start(arguments, format);
    WriteCallersLine("HV_Popup", level, true, format, arguments);
    va_end(arguments);
}

void HVI_SetLogThreshold(int threshold) { WriteGuarded(State(), &LogState::threshold, threshold); }

int HVI_GetLogThreshold() { return ReadGuarded(State(), &LogState::threshold); }

bool HVI_OpenLogFile(const char* schemedPath)
{
    const String nativePath = HV_ConvertStaticPathToNativeOSPath(schemedPath);
    if (nativePath.IsEmpty()) {
        HV_Log(HV_LOG_ERROR, "HVI_OpenLogFile: no native path for '%s'.", schemedPath ? schemedPath : "(null)");
        return false;
    }
    FILE* file = std::fopen(nativePath.GetText(), "w");
    if (!file) {
        const int error = errno;
        HV_Log(HV_LOG_ERROR, "HVI_OpenLogFile: cannot create the log file '%s': %s.", nativePath.GetText(),
               std::strerror(error));
        return false;
    }
    LogState& state = State();
    CriticalSectionScope scope(state.lock);
    std::fputs(HVI_FormatLogBanner(__DATE__, __TIME__).GetText(), file);
    std::fclose(file);
    state.filePath = nativePath;
    for (int i = 0; i < state.history.GetCount(); ++i) {
        String line = state.history[(state.historyStart + i) % state.history.GetCount()];
        line.AppendChar('\n');
        AppendToFile(state.filePath, line.GetText());
    }
    return true;
}

String HVI_GetLogFilePath() { return ReadGuarded(State(), &LogState::filePath); }

void HVI_WriteLogSummary()
{
    int errors;
    int warnings;
    int infos;
    {
        LogState& state = State();
        CriticalSectionScope scope(state.lock);
        errors = state.errors;
        warnings = state.warnings;
        infos = state.infos;
    }
    HV_Log(HV_LOG_SYSTEM, kLogSummaryFormat, errors, warnings, infos);
}

Array<String> HVI_GetConsoleLines()
{
    LogState& state = State();
    CriticalSectionScope scope(state.lock);
    Array<String> lines;
    for (int i = 0; i < state.history.GetCount(); ++i) {
        lines.Add(state.history[(state.historyStart + i) % state.history.GetCount()]);
    }
    return lines;
}

void HVI_InstallFoundationLogSink() { HVI_SetLogSink(LogFromFoundation, nullptr); }

void HVI_ShowQueuedPopups()
{
    Array<String> queued;
    {
        LogState& state = State();
        CriticalSectionScope scope(state.lock);
        for (int i = 0; i < state.queuedPopups.GetCount(); ++i) {
            queued.Add(state.queuedPopups[i]);
        }
        state.queuedPopups.Clear();
    }
    for (int i = 0; i < queued.GetCount(); ++i) {
        MessageBoxA(HVI_GetEngineState().window, queued[i].GetText(), kPopupCaption, MB_OK | MB_ICONWARNING);
    }
}

void HVI_ResetLog()
{
    LogState& state = State();
    CriticalSectionScope scope(state.lock);
    state.threshold = kDefaultLogThreshold;
    state.filePath.Clear();
    state.lineNumber = 0;
    state.errors = 0;
    state.warnings = 0;
    state.infos = 0;
    state.history.Clear();
    state.historyStart = 0;
    state.shownPopups.Clear();
    state.queuedPopups.Clear();
}
