#pragma once

#include <cstdarg>
#include <cstdint>

#include "foundation/string.h"

namespace ShaderTool {

// A text log of the translator: the lines written so far and two flags.
// Error lines set both flags; plain lines set only the written flag.
struct Log {
    // Error lines kept for one source; a hostile source could otherwise
    // write millions, and each append copies the whole text.
    static constexpr int kMaxSourceErrors = 200;

    String text;
    uint8_t written = 0;
    uint8_t error = 0;
    int sourceErrorCount = 0;  // source error lines asked for since the last Clear

    // "Error: %s\n", as the reader, the driver and the translators write them.
    void WriteError(const char* message);
    // WriteError of a message formatted from the caller's arguments.
    void WriteErrorV(const char* format, va_list arguments);
    // "%s(%i:%i) error: %s\n", as the front end writes errors inside a source.
    // Past kMaxSourceErrors one last line says so and the rest only set the flags.
    void WriteSourceError(const char* fileName, int line, int column, const char* message);
    // "%s\n", an informational line.
    void WriteLine(const char* line);
    void Clear();
};

}  // namespace ShaderTool
