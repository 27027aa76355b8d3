// Gives glslang's syntax tree of HLSL the meanings of the platform's
// compiler where glslang reads operators the GLSL way:
// - `*` between two matrices is a matrix product (HLSL: per component), and
//   `*` between a matrix and a vector a product too;
// - `==` and `!=` of two matrices give one bool over the whole matrices
//   (HLSL: a bool matrix, per component), right only inside all(a == b) and
//   any(a != b).
// The first is corrected; what cannot be given the platform's meaning is
// refused. (The SPIR-V is corrected by spirv_meanings.h.)
#pragma once

#include <string>

namespace glslang {
class TIntermediate;
}

namespace halvo::d3dcompiler {

// Rewrites matrix products written with `*` or `*=` (not mul()) as per-component
// products. Appends one error line to `errors` for each construct whose
// platform meaning glslang cannot express; false when there was one.
bool GiveHlslMeanings(glslang::TIntermediate& tree, std::string& errors);

}  // namespace halvo::d3dcompiler
