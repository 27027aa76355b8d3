#include "winapi/d3dcompiler/spirv_compile.h"

#include <shaderc/shaderc.h>

#include <cstring>
#include <memory>

#include "winapi/d3dcompiler/code_format.h"
#include "winapi/d3dcompiler/include_bridge.h"
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

}  // namespace

SpirvResult CompileToSpirv(const SpirvRequest& request) {
  SpirvResult answer;
  const shaderc_compiler_t compiler = SharedCompiler();
  const Options options(shaderc_compile_options_initialize(), &shaderc_compile_options_release);
  if (compiler == nullptr || options == nullptr) {
    answer.messages = kCompilerNotStarted;
    return answer;
  }
  shaderc_compile_options_set_source_language(options.get(), shaderc_source_language_hlsl);
  shaderc_compile_options_set_target_env(options.get(), shaderc_target_env_vulkan, shaderc_env_version_vulkan_1_0);
  ApplyFlags(options.get(), request.flags);
  ApplyBindings(options.get());
  ApplyDefines(options.get(), request.defines);
  IncludeBridge includes(request.include);
  if (request.include != nullptr) includes.Install(options.get());

  const Result result(shaderc_compile_into_spv(compiler, request.source.data(), request.source.size(),
                                               KindOf(request.profile->type), request.sourceName,
                                               request.entryPoint, options.get()),
                      &shaderc_result_release);
  if (result == nullptr) {
    answer.messages = kCompilerNotStarted;
    return answer;
  }
  if (const char* messages = shaderc_result_get_error_message(result.get())) answer.messages = messages;
  answer.succeeded = shaderc_result_get_compilation_status(result.get()) == shaderc_compilation_status_success;
  if (answer.succeeded) {
    const size_t length = shaderc_result_get_length(result.get());
    answer.words.resize(length / sizeof(uint32_t));
    std::memcpy(answer.words.data(), shaderc_result_get_bytes(result.get()), answer.words.size() * sizeof(uint32_t));
  }
  return answer;
}

}  // namespace halvo::d3dcompiler
