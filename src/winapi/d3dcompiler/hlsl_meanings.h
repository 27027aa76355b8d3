// Gives glslang's syntax tree of HLSL the meanings of the platform's
// compiler where glslang reads operators the GLSL way:
// - `*` between two matrices is a matrix product (HLSL: per component), and
//   `*` between a matrix and a vector a product too;
// - `==` and `!=` of two matrices give one bool over the whole matrices
//   (HLSL: a bool matrix, per component), right only inside all(a == b) and
//   any(a != b);
// - all() and any() of a matrix (HLSL: over every component) become SPIR-V
//   that Vulkan does not allow.
// The first is corrected; what cannot be given the platform's meaning is
// refused. (The SPIR-V is corrected by spirv_meanings.h.)
#pragma once

#include <cstddef>
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

// Which of the `count` folding guards of operators in the tree's source
// (folding_guards.h) stand on operations that glslang would fold otherwise
// than HLSL: products between matrices or of a matrix and a vector,
// remainders of floats, comparisons of vectors and equalities of matrices.
std::vector<bool> GuardsToKeep(glslang::TIntermediate& tree, size_t count);

}  // namespace halvo::d3dcompiler
