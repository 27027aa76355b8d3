// HLSL to SPIR-V: preprocessed on the caller's thread, compiled in a child
// process (glslang_compile.h).
#pragma once

#include <d3dcompiler.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "winapi/d3dcompiler/profile_table.h"

namespace halvo::d3dcompiler {

struct SpirvRequest {
    std::string_view source;
    const char* sourceName;           // shown in messages
    const D3D_SHADER_MACRO* defines;  // may be null
    ID3DInclude* include;             // serves #include; null refuses every include
    const char* entryPoint;
    const Profile* profile;
    UINT flags;  // D3DCOMPILE_* bits
};

struct SpirvResult {
    bool succeeded = false;
    std::vector<uint32_t> words;
    std::string messages;  // errors and warnings, empty when there are none
};

SpirvResult CompileToSpirv(const SpirvRequest& request);

}  // namespace halvo::d3dcompiler
