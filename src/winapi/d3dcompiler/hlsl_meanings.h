// Gives glslang's reading of HLSL the meanings of the platform's compiler.
//
// glslang's HLSL front end reads a few operators the GLSL way:
// - `*` between two matrices is a matrix product (HLSL: per component), and
//   it keeps `*` between a matrix and a vector as a product too;
// - `%` is floored, like GLSL's mod (HLSL: truncated, the remainder has the
//   dividend's sign), for ints, floats and fmod alike;
// - `==` and `!=` of two matrices give one bool over the whole matrices
//   (HLSL: a bool matrix, per component).
// The first is corrected in the syntax tree, the second in the SPIR-V it
// becomes; what cannot be given the platform's meaning is refused.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace glslang {
class TIntermediate;
}

namespace halvo::d3dcompiler {

// Rewrites matrix products written with `*` or `*=` (not mul()) as per-component
// products. Appends one error line to `errors` for each construct whose
// platform meaning glslang cannot express; false when there was one.
bool GiveHlslMeanings(glslang::TIntermediate& tree, std::string& errors);

// Turns the floored remainders of SPIR-V (OpSMod, OpFMod), which glslang
// writes for HLSL's `%` and fmod, into the truncated ones (OpSRem, OpFRem).
void TruncateRemainders(std::vector<uint32_t>& words);

}  // namespace halvo::d3dcompiler
