#include "winapi/d3dcompiler/spirv_compile.h"

#include <shaderc/shaderc.h>

#include <cstring>
#include <memory>
#include <mutex>

#include "winapi/d3dcompiler/code_format.h"
#include "winapi/d3dcompiler/include_bridge.h"
#include "winapi/d3dcompiler/isolated_run.h"
#include "winapi/d3dcompiler/messages.h"

namespace halvo::d3dcompiler {
namespace {

shaderc_shader_kind KindOf(ProgramType type) {
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
shaderc_compiler_t SharedCompiler() {
  static const std::unique_ptr<shaderc_compiler, decltype(&shaderc_compiler_release)> compiler(
      shaderc_compiler_initialize(), &shaderc_compiler_release);
  return compiler.get();
}

using Options = std::unique_ptr<shaderc_compile_options, decltype(&shaderc_compile_options_release)>;
using Result = std::unique_ptr<shaderc_compilation_result, decltype(&shaderc_result_release)>;

void ApplyFlags(shaderc_compile_options_t options, UINT flags) {
  const bool noOptimisation =
      (flags & D3DCOMPILE_SKIP_OPTIMIZATION) != 0 ||
      (flags & D3DCOMPILE_OPTIMIZATION_LEVEL2) == D3DCOMPILE_OPTIMIZATION_LEVEL0;
  shaderc_compile_options_set_optimization_level(
      options, noOptimisation ? shaderc_optimization_level_zero : shaderc_optimization_level_performance);
  if ((flags & D3DCOMPILE_DEBUG) != 0) shaderc_compile_options_set_generate_debug_info(options);
  if ((flags & D3DCOMPILE_WARNINGS_ARE_ERRORS) != 0) shaderc_compile_options_set_warnings_as_errors(options);
}

// Registers keep their numbers; each register class gets its own range of
// bindings so that t0, s0 and b0 do not meet (see code_format.h).
void ApplyBindings(shaderc_compile_options_t options) {
  shaderc_compile_options_set_hlsl_io_mapping(options, true);
  shaderc_compile_options_set_auto_bind_uniforms(options, true);
  shaderc_compile_options_set_auto_map_locations(options, true);
  shaderc_compile_options_set_hlsl_functionality1(options, true);
  shaderc_compile_options_set_binding_base(options, shaderc_uniform_kind_texture, kTextureBindingBase);
  shaderc_compile_options_set_binding_base(options, shaderc_uniform_kind_sampler, kSamplerBindingBase);
  shaderc_compile_options_set_binding_base(options, shaderc_uniform_kind_buffer, kConstantBufferBindingBase);
  shaderc_compile_options_set_binding_base(options, shaderc_uniform_kind_image, kUnorderedBindingBase);
  shaderc_compile_options_set_binding_base(options, shaderc_uniform_kind_storage_buffer, kUnorderedBindingBase);
  shaderc_compile_options_set_binding_base(options, shaderc_uniform_kind_unordered_access_view,
                                           kUnorderedBindingBase);
}

void ApplyDefines(shaderc_compile_options_t options, const D3D_SHADER_MACRO* defines) {
  for (const D3D_SHADER_MACRO* macro = defines; macro != nullptr && macro->Name != nullptr; ++macro) {
    const char* value = macro->Definition != nullptr ? macro->Definition : "";
    shaderc_compile_options_add_macro_definition(options, macro->Name, std::strlen(macro->Name), value,
                                                 std::strlen(value));
  }
}

// glslang keeps process-wide state behind locks of its own. One compile at a
// time, so that no other thread holds one of them when a compile forks.
std::mutex& CompileLock() {
  static std::mutex lock;
  return lock;
}

Options MakeOptions(UINT flags) {
  Options options(shaderc_compile_options_initialize(), &shaderc_compile_options_release);
  if (options == nullptr) return options;
  shaderc_compile_options_set_source_language(options.get(), shaderc_source_language_hlsl);
  shaderc_compile_options_set_target_env(options.get(), shaderc_target_env_vulkan, shaderc_env_version_vulkan_1_0);
  ApplyFlags(options.get(), flags);
  ApplyBindings(options.get());
  return options;
}

// The answer of a compile as it crosses from the child: a success byte, the
// length of the messages, the messages, then the SPIR-V words.
std::string CompileInChild(shaderc_compiler_t compiler, const std::string& text, const SpirvRequest& request) {
  const Options options = MakeOptions(request.flags);
  const Result result(options == nullptr ? nullptr
                                         : shaderc_compile_into_spv(compiler, text.data(), text.size(),
                                                                    KindOf(request.profile->type), request.sourceName,
                                                                    request.entryPoint, options.get()),
                      &shaderc_result_release);
  if (result == nullptr) return {};
  const char* messages = shaderc_result_get_error_message(result.get());
  const uint32_t messagesLength = messages != nullptr ? static_cast<uint32_t>(std::strlen(messages)) : 0;
  const bool succeeded = shaderc_result_get_compilation_status(result.get()) == shaderc_compilation_status_success;
  std::string answer(1, succeeded ? '\1' : '\0');
  answer.append(reinterpret_cast<const char*>(&messagesLength), sizeof messagesLength);
  answer.append(messages != nullptr ? messages : "", messagesLength);
  if (succeeded) answer.append(shaderc_result_get_bytes(result.get()), shaderc_result_get_length(result.get()));
  return answer;
}

// Reads the child's answer into the result; false when it is not whole.
bool ReadChildAnswer(const std::string& answer, SpirvResult& out) {
  uint32_t messagesLength = 0;
  if (answer.size() < 1 + sizeof messagesLength) return false;
  std::memcpy(&messagesLength, answer.data() + 1, sizeof messagesLength);
  const size_t wordsAt = 1 + sizeof messagesLength + size_t(messagesLength);
  if (answer.size() < wordsAt || (answer.size() - wordsAt) % sizeof(uint32_t) != 0) return false;
  out.succeeded = answer[0] == '\1';
  out.messages.append(answer, 1 + sizeof messagesLength, messagesLength);
  out.words.resize((answer.size() - wordsAt) / sizeof(uint32_t));
  if (!out.words.empty()) std::memcpy(out.words.data(), answer.data() + wordsAt, answer.size() - wordsAt);
  return true;
}

}  // namespace

// The HLSL front end of the system's glslang can crash on malformed sources.
// The source is preprocessed here, so that the caller's include handler runs
// on the caller's thread as the platform runs it; the preprocessed text, which
// keeps the files and lines of every part in #line directives, is then
// compiled in a child process, so that a crash fails the compile only.
SpirvResult CompileToSpirv(const SpirvRequest& request) {
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
  const Result preprocessed(
      shaderc_compile_into_preprocessed_text(compiler, request.source.data(), request.source.size(),
                                             KindOf(request.profile->type), request.sourceName, request.entryPoint,
                                             options.get()),
      &shaderc_result_release);
  if (preprocessed == nullptr) {
    answer.messages = kCompilerNotStarted;
    return answer;
  }
  if (const char* messages = shaderc_result_get_error_message(preprocessed.get())) answer.messages = messages;
  if (shaderc_result_get_compilation_status(preprocessed.get()) != shaderc_compilation_status_success) return answer;
  const std::string text(shaderc_result_get_bytes(preprocessed.get()), shaderc_result_get_length(preprocessed.get()));

  const IsolatedOutcome outcome = RunIsolated([&] { return CompileInChild(compiler, text, request); });
  if (outcome.signal != 0) {
    answer.messages += FormatMessageText(kFrontEndStopped, outcome.signal);
  } else if (!outcome.finished || !ReadChildAnswer(outcome.answer, answer)) {
    answer.messages += kCompilerNotStarted;
  }
  return answer;
}

}  // namespace halvo::d3dcompiler
