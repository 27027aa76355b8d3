// Corrects the SPIR-V that glslang writes for HLSL where it departs from the
// platform's meaning:
// - `%`, `%=` and fmod become the floored remainders OpSMod and OpFMod
//   (GLSL's mod); HLSL's are truncated, the remainder with the dividend's
//   sign: OpSRem and OpFRem;
// - all() and any() of a scalar become OpAll and OpAny of a scalar, which
//   SPIR-V does not allow; of a scalar, each is that scalar.
#pragma once

#include <cstdint>
#include <vector>

namespace halvo::d3dcompiler {

// False when the words are not a SPIR-V module; they are left as they were.
bool GiveSpirvHlslMeanings(std::vector<uint32_t>& words);

}  // namespace halvo::d3dcompiler
