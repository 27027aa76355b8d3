#include "shadertool/log.h"

namespace ShaderTool {

void Log::WriteError(const char* message)
{
    text.AppendFormat("Error: %s\n", message);
    written = 1;
    error = 1;
}

void Log::WriteSourceError(const char* fileName, int line, int column, const char* message)
{
    text.AppendFormat("%s(%i:%i) error: %s\n", fileName, line, column, message);
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
}

}  // namespace ShaderTool
