// glslang's front end folds an operation on two constants while it parses,
// with GLSL's rules and before the syntax tree check (hlsl_meanings.h) sees
// it: `*` between two constant matrices becomes their matrix product, `%`
// and fmod() of two float constants a floored or wrong remainder, `<`, `>`,
// `<=` and `>=` of two constant vectors one bool (HLSL: per component),
// which then fails to construct what the source builds of it, and `==` and
// `!=` of two constant matrices one bool that escapes the check of matrix
// comparisons; functions of each component (abs, max, lerp...) of constant
// matrices read memory that is not theirs. A guard keeps such an operation from being folded: its right
// operand `b` is written `(marker, b)`, a comma expression that glslang
// never folds and that keeps b's value and type; the operation then reaches
// the tree and gets the platform's meaning there, and SPIRV-Tools folds it
// later by SPIR-V's rules.
//
// A guard where a constant is required (array sizes, case labels,
// attributes, integer constants used so) breaks the compile, and those
// mostly hold integers, which glslang folds rightly. So fmod(), which is
// never integer, is always guarded; the operators outside integer
// declarations are guarded in a first reading that finds their operand
// types (GuardsToKeep), and only products between matrices or of a matrix
// and a vector, remainders of floats, comparisons of vectors, equalities
// of matrices and functions of matrices are kept. When the first reading
// fails, it is tried again without the comparisons and functions (many, and
// template brackets look like comparisons),
// then also without the guards in float scalar constants (which an array
// size may convert).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace halvo::d3dcompiler {

enum class GuardKind {
    kCall,        // fmod(): always kept, no first reading needed
    kArithmetic,  // `*` and `%`
    kComparison,  // `<`, `>`, `<=`, `>=`, `==` and `!=`
    kFunction,    // abs(), max(), lerp() and the other functions of each component
};

struct FoldingGuard {
    size_t start = 0;  // of the guarded operand
    size_t end = 0;
    GuardKind kind = GuardKind::kCall;
    bool inScalarConstant = false;  // in the initialiser of a float scalar constant
};

// The guards of every fmod(), and of every `*`, `%`, comparison and
// function of each component outside brackets, template arguments and integer declarations. The guard
// at index i carries the marker GuardMarker(i).
std::vector<FoldingGuard> FindFoldingGuards(std::string_view text);

int GuardMarker(size_t index);

// The text with the guards whose `keep` entry is true written in; lines
// stay where they were.
std::string WriteFoldingGuards(std::string_view text, const std::vector<FoldingGuard>& guards,
                               const std::vector<bool>& keep);

}  // namespace halvo::d3dcompiler
