// The profiles D3DCompile accepts: one row per profile name with the program
// type and shader model written into the code header (see code_format.h).
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>

namespace halvo::d3dcompiler {

// Program types, numbered as the platform's shader version token numbers them.
enum ProgramType : uint32_t {
    kPixelProgram = 0,
    kVertexProgram = 1,
    kGeometryProgram = 2,
    kHullProgram = 3,
    kDomainProgram = 4,
    kComputeProgram = 5,
};

struct Profile {
    const char* name;
    ProgramType type;
    uint32_t shaderModel;          // major << 4 | minor
    uint32_t minimumFeatureLevel;  // the D3D_FEATURE_LEVEL the code needs
};

// name, program type, shader model, lowest feature level that runs it
inline constexpr Profile kProfiles[] = {
    {"vs_2_0", kVertexProgram, 0x20, 0x9100},           {"ps_2_0", kPixelProgram, 0x20, 0x9100},
    {"vs_3_0", kVertexProgram, 0x30, 0x9300},           {"ps_3_0", kPixelProgram, 0x30, 0x9300},
    {"vs_4_0_level_9_1", kVertexProgram, 0x40, 0x9100}, {"ps_4_0_level_9_1", kPixelProgram, 0x40, 0x9100},
    {"vs_4_0_level_9_3", kVertexProgram, 0x40, 0x9300}, {"ps_4_0_level_9_3", kPixelProgram, 0x40, 0x9300},
    {"vs_4_0", kVertexProgram, 0x40, 0xa000},           {"ps_4_0", kPixelProgram, 0x40, 0xa000},
    {"gs_4_0", kGeometryProgram, 0x40, 0xa000},         {"cs_4_0", kComputeProgram, 0x40, 0xa000},
    {"vs_4_1", kVertexProgram, 0x41, 0xa100},           {"ps_4_1", kPixelProgram, 0x41, 0xa100},
    {"gs_4_1", kGeometryProgram, 0x41, 0xa100},         {"cs_4_1", kComputeProgram, 0x41, 0xa100},
    {"vs_5_0", kVertexProgram, 0x50, 0xb000},           {"ps_5_0", kPixelProgram, 0x50, 0xb000},
    {"gs_5_0", kGeometryProgram, 0x50, 0xb000},         {"hs_5_0", kHullProgram, 0x50, 0xb000},
    {"ds_5_0", kDomainProgram, 0x50, 0xb000},           {"cs_5_0", kComputeProgram, 0x50, 0xb000},
};
static_assert(std::size(kProfiles) == 22);

// The row of a profile name (exact match), or null.
const Profile* FindProfile(const char* name);

}  // namespace halvo::d3dcompiler
