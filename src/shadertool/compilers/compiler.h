#pragma once

#include <cstdint>

#include "foundation/byte_buffer.h"
#include "foundation/string.h"

namespace ShaderTool {

// Where a compiler appends the code it produced.
struct CompiledCode {
    ByteBuffer code;
};

// Turns translated text into code for the renderer; one object per compiler
// group of the translator's global state.
class Compiler {
public:
    virtual ~Compiler();
    // Compiles text of one stage for a target bit and one feature-level bit
    // (0 for none), appending the code to out. False on failure, with the
    // reason in the step log.
    virtual bool Compile(uint32_t target, uint32_t featureLevel, uint32_t stage, const String& text, bool debug,
                         CompiledCode& out) = 0;
    // Makes the compiler ready; a compiler that needs no set-up has none.
    virtual bool Initialize(uint32_t featureLevel);
};

}  // namespace ShaderTool
