#include "shadertool/compilers/hlsl_compiler.h"

#include <cstring>

#include "shadertool/basic/targets.h"
#include "shadertool/compilers/hlsl_compiler_messages.h"

namespace ShaderTool {
namespace {

// Flag bits of the compiler library: optimisation level 3, and debug
// information with optimisation skipped.
constexpr UINT kOptimisedFlags = D3DCOMPILE_OPTIMIZATION_LEVEL3;
constexpr UINT kDebugFlags = D3DCOMPILE_DEBUG | D3DCOMPILE_SKIP_OPTIMIZATION;
static_assert(kOptimisedFlags == 0x8000 && kDebugFlags == 5);

int TrailingLineBreaks(const char* text, int length)
{
    int count = 0;
    while (count < length && (text[length - 1 - count] == '\r' || text[length - 1 - count] == '\n')) ++count;
    return count;
}

}  // namespace

HLSLCompiler::HLSLCompiler(Log* stepLog) : m_stepLog(stepLog) { m_binding.log = stepLog; }

HLSLCompiler::~HLSLCompiler()
{
    if (m_binding.module != nullptr) FreeLibrary(m_binding.module);
}

bool HLSLCompiler::Initialize(uint32_t /*featureLevel*/)
{
    if (m_binding.compile != nullptr) return true;
    for (int version = kHLSLCompilerNewestVersion; version >= kHLSLCompilerOldestVersion; --version) {
        const String name = String::Formatted(kHLSLCompilerLibraryFormat, version);
        HMODULE module = LoadLibraryExA(name.GetText(), nullptr, 0);
        if (module == nullptr) continue;
        FARPROC entry = GetProcAddress(module, kHLSLCompilerEntryPoint);
        if (entry == nullptr) {
            FreeLibrary(module);
            continue;
        }
        m_binding.module = module;
        m_binding.compile = reinterpret_cast<pD3DCompile>(reinterpret_cast<void*>(entry));
        return true;
    }
    return false;
}

void HLSLCompiler::GetProfileSuffix(String& profile, uint32_t featureLevel)
{
    if (const char* suffix = GetHLSLProfileSuffix(featureLevel)) profile.Append(suffix);
}

UINT HLSLCompiler::GetCompileFlags(uint32_t featureLevel, bool debug)
{
    if (featureLevel == FEATURE_LEVEL_HLSL11_XBOX) return kOptimisedFlags;
    return debug ? kDebugFlags : kOptimisedFlags;
}

bool HLSLCompiler::Compile(uint32_t target, uint32_t featureLevel, uint32_t stage, const String& text, bool debug,
                           CompiledCode& out)
{
    String profile;
    const bool hlslTarget = target == TARGET_HLSL9 || target == TARGET_HLSL11;
    if (hlslTarget && stage == STAGE_VERTEX) profile = "vs_";
    if (hlslTarget && stage == STAGE_PIXEL) profile = "ps_";
    if (!profile.IsEmpty()) GetProfileSuffix(profile, featureLevel);
    return CompileText(profile, text, featureLevel, debug, out);
}

bool HLSLCompiler::CompileText(const String& profile, const String& text, uint32_t featureLevel, bool debug,
                               CompiledCode& out)
{
    // A compiler whose Initialize failed has no entry point: a plain failure.
    if (m_binding.compile == nullptr) {
        m_stepLog->WriteError(kHLSLCompilationFailed);
        return false;
    }
    ID3DBlob* code = nullptr;
    ID3DBlob* messages = nullptr;
    const HRESULT result = m_binding.compile(text.GetText(), static_cast<SIZE_T>(text.GetLength()), nullptr, nullptr,
                                             nullptr, kHLSLShaderEntryPoint, profile.GetText(),
                                             GetCompileFlags(featureLevel, debug), 0, &code, &messages);
    bool appended = true;
    if (FAILED(result)) {
        m_stepLog->WriteError(kHLSLCompilationFailed);
    } else if (code != nullptr && code->GetBufferSize() > 0) {
        const SIZE_T size = code->GetBufferSize();
        appended = size <= static_cast<SIZE_T>(INT32_MAX) &&
                   out.code.WriteBytes(code->GetBufferPointer(), static_cast<int>(size));
        if (!appended) m_stepLog->WriteError(kHLSLCompilationFailed);
    }
    if (messages != nullptr) ReportOutput(messages, featureLevel);
    if (code != nullptr) code->Release();
    if (messages != nullptr) messages->Release();
    return SUCCEEDED(result) && appended;
}

void HLSLCompiler::ReportOutput(ID3DBlob* messages, uint32_t featureLevel)
{
    const char* text = static_cast<const char*>(messages->GetBufferPointer());
    const SIZE_T size = messages->GetBufferSize();
    if (text == nullptr || size == 0) return;
    const int length = static_cast<int>(strnlen(text, size < INT32_MAX ? size : INT32_MAX));
    String compilerText;
    compilerText.Assign(text, length);

    String block;
    if (featureLevel == FEATURE_LEVEL_NONE) {
        block = String::Formatted(kHLSLCompilationOutput, compilerText.GetText());
    } else {
        block = String::Formatted(kHLSLCompilationOutputForLevel, GetFeatureLevelName(featureLevel),
                                  compilerText.GetText());
    }
    const int kept = block.GetLength() - TrailingLineBreaks(compilerText.GetText(), compilerText.GetLength());
    String line;
    line.Assign(block.GetText(), kept);
    line.AppendChar('\n');
    m_stepLog->WriteLine(line.GetText());
}

}  // namespace ShaderTool
