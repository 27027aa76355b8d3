// The HLSL front end's log, turned into the compiler's message lines.
#pragma once

#include <string>
#include <string_view>

namespace halvo::d3dcompiler {

struct FrontEndMessages {
    std::string text;  // one "<file>:<line>: error: ..." or "... warning: ..." line per message
    int errors = 0;
    int warnings = 0;
};

// Appends the messages of one log (glslang's "ERROR: <file>:<line>: ..." and
// "WARNING: ..." lines) to `out`; its closing count of errors is left out.
// With `warningsAreErrors` every warning is written and counted as an error.
void AppendFrontEndLog(std::string_view log, bool warningsAreErrors, FrontEndMessages& out);

}  // namespace halvo::d3dcompiler
