#pragma once

#include <cstdint>

#include "shadertool/basic/type.h"

namespace ShaderTool {

// Compact names of the fixed types that the built-in function and operator
// tables use, so that those tables can be constexpr data.
enum class TypeCode : uint8_t {
    None = 0,  // no type: ends a parameter list
    Bool,
    Int,
    Int2,
    Int3,
    Int4,
    Uint,
    Uint2,
    Uint3,
    Uint4,
    Float,
    Float2,
    Float3,
    Float4,
    Float2x2,
    Float3x3,
    Float4x4,
    Void,
    Texture2D,    // const
    Texture3D,    // const
    TextureCube,  // const
    Image2D,      // const
    Uint3Buffer,  // a buffer of uint3 elements
};

// The Type a code stands for; the undefined type for None.
Type MakeTypeFromCode(TypeCode code);

// Short names for the table rows: the short type text of each type
// (b_u3 is the uint3 buffer). Tables bring them in with a using-directive.
namespace TypeCodes {
constexpr TypeCode b = TypeCode::Bool;
constexpr TypeCode i = TypeCode::Int;
constexpr TypeCode i2 = TypeCode::Int2;
constexpr TypeCode i3 = TypeCode::Int3;
constexpr TypeCode i4 = TypeCode::Int4;
constexpr TypeCode u = TypeCode::Uint;
constexpr TypeCode u2 = TypeCode::Uint2;
constexpr TypeCode u3 = TypeCode::Uint3;
constexpr TypeCode u4 = TypeCode::Uint4;
constexpr TypeCode f = TypeCode::Float;
constexpr TypeCode f2 = TypeCode::Float2;
constexpr TypeCode f3 = TypeCode::Float3;
constexpr TypeCode f4 = TypeCode::Float4;
constexpr TypeCode fx2 = TypeCode::Float2x2;
constexpr TypeCode fx3 = TypeCode::Float3x3;
constexpr TypeCode fx4 = TypeCode::Float4x4;
constexpr TypeCode v = TypeCode::Void;
constexpr TypeCode t2 = TypeCode::Texture2D;
constexpr TypeCode t3 = TypeCode::Texture3D;
constexpr TypeCode tc = TypeCode::TextureCube;
constexpr TypeCode im2 = TypeCode::Image2D;
constexpr TypeCode b_u3 = TypeCode::Uint3Buffer;
}  // namespace TypeCodes

}  // namespace ShaderTool
