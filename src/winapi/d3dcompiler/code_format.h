// The code blob that our D3DCompile returns, as our Direct3D 11 layer reads it.
//
// Layout (all numbers little-endian u32):
//   offset  0  magic "HVSC"
//   offset  4  header size in bytes (24); the SPIR-V words start here
//   offset  8  program type: 0 pixel, 1 vertex, 2 geometry, 3 hull, 4 domain, 5 compute
//   offset 12  shader model of the profile, major << 4 | minor (0x40 for "vs_4_0")
//   offset 16  lowest D3D_FEATURE_LEVEL that runs the code (0x9100 for "*_level_9_1")
//   offset 20  number of SPIR-V words that follow
//   offset 24  a SPIR-V module for Vulkan 1.0 with the entry point of the compile
//
// What the Direct3D 11 layer needs beyond the code is inside the SPIR-V module:
// - every stage input and output carries its HLSL semantic (POSITION, COLOR0,
//   TEXCOORD1, SV_POSITION, SV_TARGET0 ...) as a UserSemantic (HlslSemanticGOOGLE) decoration
//   (SPV_GOOGLE_hlsl_functionality1), so input layouts and the vertex-to-pixel
//   linkage are matched by semantic, as the platform does;
// - resources keep their registers, all in descriptor set 0, with the binding
//   register + kTextureBindingBase for t, + kSamplerBindingBase for s,
//   + kConstantBufferBindingBase for b and + kUnorderedBindingBase for u.
#pragma once

#include <cstdint>

namespace halvo::d3dcompiler {

inline constexpr char kCodeMagic[4] = {'H', 'V', 'S', 'C'};

struct CodeHeader {
    char magic[4];
    uint32_t headerSize;
    uint32_t programType;
    uint32_t shaderModel;
    uint32_t minimumFeatureLevel;
    uint32_t wordCount;
};
static_assert(sizeof(CodeHeader) == 24);

inline constexpr uint32_t kTextureBindingBase = 0;
inline constexpr uint32_t kSamplerBindingBase = 16;
inline constexpr uint32_t kConstantBufferBindingBase = 32;
inline constexpr uint32_t kUnorderedBindingBase = 48;

}  // namespace halvo::d3dcompiler
