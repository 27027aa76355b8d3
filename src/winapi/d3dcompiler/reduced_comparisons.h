// Arguments of all() and any(), rewritten before glslang reads them:
// - glslang types `a == b` and `a != b` of two matrices as a bool without
//   components, so all() and any() of them fail to resolve ("ambiguous best
//   function"). An argument that is one comparison is turned into a select,
//   `all((a == b) ? true : false)`, which gives the result a proper type for
//   matrices, vectors and scalars alike and keeps its meaning. The syntax
//   tree check (hlsl_meanings.h) then accepts exactly these forms for
//   matrices.
// - glslang folds all() and any() of a constant by reading its components
//   as bools, so any(float3(0, 0, 1)) gives false. Any other argument is
//   guarded as `all((0, v))`, a comma expression that glslang never folds;
//   the argument is then converted to bools and SPIRV-Tools folds the rest.
#pragma once

#include <string>
#include <string_view>

namespace halvo::d3dcompiler {

// The preprocessed text with those arguments rewritten; lines stay where they were.
std::string WrapReducedComparisons(std::string_view text);

}  // namespace halvo::d3dcompiler
