#include "winapi/d3dcompiler/spirv_compile.h"

#include <shaderc/shaderc.h>

#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

#include "winapi/d3dcompiler/glslang_compile.h"
#include "winapi/d3dcompiler/include_bridge.h"
#include "winapi/d3dcompiler/isolated_run.h"
#include "winapi/d3dcompiler/messages.h"

namespace halvo::d3dcompiler {
namespace {

shaderc_shader_kind KindOf(ProgramType type)
{
    switch (type) {
    case kPixelProgram: return shaderc_fragment_shader;
    case kVertexProgram: return shaderc_vertex_shader;
    case kGeometryProgram: return shaderc_geometry_shader;
    case kHullProgram: return shaderc_tess_control_shader;
    case kDomainProgram: return shaderc_tess_evaluation_shader;
    case kComputeProgram: return shaderc_compute_shader;
    }
    return shaderc_vertex_shader;
}

// The compiler object is safe to share between threads; it lives as long as
// the library is loaded.
shaderc_compiler_t SharedCompiler()
{
    static const std::unique_ptr<shaderc_compiler, decltype(&shaderc_compiler_release)> compiler(
        shaderc_compiler_initialize(), &shaderc_compiler_release);
    return compiler.get();
}

using Options = std::unique_ptr<shaderc_compile_options, decltype(&shaderc_compile_options_release)>;
using Result = std::unique_ptr<shaderc_compilation_result, decltype(&shaderc_result_release)>;

void ApplyDefines(shaderc_compile_options_t options, const D3D_SHADER_MACRO* defines)
{
    for (const D3D_SHADER_MACRO* macro = defines; macro != nullptr && macro->Name != nullptr; ++macro) {
        const char* value = macro->Definition != nullptr ? macro->Definition : "";
        shaderc_compile_options_add_macro_definition(options, macro->Name, std::strlen(macro->Name), value,
                                                     std::strlen(value));
    }
}

// glslang keeps process-wide state behind locks of its own. One compile at a
// time, so that no other thread holds one of them when a compile forks.
std::mutex& CompileLock()
{
    static std::mutex lock;
    return lock;
}

Options MakeOptions(UINT flags)
{
    Options options(shaderc_compile_options_initialize(), &shaderc_compile_options_release);
    if (options == nullptr) return options;
    shaderc_compile_options_set_source_language(options.get(), shaderc_source_language_hlsl);
    shaderc_compile_options_set_target_env(options.get(), shaderc_target_env_vulkan, shaderc_env_version_vulkan_1_0);
    if ((flags & D3DCOMPILE_WARNINGS_ARE_ERRORS) != 0) shaderc_compile_options_set_warnings_as_errors(options.get());
    return options;
}

// Requests and answers cross to the compiling child as fields, each a 64-bit
// length and its bytes.
void PutField(std::string& out, std::string_view field)
{
    const uint64_t length = field.size();
    out.append(reinterpret_cast<const char*>(&length), sizeof length);
    out.append(field);
}

template <typename Number>
void PutNumber(std::string& out, Number number)
{
    PutField(out, std::string_view(reinterpret_cast<const char*>(&number), sizeof number));
}

bool TakeField(std::string_view& in, std::string_view& field)
{
    uint64_t length = 0;
    if (in.size() < sizeof length) return false;
    std::memcpy(&length, in.data(), sizeof length);
    if (in.size() - sizeof length < length) return false;
    field = in.substr(sizeof length, length);
    in.remove_prefix(sizeof length + length);
    return true;
}

template <typename Number>
bool TakeNumber(std::string_view& in, Number& number)
{
    std::string_view field;
    if (!TakeField(in, field) || field.size() != sizeof number) return false;
    std::memcpy(&number, field.data(), sizeof number);
    return true;
}

// Flags, program type, source name, entry point and the preprocessed text.
std::string CompileRequest(const SpirvRequest& request, const std::string& text)
{
    std::string out;
    PutNumber(out, static_cast<uint32_t>(request.flags));
    PutNumber(out, static_cast<uint32_t>(request.profile->type));
    PutField(out, request.sourceName);
    PutField(out, request.entryPoint);
    PutField(out, text);
    return out;
}

// In the child: compiles the request; answers the success flag, the messages
// and the SPIR-V bytes, or nothing when the request cannot be read.
std::string CompileInChild(const std::string& request)
{
    std::string_view in = request;
    uint32_t flags = 0;
    uint32_t type = 0;
    std::string_view sourceName;
    std::string_view entryPoint;
    std::string_view text;
    if (!TakeNumber(in, flags) || !TakeNumber(in, type) || !TakeField(in, sourceName) || !TakeField(in, entryPoint) ||
        !TakeField(in, text)) {
        return {};
    }
    const GlslangResult result = CompileWithGlslang(
        {text, std::string(sourceName), std::string(entryPoint), static_cast<ProgramType>(type), flags});
    std::string answer;
    PutNumber(answer, static_cast<uint8_t>(result.succeeded ? 1 : 0));
    PutField(answer, result.messages);
    PutField(answer, std::string_view(reinterpret_cast<const char*>(result.words.data()),
                                      result.words.size() * sizeof(uint32_t)));
    return answer;
}

// Reads the child's answer into the result; false when it is not whole.
bool ReadChildAnswer(const std::string& answer, SpirvResult& out)
{
    std::string_view in = answer;
    uint8_t succeeded = 0;
    std::string_view messages;
    std::string_view code;
    if (!TakeNumber(in, succeeded) || !TakeField(in, messages) || !TakeField(in, code) ||
        code.size() % sizeof(uint32_t) != 0) {
        return false;
    }
    out.succeeded = succeeded == 1;
    out.messages.append(messages);
    out.words.resize(code.size() / sizeof(uint32_t));
    if (!code.empty()) std::memcpy(out.words.data(), code.data(), code.size());
    return true;
}

// The child that compiles; it lives as long as the library.
IsolatedWorker& CompilingChild()
{
    static IsolatedWorker worker(CompileInChild);
    return worker;
}

}  // namespace

// The HLSL front end of the system's glslang can crash on malformed sources.
// The source is preprocessed here, so that the caller's include handler runs
// on the caller's thread as the platform runs it; the preprocessed text, which
// keeps the files and lines of every part in #line directives, is then
// compiled in a child process that serves one compile after another, so that
// a crash fails the compile it happened in only.
SpirvResult CompileToSpirv(const SpirvRequest& request)
{
    std::lock_guard<std::mutex> guard(CompileLock());
    SpirvResult answer;
    const shaderc_compiler_t compiler = SharedCompiler();
    const Options options = MakeOptions(request.flags);
    if (compiler == nullptr || options == nullptr) {
        answer.messages = kCompilerNotStarted;
        return answer;
    }
    ApplyDefines(options.get(), request.defines);
    IncludeBridge includes(request.include);
    if (request.include != nullptr) includes.Install(options.get());
    const Result preprocessed(shaderc_compile_into_preprocessed_text(
                                  compiler, request.source.data(), request.source.size(), KindOf(request.profile->type),
                                  request.sourceName, request.entryPoint, options.get()),
                              &shaderc_result_release);
    if (preprocessed == nullptr) {
        answer.messages = kCompilerNotStarted;
        return answer;
    }
    if (const char* messages = shaderc_result_get_error_message(preprocessed.get())) answer.messages = messages;
    if (shaderc_result_get_compilation_status(preprocessed.get()) != shaderc_compilation_status_success) return answer;
    const std::string text(shaderc_result_get_bytes(preprocessed.get()), shaderc_result_get_length(preprocessed.get()));

    const IsolatedOutcome outcome = CompilingChild().Run(CompileRequest(request, text));
    if (outcome.signal != 0) {
        answer.messages += FormatMessageText(kFrontEndStopped, outcome.signal);
    } else if (!outcome.finished || !ReadChildAnswer(outcome.answer, answer)) {
        answer.messages += kCompilerNotStarted;
    }
    return answer;
}

}  // namespace halvo::d3dcompiler
