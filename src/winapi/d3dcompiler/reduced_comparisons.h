// glslang types `a == b` and `a != b` of two matrices as a bool without
// components, so all() and any() of them fail to resolve ("ambiguous best
// function"). In every all(...) and any(...) whose argument is one
// comparison, the argument is turned into a select, `all((a == b) ? true :
// false)`, which gives the result a proper type for matrices, vectors and
// scalars alike and keeps its meaning. The syntax tree check
// (hlsl_meanings.h) then accepts exactly these forms for matrices.
#pragma once

#include <string>
#include <string_view>

namespace halvo::d3dcompiler {

// The preprocessed text with those arguments rewritten; lines stay where they were.
std::string WrapReducedComparisons(std::string_view text);

}  // namespace halvo::d3dcompiler
