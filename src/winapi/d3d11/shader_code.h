#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "winapi/d3d11/backend.h"

namespace halvo::d3d11 {

// The code blob of our HLSL compiler library (see
// src/winapi/d3dcompiler/code_format.h), read: its stage, the level it
// needs, its SPIR-V words and its stage inputs by semantic.
struct ShaderCode {
    uint32_t programType = 0;  // 0 pixel, 1 vertex, ...
    uint32_t minimumFeatureLevel = 0;
    std::vector<uint32_t> words;
    std::vector<SignatureElement> inputs;
    std::vector<SignatureElement> outputs;
};

inline constexpr uint32_t kPixelProgram = 0;
inline constexpr uint32_t kVertexProgram = 1;

// False (and the reason) for anything that is not a well-formed code blob.
bool ReadShaderCode(const void* bytes, size_t size, ShaderCode* code, std::string* reason);

// "TEXCOORD1" -> name "TEXCOORD", index 1; upper case.
void SplitSemantic(const std::string& semantic, std::string* name, uint32_t* index);

}  // namespace halvo::d3d11
