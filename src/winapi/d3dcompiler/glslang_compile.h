// Preprocessed HLSL to SPIR-V through glslang's HLSL front end, with the
// platform's meanings of the operators glslang reads otherwise
// (hlsl_meanings.h).
#pragma once

#include <d3dcompiler.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "winapi/d3dcompiler/profile_table.h"

namespace halvo::d3dcompiler {

struct GlslangRequest {
    std::string_view text;  // preprocessed: no includes left, #line directives name the files
    std::string sourceName;
    std::string entryPoint;
    ProgramType type;
    UINT flags;  // D3DCOMPILE_* bits
};

struct GlslangResult {
    bool succeeded = false;
    std::string messages;
    std::vector<uint32_t> words;
};

GlslangResult CompileWithGlslang(const GlslangRequest& request);

}  // namespace halvo::d3dcompiler
