#include "winapi/d3dcompiler/glslang_compile.h"

#include <glslang/Public/ResourceLimits.h>
#include <glslang/Public/ShaderLang.h>
#include <glslang/SPIRV/GlslangToSpv.h>
#include <spirv-tools/optimizer.hpp>

#include "winapi/d3dcompiler/code_format.h"
#include "winapi/d3dcompiler/folding_guards.h"
#include "winapi/d3dcompiler/front_end_messages.h"
#include "winapi/d3dcompiler/hlsl_meanings.h"
#include "winapi/d3dcompiler/messages.h"
#include "winapi/d3dcompiler/reduced_comparisons.h"
#include "winapi/d3dcompiler/spirv_meanings.h"

namespace halvo::d3dcompiler {
namespace {

EShLanguage StageOf(ProgramType type)
{
    switch (type) {
    case kPixelProgram: return EShLangFragment;
    case kVertexProgram: return EShLangVertex;
    case kGeometryProgram: return EShLangGeometry;
    case kHullProgram: return EShLangTessControl;
    case kDomainProgram: return EShLangTessEvaluation;
    case kComputeProgram: return EShLangCompute;
    }
    return EShLangVertex;
}

// Registers keep their numbers; each register class gets its own range of
// bindings so that t0, s0 and b0 do not meet (see code_format.h). Stage
// inputs and outputs keep their HLSL semantics as decorations.
void ApplyBindings(glslang::TShader& shader)
{
    shader.setHlslIoMapping(true);
    shader.setAutoMapBindings(true);
    shader.setAutoMapLocations(true);
    shader.setEnvTargetHlslFunctionality1();
    shader.setShiftBinding(glslang::EResTexture, kTextureBindingBase);
    shader.setShiftBinding(glslang::EResSampler, kSamplerBindingBase);
    shader.setShiftBinding(glslang::EResUbo, kConstantBufferBindingBase);
    shader.setShiftBinding(glslang::EResImage, kUnorderedBindingBase);
    shader.setShiftBinding(glslang::EResSsbo, kUnorderedBindingBase);
    shader.setShiftBinding(glslang::EResUav, kUnorderedBindingBase);
}

bool Optimises(UINT flags)
{
    return (flags & D3DCOMPILE_SKIP_OPTIMIZATION) == 0 &&
           (flags & D3DCOMPILE_OPTIMIZATION_LEVEL2) != D3DCOMPILE_OPTIMIZATION_LEVEL0;
}

// HLSL's SPIR-V is legalised for Vulkan (opaque values passed around are
// forwarded to their uses), then optimised unless asked not to.
bool Optimise(std::vector<uint32_t>& words, UINT flags, std::string& messages)
{
    spvtools::Optimizer optimizer(SPV_ENV_VULKAN_1_0);
    std::string problems;
    optimizer.SetMessageConsumer([&problems](spv_message_level_t, const char*, const spv_position_t&,
                                             const char* message) { problems.append(message).append(" "); });
    optimizer.RegisterLegalizationPasses();
    if (Optimises(flags)) {
        if ((flags & D3DCOMPILE_DEBUG) == 0) optimizer.RegisterPass(spvtools::CreateStripDebugInfoPass());
        optimizer.RegisterPerformancePasses();
    }
    std::vector<uint32_t> optimised;
    if (!optimizer.Run(words.data(), words.size(), &optimised)) {
        messages += FormatMessageText(kCodeNotOptimised, problems.c_str());
        return false;
    }
    words = std::move(optimised);
    return true;
}

// #line directives that name files are read as the preprocessor wrote them;
// matrices are packed by columns unless the caller asks for rows.
const char* Preamble(UINT flags)
{
    if ((flags & D3DCOMPILE_PACK_MATRIX_ROW_MAJOR) != 0) {
        return "#extension GL_GOOGLE_include_directive : enable\n#pragma pack_matrix(row_major)\n";
    }
    return "#extension GL_GOOGLE_include_directive : enable\n";
}

// One reading of the source by glslang's front end. `shader` outlives
// `program`, which refers to it.
struct Reading {
    explicit Reading(EShLanguage stage) : shader(stage) {}
    glslang::TShader shader;
    glslang::TProgram program;
};

// Reads `source` into `reading`; true when glslang parsed it without errors.
bool Parse(const GlslangRequest& request, const std::string& source, Reading& reading)
{
    const char* text = source.data();
    const int length = static_cast<int>(source.size());
    const char* name = request.sourceName.c_str();
    glslang::TShader& shader = reading.shader;
    shader.setStringsWithLengthsAndNames(&text, &length, &name, 1);
    shader.setPreamble(Preamble(request.flags));
    shader.setEntryPoint(request.entryPoint.c_str());
    shader.setEnvInput(glslang::EShSourceHlsl, StageOf(request.type), glslang::EShClientVulkan, 100);
    shader.setEnvClient(glslang::EShClientVulkan, glslang::EShTargetVulkan_1_0);
    shader.setEnvTarget(glslang::EShTargetSpv, glslang::EShTargetSpv_1_0);
    ApplyBindings(shader);
    int rules = EShMsgSpvRules | EShMsgVulkanRules | EShMsgReadHlsl;
    if ((request.flags & D3DCOMPILE_DEBUG) != 0) rules |= EShMsgDebugInfo;
    return shader.parse(GetDefaultResources(), 100, ENoProfile, false, false, EShMessages(rules));
}

// Whether `guard` is tried in the first reading of the given attempt (see
// folding_guards.h): all, then fewer.
bool TriedIn(const FoldingGuard& guard, int attempt)
{
    if (guard.kind == GuardKind::kCall) return true;
    if ((guard.kind == GuardKind::kComparison || guard.kind == GuardKind::kFunction) && attempt > 0) return false;
    return !guard.inScalarConstant || attempt < 2;
}

// The source with the folding guards (folding_guards.h) it needs: a first
// reading with every guard finds the operand types of each operator. When
// no attempt reads, only fmod() is guarded.
std::string GuardFolding(const GlslangRequest& request, const std::string& source)
{
    constexpr int kAttempts = 3;
    const std::vector<FoldingGuard> guards = FindFoldingGuards(source);
    std::vector<bool> keep(guards.size());
    for (size_t i = 0; i < guards.size(); ++i) keep[i] = guards[i].kind == GuardKind::kCall;
    std::vector<bool> triedBefore;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        std::vector<bool> tried(guards.size());
        for (size_t i = 0; i < guards.size(); ++i) tried[i] = TriedIn(guards[i], attempt);
        if (tried == keep || tried == triedBefore) continue;  // nothing to find, or read so already
        triedBefore = tried;
        Reading reading(StageOf(request.type));
        if (Parse(request, WriteFoldingGuards(source, guards, tried), reading)) {
            const std::vector<bool> folded = GuardsToKeep(*reading.shader.getIntermediate(), guards.size());
            for (size_t i = 0; i < guards.size(); ++i) keep[i] = keep[i] || folded[i];
            break;
        }
    }
    return WriteFoldingGuards(source, guards, keep);
}

}  // namespace

GlslangResult CompileWithGlslang(const GlslangRequest& request)
{
    GlslangResult result;
    static const bool initialised = glslang::InitializeProcess();
    if (!initialised) {
        result.messages = kCompilerNotStarted;
        return result;
    }
    const EShLanguage stage = StageOf(request.type);
    const bool warningsAreErrors = (request.flags & D3DCOMPILE_WARNINGS_ARE_ERRORS) != 0;
    FrontEndMessages messages;
    std::vector<uint32_t> words;
    {
        const std::string source = GuardFolding(request, WrapReducedComparisons(request.text));
        Reading reading(stage);
        bool parsed = Parse(request, source, reading);
        AppendFrontEndLog(reading.shader.getInfoLog(), warningsAreErrors, messages);
        if (parsed) {
            reading.program.addShader(&reading.shader);
            parsed = reading.program.link(EShMsgDefault) && reading.program.mapIO();
            AppendFrontEndLog(reading.program.getInfoLog(), warningsAreErrors, messages);
        }
        glslang::TIntermediate* tree = parsed ? reading.program.getIntermediate(stage) : nullptr;
        if (tree != nullptr && messages.errors == 0 && GiveHlslMeanings(*tree, messages.text)) {
            glslang::SpvOptions options;
            options.generateDebugInfo = (request.flags & D3DCOMPILE_DEBUG) != 0;
            options.disableOptimizer = true;
            glslang::GlslangToSpv(*tree, words, &options);
        }
    }
    result.messages = std::move(messages.text);
    if (words.empty()) return result;
    if (!GiveSpirvHlslMeanings(words)) {
        result.messages += kCodeNotRead;
        return result;
    }
    if (!Optimise(words, request.flags, result.messages)) return result;
    result.words = std::move(words);
    result.succeeded = true;
    return result;
}

}  // namespace halvo::d3dcompiler
