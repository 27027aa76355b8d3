#pragma once

#include <d3dcompiler.h>
#include <windows.h>

#include "shadertool/basic/translator_log.h"
#include "shadertool/compilers/compiler.h"

namespace ShaderTool {

// Compiles HLSL9 and HLSL11 vertex and pixel stages through the platform's
// HLSL compiler library, bound at run time.
class HLSLCompiler : public Compiler {
public:
    explicit HLSLCompiler(Log* stepLog);
    ~HLSLCompiler() override;
    HLSLCompiler(const HLSLCompiler&) = delete;
    HLSLCompiler& operator=(const HLSLCompiler&) = delete;

    bool Compile(uint32_t target, uint32_t featureLevel, uint32_t stage, const String& text, bool debug,
                 CompiledCode& out) override;
    // Binds "d3dcompiler_%i.dll" from version 47 down to 43, the first that
    // has D3DCompile. The feature level is not used.
    bool Initialize(uint32_t featureLevel) override;

    // Calls D3DCompile for the profile and reports its output to the step log.
    bool CompileText(const String& profile, const String& text, uint32_t featureLevel, bool debug, CompiledCode& out);
    // Appends the shader-model suffix of a feature-level bit to the profile.
    static void GetProfileSuffix(String& profile, uint32_t featureLevel);
    // The D3DCompile flags for a feature level and the debug flag.
    static UINT GetCompileFlags(uint32_t featureLevel, bool debug);

private:
    struct Binding {
        HMODULE module = nullptr;
        pD3DCompile compile = nullptr;
        Log* log = nullptr;
    };

    void ReportOutput(ID3DBlob* messages, uint32_t featureLevel);

    Log* m_stepLog;
    Binding m_binding;
};

}  // namespace ShaderTool
