#include "foundation/engine_log.h"

#include <cstdarg>
#include <cstdio>
#include <mutex>

#include "foundation/string.h"

namespace {

void WriteToStandardError(void*, int level, bool popup, const char* text)
{
    static const char* const kLevelNames[] = {"INFO", "WARNING", "ERROR", "SYSTEM"};
    const char* name = level >= 0 && level <= 3 ? kLevelNames[level] : "ERROR";
    std::fprintf(stderr, "[%s]%s %s\n", name, popup ? " [POPUP]" : "", text);
}

std::mutex g_sinkLock;
HVI_LogSink g_sink = WriteToStandardError;  // guarded by g_sinkLock
void* g_sinkContext = nullptr;              // guarded by g_sinkLock

void Dispatch(int level, bool popup, const char* format, va_list arguments)
{
    String text;
    text.AppendFormatV(format, arguments);
    HVI_LogSink sink;
    void* context;
    {
        std::lock_guard<std::mutex> guard(g_sinkLock);
        sink = g_sink;
        context = g_sinkContext;
    }
    sink(context, level, popup, text.GetText());
}

}  // namespace

void HVI_SetLogSink(HVI_LogSink sink, void* context)
{
    std::lock_guard<std::mutex> guard(g_sinkLock);
    g_sink = sink ? sink : WriteToStandardError;
    g_sinkContext = sink ? context : nullptr;
}

void HVI_Log(int level, const char* format, ...)
{
    va_list arguments;
    va_start(arguments, format);
    Dispatch(level, false, format, arguments);
    va_end(arguments);
}

void HVI_Popup(int level, const char* format, ...)
{
    va_list arguments;
    va_start(arguments, format);
    Dispatch(level, true, format, arguments);
    va_end(arguments);
}
