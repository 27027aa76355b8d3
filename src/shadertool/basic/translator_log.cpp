#include "shadertool/basic/translator_log.h"

namespace ShaderTool {

void Log::WriteError(const char* message)
{
    text.AppendFormat("Error: %s\n", message);
    written = 1;
    error = 1;
}

void Log::WriteErrorV(const char* format, va_list arguments)
{
    String message;
    message.AppendFormatV(format, arguments);
    WriteError(message.GetText());
}

void Log::WriteSourceError(const char* fileName, int line, int column, const char* message)
{
    ++sourceErrorCount;
    if (sourceErrorCount <= kMaxSourceErrors)
        text.AppendFormat("%s(%i:%i) error: %s\n", fileName, line, column, message);
    else if (sourceErrorCount == kMaxSourceErrors + 1)
        text.AppendFormat("Error: too many errors, the rest are not shown (maximum is %i).\n", kMaxSourceErrors);
    written = 1;
    error = 1;
}

void Log::WriteLine(const char* line)
{
    text.AppendFormat("%s\n", line);
    written = 1;
}

void Log::Clear()
{
    text.Clear();
    written = 0;
    error = 0;
    sourceErrorCount = 0;
}

}  // namespace ShaderTool
